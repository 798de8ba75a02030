# An opponent's rider: the teddy model with the evil.jpg skin, turned like hover.p (nose
# along -z) and moved onto the hull's seat: 6.4 up and 1.92 behind the centre (+z).
# Model units are physics units: scale 32 gives 32 graphics units per physics unit
# (8 x phys_minfact of config/gfx.p). Every file holds all ten instance keys, so any of them
# can be read by the generic instance reader; keys a particular object does not read are 0.
scale_x=32
scale_y=32
scale_z=32
standard_rot_x=0
standard_rot_y=90
standard_rot_z=0
standard_transl_x=0
standard_transl_y=6.4
standard_transl_z=1.92
anim_speed=3
