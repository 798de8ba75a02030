# The first (and only) level: the score that wins a game. A crystal is worth 10 times one
# more than the number of opponents chasing it (up to 60), and the ship drops two every
# six to eleven seconds: a game to 300 takes a few minutes.
winning_points=300
# How hard the opponents drive: easy, normal or hard, each from its own file
# (config/objects/defaultHo_easy.p, defaultHo.p, defaultHo_hard.p). F7 changes it for the
# next game. Without this line the opponents drive at normal.
difficulty=normal
