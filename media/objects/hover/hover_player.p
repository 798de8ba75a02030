# The player's hover hull. The model's nose points along +x, the player's forward axis.
# Model units are physics units: scale 32 gives 32 graphics units per physics unit
# (8 x phys_minfact of config/gfx.p). Every file holds all ten instance keys, so any of them
# can be read by the generic instance reader; keys a particular object does not read are 0.
# Size in graphics units: 96 long (x) x 38 high (y, skirt to cowl, ducts reach 24 higher)
# x 64 wide (z), centred on the body: it fills the player's 3 x 1 x 2 physics box.
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
