# The player's hover (physics units, seconds, kilograms). The body is a 3 x 1 x 2 box, its
# nose along +x. Four rays from the box's corners hold it up: each lifts with
# jet_power / distance, so with all four on the ground the hover settles where
# 4 * jet_power / distance = mass * 9.81, here 1.5 above the ground: the box floats its own
# height clear of it. The lift is a soft spring (about 0.4 s a swing), stable at the
# 0.1 s steps of a slow machine; the linear damping calms it within a couple of swings and
# sets the top speed, force_forward / (mass * linearDamping) = 15 units per second.
rayEpsilon=0.1
raylen_long=5.0
raylen_short=4.0
jet_power=147.0
mass=40.0
linearDamping=1.5
angularDamping=4.0
boxDimensionsX=3.0
boxDimensionsY=1.0
boxDimensionsZ=2.0
boxSize=3.0
force_forward=900.0
force_backward=500.0
# Turning: the yaw torque builds the turn up against the angular damping (which also calms the
# roll and pitch), and with no turn key held yaw_brake fades the yaw rate at 20 per second, so
# the turn stops when the key is let go. A tap of 0.2 s of physics (a 0.1 s press at 20 frames
# a second or more) turns about 14 degrees and has stopped a tenth of a second later; Left held
# turns a full circle in 2.3 s (tests/bench/bench_feel.cpp prints the figures).
force_torque=520.0
yaw_brake=20.0
# Kicks are forces over one physics step (0.04 to 0.1 s): the jump lifts the hover by a
# few units at 0.1 s steps, the righting kick by less.
force_jump=4000.0
jump_delay_time=1.0
force_up=1500.0
# Sitting within shoot_eps of one place for shoot_delay seconds with the up axis below
# shoot_min_slope (about 72 degrees of tilt) turns the hover upright.
shoot_eps=0.5
shoot_delay=2.0
shoot_min_slope=0.3
kineticEnergyThreshold=10.0
