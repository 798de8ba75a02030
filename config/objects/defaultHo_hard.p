# An opponent's hover ("Dr. Evil"). A 2 x 1 x 3 box driving along its local -z axis, held
# up by the same four-ray lift as the player's hover (see player.p): equilibrium 1.5 above
# the ground. The three levels of the opponents (difficulty in config/levels/level1.p) share
# this body and differ in their top speed (force_forward / (mass * linearDamping); the
# player's is 15 units per second), their turn and how long they look round once their
# crystal is gone. tests/bench/race_balance.sh plays the human model of a player against them.
# Hard: the opponents as they always drove, top speed 700 / (40 * 1.5) = 11.7, a full
# circle in 2.5 s against the player's 2.3, and the next crystal picked at once. The human
# model won 1 game in 20 against them (2 in 20 when the ship dropped three crystals at a time
# and a game lasted under two minutes).
bodyShapeType=111
bodyShapeXLength=2.0
bodyShapeYLength=1.0
bodyShapeZLength=3.0
boxSize=3.0
rayEpsilon=0.1
raylen_long=5.0
raylen_short=4.0
jet_power=147.0
mass=40.0
linearDamping=1.5
angularDamping=4.0
force_forward=700.0
force_backward=600.0
force_torque=473.0
force_up=1500.0
# The sensor: a box just ahead of the nose at hull height. While another vehicle, a duck
# or a tree is inside it the opponent turns away on the spot.
sensorShapeType=111
sensorShapeXLength=1.2
sensorShapeYLength=0.4
sensorShapeZLength=1.2
sensorLocalPoseX=0.0
sensorLocalPoseY=0.2
sensorLocalPoseZ=-3.0
# Target choice: with both weights positive an opponent always goes for the nearest
# crystal; with both 0 it only follows the ship.
attack=1.0
boxCollect=1.0
# Steering classes by the angle to the aim (degrees): straight, turning while driving,
# turning on the spot, and turning (braking when faster than min_fwd_speed_for_break)
# for anything further round.
ANGLE_NO_TURN=6.0
ANGLE_TURN=35.0
ANGLE_TURN_HARD=80.0
ANGLE_TURN_BREAK=180.0
min_fwd_speed_for_break=6.0
shoot_eps=0.5
shoot_delay=2.0
shoot_min_slope=0.3
# Turning by the player's rules (see player.p): the yaw brake stops a turn once no turn is
# asked for.
yaw_brake=20.0
# Once its crystal is gone (collected or expired) an opponent follows the ship this many
# seconds before it picks the next one.
target_choice_delay=0.0
