# Graphics settings of Moorhold. Format: key=value, nothing around the '='.
#
# terrain parallax (the B key cycles between the two pairs)
parallax_scale_xz1=0.04
parallax_scale_y1=0.02
parallax_scale_xz2=0.08
parallax_scale_y2=0.04
# models farther than this (plus 8 x the camera height) are not drawn
md2_max_vis_dist=6000
# window (its start size: the player may resize it, F11 or Alt+Enter makes it full screen)
screen_width=1024
screen_height=768
screen_bpp=32
fullscreen=0
# frame pace: swap control paces the frames by the screen where the driver grants it
# (1 asks for it); without it the frames are held to at most max_fps a second (0: no cap)
vsync=1
max_fps=60
# free-flight camera (Tab): base speed, left Shift multiplies, right Shift divides
cam_speed=2.0
cam_move_fast_multiplier=4.0
cam_move_slow_divider=4.0
# upper bound of one frame's simulated time, when the check is on
_physx_min_timestep=0.05
_check_physx_min_timestep=1
# terrain scales: graphics units per height-map sample horizontally, and the height range
# (water lies at a quarter of it: physics height 128 x y_pgmland_scale = 20)
phys_minfact=4.0
y_pgmland_scale=0.15625
# clear colours: above-water image, below-water image, main image (RGBA)
cc_above[0]=0.56
cc_above[1]=0.70
cc_above[2]=0.86
cc_above[3]=1.0
cc_below[0]=0.10
cc_below[1]=0.24
cc_below[2]=0.28
cc_below[3]=1.0
cc[0]=0.62
cc[1]=0.74
cc[2]=0.88
cc[3]=1.0
# how much light reaches ground in shadow
light_still_in_shadowed_region=0.45
# projected grids and water
pgmlandgrid_dim_x=256
pgmlandgrid_dim_y=256
watergrid_dim_x=128
watergrid_dim_y=128
# The ring image (square): every ring of every vehicle is drawn into it each frame, so
# its size is most of what a race over the water costs.
waterdynamicripplesmap_dim=256
prec_mul=1.0
ripple_scale_dynamic=0.5
ripple_freq_dynamic=0.05
waveScale=2.0
# render-target sizes
# The 3-D image as a fraction of the window (0.25 to 1); the composite stretches it over the
# window, where the depth-of-field blur hides the coarser pixels. 0.4 lets a machine without
# a graphics card (software GL on two cores) keep to about 25 frames a second; 1 is the
# sharpest image, for a real graphics card.
render_scale=0.4
# The reflection and refraction images (square), looked up through the waves' bends: at 192
# they show the same water as at 256 under the 3-D image's 0.4, for a little over half the pixels.
reflectionrefractionmap_dim=192
# The shadow map: its depth image is cleared and drawn every frame. 1024 casts the same
# shadows at the benchmark's poses as 2048 (well under 0.2% of pixels differ) for a
# quarter of the pixels to clear and draw.
shadowmap_dim=1024
