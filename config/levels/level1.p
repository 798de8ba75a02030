# The first (and only) level: the score that wins a game.
winning_points=100
