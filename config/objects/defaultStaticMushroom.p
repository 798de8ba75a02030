# The toadstools: the box of each one's static scenery object, and where the level scatters
# them (physics units). A narrow band of height on gentle ground gathers them in clusters on
# the flat patches of the upper moor, among the trees; like the trees they stay above every
# place the vehicles start from or cross a bridge at.
bodyShapeType=111
bodyShapeXLength=0.8
bodyShapeYLength=1.4
bodyShapeZLength=0.8
density=1.0
gfx_y_translate=2.0
world_y_offset=30.5
world_y_height_range=1.5
world_min_distance=2.0
obj_cnt=40
reject_slope=0.05
