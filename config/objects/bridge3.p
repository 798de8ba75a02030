# Bridge over the gorge of the north-east plateau.
# The gap lies open from x=352.0 to x=378.0 along z=72.0, with banks at height 48.0;
# the bridge starts at (350.50, 48.60, 72.0) and is 29.00 long (physics units).
bridge_elements=15
dyn_boxSize_X=0.85
dyn_boxSize_Y=0.15
dyn_boxSize_Z=2.80
sta_boxSize_X=3.20
sta_boxSize_Y=0.60
sta_boxSize_Z=1.00
bridge_pos_X=348.5667
bridge_pos_Y=48.60
bridge_pos_Z=72.00
step_size=1.9333
