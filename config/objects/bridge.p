# Bridge over the sea inlet north of the duck lake.
# The gap lies open from x=160.0 to x=188.0 along z=70.0, with banks at height 23.5;
# the bridge starts at (158.50, 24.10, 70.0) and is 31.00 long (physics units).
bridge_elements=16
dyn_boxSize_X=0.85
dyn_boxSize_Y=0.15
dyn_boxSize_Z=2.80
sta_boxSize_X=3.20
sta_boxSize_Y=0.60
sta_boxSize_Z=1.00
bridge_pos_X=156.5625
bridge_pos_Y=24.10
bridge_pos_Z=70.00
step_size=1.9375
