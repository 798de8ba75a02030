# The player's teddy rider (teddy.jpg skin). The model's origin is the seat of the bear;
# it is moved onto the hull's seat: 1.92 back and 6.4 up from the body centre.
# Model units are physics units: scale 32 gives 32 graphics units per physics unit
# (8 x phys_minfact of config/gfx.p). Every file holds all ten instance keys, so any of them
# can be read by the generic instance reader; keys a particular object does not read are 0.
# Size in graphics units: about 29 high sitting, 17 wide, 17 deep.
scale_x=32
scale_y=32
scale_z=32
standard_rot_x=0
standard_rot_y=0
standard_rot_z=0
standard_transl_x=-1.92
standard_transl_y=6.4
standard_transl_z=0
anim_speed=3
