# The crystals. The gem is centred on the origin, 0.5 across and 0.41 high in model units.
# Model units are physics units: scale 32 gives 32 graphics units per physics unit
# (8 x phys_minfact of config/gfx.p). Every file holds all ten instance keys, so any of them
# can be read by the generic instance reader; keys a particular object does not read are 0.
# Size in graphics units: 16 x 13 x 16 at rest (it swells and hops in the lively cycles).
scale_x=32
scale_y=32
scale_z=32
standard_rot_x=0
standard_rot_y=0
standard_rot_z=0
standard_transl_x=0
standard_transl_y=0
standard_transl_z=0
anim_speed=4
