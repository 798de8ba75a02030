# Bridge over the river south of the duck lake.
# The gap lies open from x=108.0 to x=134.0 along z=390.0, with banks at height 27.0;
# the bridge starts at (106.50, 27.60, 390.0) and is 29.00 long (physics units).
bridge_elements=15
dyn_boxSize_X=0.85
dyn_boxSize_Y=0.15
dyn_boxSize_Z=2.80
sta_boxSize_X=3.20
sta_boxSize_Y=0.60
sta_boxSize_Z=1.00
bridge_pos_X=104.5667
bridge_pos_Y=27.60
bridge_pos_Z=390.00
step_size=1.9333
