#include "Gfx/DisplayToggles.h"

#include "Common/SDLGL.h"
#include "Gfx/ShaderProgram.h"

#include <cstdio>

DisplayOptions display;

void set_parallax_pair(const SDLGL& gl, ShaderProgram* program)
{
    if (display.parallax_mode == 1)
        program->set_uniform_2f("parallax_scale_params", gl.settings.parallax_scale_xz1, gl.settings.parallax_scale_y1);
    else if (display.parallax_mode == 2)
        program->set_uniform_2f("parallax_scale_params", gl.settings.parallax_scale_xz2, gl.settings.parallax_scale_y2);
}

void apply_parallax_mode(SDLGL& gl)
{
    if (display.parallax_mode == 0) return;
    for (ShaderProgram* program : relief_colour_programs(gl)) {
        if (!program) continue;
        program->bind();
        set_parallax_pair(gl, program);
        program->unbind();
    }
}

void cycle_parallax_mode(SDLGL& gl)
{
    display.parallax_mode = (display.parallax_mode + 1) % 3;
    apply_parallax_mode(gl);
}

bool toggle_display_option(SDLGL& gl, const std::string& key)
{
    DisplayOptions& d = display;
    if (key == "N") d.buffer_pass = !d.buffer_pass;
    else if (key == "K") d.skip_subpass = !d.skip_subpass;
    else if (key == "L") d.freeze_waves = !d.freeze_waves;
    else if (key == "I") d.extra_pass = !d.extra_pass;
    else if (key == "F3") d.wireframe = !d.wireframe;
    else if (key == "F8") {
        d.culling = !d.culling;
        gl.culling_changed_at = gl.time_now;
    } else if (key == "C") d.cull_margin = -d.cull_margin;
    else if (key == "B") cycle_parallax_mode(gl);
    else if (key == "X") {
        d.radar = !d.radar;
        std::printf("radar %s\n", d.radar ? "on" : "off");
    }
    else return false;
    return true;
}
