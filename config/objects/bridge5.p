# Bridge over the fjord of the south coast.
# The gap lies open from x=243.0 to x=269.0 along z=395.0, with banks at height 23.0;
# the bridge starts at (241.50, 23.60, 395.0) and is 29.00 long (physics units).
bridge_elements=15
dyn_boxSize_X=0.85
dyn_boxSize_Y=0.15
dyn_boxSize_Z=2.80
sta_boxSize_X=3.20
sta_boxSize_Y=0.60
sta_boxSize_Z=1.00
bridge_pos_X=239.5667
bridge_pos_Y=23.60
bridge_pos_Z=395.00
step_size=1.9333
