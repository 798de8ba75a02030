# The film camera an opponent carries, on its mast at the front left of the deck (hull
# coordinates 1.0 forward, 0.55 to the left, on the deck), turned like hover.p.
# The camera is drawn at three quarters of the model size: 24 graphics units per model unit.
# Model units are physics units: scale 32 gives 32 graphics units per physics unit
# (8 x phys_minfact of config/gfx.p). Every file holds all ten instance keys, so any of them
# can be read by the generic instance reader; keys a particular object does not read are 0.
# Size in graphics units: about 16 high, 11 long, 4 wide.
scale_x=24
scale_y=24
scale_z=24
standard_rot_x=0
standard_rot_y=90
standard_rot_z=0
standard_transl_x=-17.6
standard_transl_y=1.6
standard_transl_z=-32
anim_speed=4
