#include "Common/DescribeFrame.h"

#include "Common/Globals.h"
#include "Common/SDLGL.h"
#include "Gfx/DisplayToggles.h"

FrameDescription describe_frame(const SDLGL& gl, bool scene)
{
    FrameDescription f;
    f.eye = eyecam;
    f.grid = auxcam;
    f.light = lightcam;
    f.view_matrix = view_matrix;
    f.time_now = gl.time_now;
    f.options = display_options(gl);
    f.scene = scene;
    return f;
}
