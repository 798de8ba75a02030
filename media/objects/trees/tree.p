# The fir trees. The model stands on its origin and is 5.6 model units tall (0.4 more root
# below). Each tree adds a whole number v = (rand mod 17) - 8 to every scale, so trees are
# 24 to 40 graphics units per model unit: 134 to 224 graphics units (4.2 to 7 physics
# units) tall. The game lifts each tree by half the group's gfx_y_translate (physics units);
# standard_transl_y lowers the model by the same amount, in graphics units
# (-0.5 x gfx_y_translate x 32; -32 for gfx_y_translate=2), so the trunk meets the ground.
# Model units are physics units: scale 32 gives 32 graphics units per physics unit
# (8 x phys_minfact of config/gfx.p). Every file holds all ten instance keys, so any of them
# can be read by the generic instance reader; keys a particular object does not read are 0.
scale_x=32
scale_y=32
scale_z=32
standard_rot_x=0
standard_rot_y=0
standard_rot_z=0
standard_transl_x=0
standard_transl_y=-32
standard_transl_z=0
anim_speed=4
scale_variance_mod=17
scale_variance_sub=8
scale_variance_renormalize_div=1
