#include "Gfx/DisplayToggles.h"

#include "Common/Globals.h"
#include "Common/SDLGL.h"
#include "Gfx/ShaderProgram.h"

void cycle_parallax_mode(SDLGL& gl)
{
    gl.parallax_mode = static_cast<unsigned char>((gl.parallax_mode + 1) % 3);
    ShaderProgram* p = gl.pgmland_parallax_colorShader;
    if (!p || gl.parallax_mode == 0) return;
    p->bind();
    if (gl.parallax_mode == 1)
        p->set_uniform_2f("parallax_scale_params", gl.parallax_scale_xz1, gl.parallax_scale_y1);
    else
        p->set_uniform_2f("parallax_scale_params", gl.parallax_scale_xz2, gl.parallax_scale_y2);
    p->unbind();
}

bool toggle_display_option(SDLGL& gl, const std::string& key)
{
    if (key == "N") buffer_pass = !buffer_pass;
    else if (key == "K") skip_subpass = !skip_subpass;
    else if (key == "L") freeze_waves = !freeze_waves;
    else if (key == "I") extra_pass = !extra_pass;
    else if (key == "F3") wireframe = !wireframe;
    else if (key == "F8") {
        view_frustum_culling = !view_frustum_culling;
        gl.culling_changed_at = gl.time_now;
    } else if (key == "C") cull_margin = -cull_margin;
    else if (key == "B") cycle_parallax_mode(gl);
    else return false;
    return true;
}
