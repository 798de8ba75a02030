# Bridge over the strait to the east island.
# The gap lies open from x=430.0 to x=456.0 along z=200.0, with banks at height 23.0;
# the bridge starts at (428.50, 23.60, 200.0) and is 29.00 long (physics units).
bridge_elements=15
dyn_boxSize_X=0.85
dyn_boxSize_Y=0.15
dyn_boxSize_Z=2.80
sta_boxSize_X=3.20
sta_boxSize_Y=0.60
sta_boxSize_Z=1.00
bridge_pos_X=426.5667
bridge_pos_Y=23.60
bridge_pos_Z=200.00
step_size=1.9333
