# The lazy-boy trees: the box of each one's static scenery object, and where the level
# scatters them (physics units). Few and far apart on the lower moor, from just above the
# beaches to below the firs. At this height they could meet a start place or a bridge
# approach; the scenery placement test checks that the drawn places keep clear of them.
bodyShapeType=111
bodyShapeXLength=1.0
bodyShapeYLength=5.0
bodyShapeZLength=1.0
density=1.0
gfx_y_translate=2.0
world_y_offset=22.5
world_y_height_range=7.0
world_min_distance=40.0
obj_cnt=12
reject_slope=0.06
