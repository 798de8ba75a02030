# Sound settings of Moorhold. Format: key=value, nothing around the '='. Every key must be
# present, even those whose values change nothing.
#
# stereo width of the effects (kept for the settings' sake; effects play centred)
stereo_spread=0.5
# 3-D settings of the sound library
dopplerscale=1.0
distancefactor=1.0
rolloffscale=1.0
# 3-D distance range given to every effect
minDistance=100.0
maxDistance=100000.0
# effect loudness = fakeMaxDistance x effectVolume / squared distance to the camera (at most
# 1): an effect at the player, about 650 units ahead of the follow camera, plays near full
# volume; one at 2000 units at about a tenth of it
fakeMaxDistance=500000.0
# mixer channels for effects that overlap
numberOfChannels=32
# read but not used: the two background tracks are fixed
backgroundFile=./media/sound/tijuana.ogg
# volumes from 0 to 1
backgroundVolume=0.5
effectVolume=0.8
