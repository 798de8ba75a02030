# The eskel ship: a gravity-free 6 x 3 x 10 body (the lengths are half extents) flying along
# its local -z axis ground_offset above the highest terrain under it, between random
# waypoints of its area. Its lift is 10 per unit of height error against a mass of 10 with
# damping 1.0: it follows the ground within a few seconds without overshooting much.
bodyShapeType=111
bodyShapeXLength=3.0
bodyShapeYLength=1.5
bodyShapeZLength=5.0
mass=10.0
linearDamping=1.0
angularDamping=2.0
ground_offset=22.0
force_forward=60.0
force_backward=0.0
force_torque=150.0
ANGLE_NO_TURN=8.0
ANGLE_TURN=40.0
ANGLE_TURN_HARD=90.0
ANGLE_TURN_BREAK=180.0
# Waypoints (physics units) keep it over the moor, away from the map's edges; one counts
# as reached within pSize, and a new one is drawn every 5 seconds in any case.
xSpaceMin=60.0
xSpaceMax=450.0
zSpaceMin=60.0
zSpaceMax=450.0
pSize=12.0
# Drops: numBoxes crystals every minDrop to maxDrop tenths of a second, thrown to
# alternating sides. Two a drop: with three, the five opponents shared so many crystals that a
# game to 300 was over in under two minutes (tests/bench/race_balance.sh), too soon for a
# player to find the way about; with two a game lasts some four minutes.
numBoxes=2
minDrop=60.0
maxDrop=110.0
shootForceX=160.0
shootForceY=60.0
shootForceZ=60.0
