#include "Common/Globals.h"

SDLGL* sdlgl = nullptr;

Camera* eyecam = nullptr;
Camera* auxcam = nullptr;
Camera* lightcam = nullptr;
Camera* belowcam = nullptr;

bool view_frustum_culling = true;
bool wireframe = false;
bool freeze_waves = false;
float cull_margin = -1000.0f;
bool buffer_pass = true;
bool skip_subpass = false;
bool extra_pass = false;

int pgmlandgrid_dim_x = 0, pgmlandgrid_dim_y = 0;
int watergrid_dim_x = 0, watergrid_dim_y = 0;
int waterdynamicripplesmap_dim = 0;
float prec_mul = 0, ripple_scale_dynamic = 0, ripple_freq_dynamic = 0, waveScale = 0;
float wave_scale_neg_half = 0;

float dof_params[4] = {};
float pgmland_scale[3] = {};
float pgmland_offset = 0;
const float waterlevel_frac = 0.25f;
float light_dir[3] = {-0.2f, 0.85f, -0.15f};
float view_matrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
