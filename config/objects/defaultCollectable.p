# A crystal: a 1 x 1 x 1 body (the lengths are half extents), mass density x volume = 2,
# and a sensor box around it that scores whoever drives into it first.
bodyShapeType=111
bodyShapeXLength=0.5
bodyShapeYLength=0.5
bodyShapeZLength=0.5
linearDamping=0.3
angularDamping=0.5
density=2.0
sensorShapeType=111
sensorShapeXLength=1.6
sensorShapeYLength=2.0
sensorShapeZLength=1.6
sensorLocalPoseX=0.0
sensorLocalPoseY=0.5
sensorLocalPoseZ=0.0
# Seconds before a crystal nobody took vanishes.
lifeTime=45
