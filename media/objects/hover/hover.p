# An opponent's hover hull. Opponents drive along their local -z axis, so the hull (nose
# along +x in the model) is turned 90 degrees about y: its nose then points along -z.
# Model units are physics units: scale 32 gives 32 graphics units per physics unit
# (8 x phys_minfact of config/gfx.p). Every file holds all ten instance keys, so any of them
# can be read by the generic instance reader; keys a particular object does not read are 0.
# Size in graphics units: 64 wide (x) x 38 high (y) x 96 long (z), centred on the body:
# it fills an opponent box of 2 x 1 x 3 physics units.
scale_x=32
scale_y=32
scale_z=32
standard_rot_x=0
standard_rot_y=90
standard_rot_z=0
standard_transl_x=0
standard_transl_y=0
standard_transl_z=0
anim_speed=4
