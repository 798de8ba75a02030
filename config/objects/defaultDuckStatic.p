# A duck on the lake: a static box the size of the bird (physics units), which hovers
# bump into and opponents steer around.
bodyShapeType=111
bodyShapeXLength=1.5
bodyShapeYLength=1.0
bodyShapeZLength=1.0
density=1.0
