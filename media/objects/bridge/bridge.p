# Bridge planks and end boxes. The plank model is the size of the bridges' plank bodies
# (config/objects/bridge*.p: half extents 0.85 x 0.15 x 2.8) and centred on the origin:
# 1.7 along the bridge (x), 0.3 thick (y), 5.6 across (z) in model units; its hand ropes
# reach 1.94 (the bridges' step size) towards the next plank. The end boxes show it turned
# a further -90 degrees about x: a board standing on edge, 5.6 high, like a gate post.
# Model units are physics units: scale 32 gives 32 graphics units per physics unit
# (8 x phys_minfact of config/gfx.p). Every file holds all ten instance keys, so any of them
# can be read by the generic instance reader; keys a particular object does not read are 0.
# Size in graphics units: 54 x 10 x 179 for the board.
scale_x=32
scale_y=32
scale_z=32
standard_rot_x=0
standard_rot_y=0
standard_rot_z=0
standard_transl_x=0
standard_transl_y=0
standard_transl_z=0
anim_speed=1
