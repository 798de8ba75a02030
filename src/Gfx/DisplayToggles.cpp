#include "Gfx/DisplayToggles.h"

#include "Common/Globals.h"
#include "Common/Input.h"
#include "Common/SDLGL.h"

#include <cstdio>

void cycle_parallax_mode(SDLGL& gl)
{
    gl.parallax_mode = static_cast<unsigned char>((gl.parallax_mode + 1) % 3);
    apply_parallax_mode(gl);
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
    else if (key == "X") {
        radar_shown = !radar_shown;
        std::printf("radar %s\n", radar_shown ? "on" : "off");
    }
    else return false;
    return true;
}

DisplayOptions display_options(const SDLGL& gl)
{
    DisplayOptions o;
    o.wireframe = wireframe;
    o.freeze_waves = freeze_waves;
    o.buffer_pass = buffer_pass;
    o.skip_subpass = skip_subpass;
    o.extra_pass = extra_pass;
    o.parallax_mode = gl.parallax_mode;
    return o;
}
