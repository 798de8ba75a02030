# The fir trees: the box of each tree's static scenery object, and where the level scatters
# them (physics units). The trunk's box is 0.8 thick and reaches from 2 below the ground to 4
# above it (the tree is lifted by half of gfx_y_translate; tree.p lowers the model again).
# The trees keep to the moor's upper grass, above 30.4 and below the rock of the tor and
# the plateau: no start place of a new game, no meadow where the vehicles wait and no bridge
# approach lies that high, so none of them can stand in a vehicle's way.
bodyShapeType=111
bodyShapeXLength=0.8
bodyShapeYLength=6.0
bodyShapeZLength=0.8
density=1.0
gfx_y_translate=2.0
world_y_offset=30.4
world_y_height_range=9.1
world_min_distance=6.5
obj_cnt=150
reject_slope=0.05
