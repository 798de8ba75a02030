# The height map of the level (raw or "hm" form, chosen by the file name's ending).
filename=.\media\map\map1.hm
