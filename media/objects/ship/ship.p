# The eskel ship. It flies along its local -z axis, so the model (bow along +x) is turned
# 90 degrees about y. The model's keel lies 0.55 below its origin and its masthead 2.35
# above: lowering it by 29 centres it on the body.
# Model units are physics units: scale 32 gives 32 graphics units per physics unit
# (8 x phys_minfact of config/gfx.p). Every file holds all ten instance keys, so any of them
# can be read by the generic instance reader; keys a particular object does not read are 0.
# Size in graphics units: 132 across the wings (x) x 93 high (y, hull 35 of it, the rest
# mast and sail) x 208 long (z).
scale_x=32
scale_y=32
scale_z=32
standard_rot_x=0
standard_rot_y=90
standard_rot_z=0
standard_transl_x=0
standard_transl_y=-29
standard_transl_z=0
anim_speed=4
