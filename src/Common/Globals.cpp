#include "Common/Globals.h"

#include "Common/ParameterFile.h"

#include <cstdio>

SDLGL* sdlgl = nullptr;

Camera* eyecam = nullptr;
Camera* auxcam = nullptr;
Camera* lightcam = nullptr;
Camera* belowcam = nullptr;

int pgmlandgrid_dim_x = 0, pgmlandgrid_dim_y = 0;
int watergrid_dim_x = 0, watergrid_dim_y = 0;
int waterdynamicripplesmap_dim = 0;
float prec_mul = 0, ripple_scale_dynamic = 0, ripple_freq_dynamic = 0, waveScale = 0;
float wave_scale_neg_half = 0;

float dof_params[4] = {};
const float waterlevel_frac = 0.25f;
float light_dir[3] = {-0.2f, 0.85f, -0.15f};

void read_grid_and_wave_settings(const ParameterFile& p)
{
    pgmlandgrid_dim_x = p.getInt("pgmlandgrid_dim_x");
    pgmlandgrid_dim_y = p.getInt("pgmlandgrid_dim_y");
    watergrid_dim_x = p.getInt("watergrid_dim_x");
    watergrid_dim_y = p.getInt("watergrid_dim_y");
    waterdynamicripplesmap_dim = p.getInt("waterdynamicripplesmap_dim");
    prec_mul = p.getFloat("prec_mul");
    std::printf("\n\t --- prec mul = %f\n", prec_mul);
    ripple_scale_dynamic = p.getFloat("ripple_scale_dynamic");
    ripple_freq_dynamic = p.getFloat("ripple_freq_dynamic");
    waveScale = p.getFloat("waveScale");
    wave_scale_neg_half = -0.5f * waveScale;
}
