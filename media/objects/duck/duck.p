# The ducks. The model floats with its waterline at the origin, bill along +x; the second
# duck is turned a further 180 degrees by the game. Drawn at 40 graphics units per model
# unit, a little larger than life, so they read from afar.
# Model units are physics units: scale 32 gives 32 graphics units per physics unit
# (8 x phys_minfact of config/gfx.p). Every file holds all ten instance keys, so any of them
# can be read by the generic instance reader; keys a particular object does not read are 0.
# Size in graphics units: 46 long (x) x 43 high (y, 9 of it under water) x 36 wide (z).
scale_x=40
scale_y=40
scale_z=40
standard_rot_x=0
standard_rot_y=0
standard_rot_z=0
standard_transl_x=0
standard_transl_y=0
standard_transl_z=0
anim_speed=4
