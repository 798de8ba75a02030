# The landscape's collision (physics units: one physics-map sample is 1.0 wide).
# Depth below the terrain surface that still counts as inside a tile.
vertical_extent=-20.0
# The default material of every shape: sand and rock under a hover vehicle.
static_friction=0.5
dynamic_friction=0.4
