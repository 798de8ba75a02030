# The lazy-boy trees. The model stands on its origin, about 5 model units tall, its trunk
# leaning over towards +x. Each one's scale becomes (scale / 4 + v) x 4 with
# v = (rand mod 5) - 2: 24 to 40 graphics units per model unit, 120 to 200 graphics units
# tall. standard_transl_y lowers the model by half the group's gfx_y_translate
# (-0.5 x gfx_y_translate x 32; -32 for gfx_y_translate=2). anim_speed is the base of the
# sway speed (the game adds 0 to 9, subtracts 3.5 and keeps 3 to 5).
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
anim_speed=3.5
scale_variance_mod=5
scale_variance_sub=2
scale_variance_renormalize_div=4
