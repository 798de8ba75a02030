# The keys of Moorhold, and its gamepad. Format: key=value, nothing around the '='.
#
# Each action's keys by SDL's key names (in any case), " / " between two or more (at most
# four): letters and digits as they are ("w", "0"), "up", "down", "left", "right", "space",
# "return", "escape", "tab", "backspace", "pause", "f1" to "f15", "left shift",
# "right shift", "left ctrl", "right ctrl", "left alt", "right alt", "[0]" to "[9]" and
# "[+]", "[-]", "[*]", "[/]", "[.]" on the keypad, "-", "=", "[", "]" and the other marks as
# they are. "alt+", "ctrl+" or "shift+" before a name asks for that modifier held with the
# key ("alt+return"). A name SDL does not know, or a key given to two actions, stops the
# game at start-up with a message.
#
# driving (with the free camera, Tab, the same keys fly it)
forward=up / w
backward=down / s
left=left / a
right=right / d
jump=space
upright=m
new_game=0
# the free camera
fly_up=r / right ctrl
fly_down=f / [0]
faster=left shift
slower=right shift
camera=tab
# at any time, also while paused or while a banner shows
help=f1 / h
pause=pause / t
full_screen=f11 / alt+return
volume_down=- / [-]
volume_up== / [+]
mute=backspace / [*]
quit=escape
# display and debugging
show_fps=f2
wireframe=f3
mipmap_filter=f5
linear_filter=f6
culling=f8
solid_font=f9
cull_margin=c
parallax=b
freeze_waves=l
water=n
freeze_grids=k
radar=x
# the opponents of the next game: easy, normal, hard
difficulty=f7
debug_view=i
print_cameras=p
align_grid_camera=o
#
# The gamepad: the first one found at start-up. Axes, hat and buttons count from 0 as SDL
# counts them; -1 leaves one out.
# the stick: the axis that steers (negative: left) and the one that drives (negative: the
# stick pushed away, forward)
pad_steer_axis=0
pad_drive_axis=1
# the pad (SDL's hat), which drives as the stick does
pad_hat=0
# the share of the stick's way from the middle that still counts as the middle (0 to 0.95)
pad_dead_zone=0.25
# buttons: jump, turn the hover upright, pause or go on, start a new game
pad_jump=0
pad_upright=1
pad_pause=7
pad_new_game=6
