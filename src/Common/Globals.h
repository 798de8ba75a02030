// Long-lived objects and shared settings of the running game. The main program creates
// the objects at start-up in a fixed order; the subsystems reach them through these names.
#pragma once

class SDLGL;
class Camera;

extern SDLGL* sdlgl;

extern Camera* eyecam;   // the player's view: 60 degrees, near 1.5, far 350000
extern Camera* auxcam;   // the view the terrain and water grids are projected from
extern Camera* lightcam; // the shadow pass's view along the light direction
extern Camera* belowcam; // eyecam lowered under the water surface

// Grid and wave settings read from the graphics parameter file by the main program.
extern int pgmlandgrid_dim_x, pgmlandgrid_dim_y;
extern int watergrid_dim_x, watergrid_dim_y;
extern int waterdynamicripplesmap_dim;
extern float prec_mul, ripple_scale_dynamic, ripple_freq_dynamic, waveScale;
extern float wave_scale_neg_half; // -0.5 * waveScale

class ParameterFile;
// Reads the grid and wave settings above from the graphics parameter file, in the order
// the start-up reads them (with its progress line after prec_mul).
void read_grid_and_wave_settings(const ParameterFile& p);

// Values fixed once at start-up and shared by the shaders.
extern float dof_params[4];      // depth-of-field parameters derived from eyecam's planes
extern const float waterlevel_frac; // the water surface at a quarter of the height range
extern float light_dir[3];       // normalised at start-up
