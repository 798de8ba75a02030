#include "Common/TitleScreen.h"

#include "Common/SDLGL.h"
#include "Common/Screenshot.h"
#include "Gfx/Texture.h"

#include <GL/glew.h>

#include <cstdio>

void draw_title_screen(SDLGL& gl, Texture* title, float near_plane, float far_plane, float fov,
                       const char* screenshot_path)
{
    std::printf("do title refresh in separate thread\n");
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    gl.set_projection(gl.width, gl.height, 1, near_plane, far_plane, fov);
    glLoadIdentity();
    glDisable(GL_TEXTURE_RECTANGLE_ARB);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, title ? title->id : 0);
    glDisable(GL_LIGHTING);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glDisable(GL_CULL_FACE);
    const float w = static_cast<float>(gl.width), h = static_cast<float>(gl.height);
    glBegin(GL_QUADS);
    // Image rows run top-down: texture row 0 belongs at the top of the window.
    glTexCoord2f(0, 0); glVertex2f(0, h);
    glTexCoord2f(1, 0); glVertex2f(w, h);
    glTexCoord2f(1, 1); glVertex2f(w, 0);
    glTexCoord2f(0, 1); glVertex2f(0, 0);
    glEnd();
    glEnable(GL_CULL_FACE);
    if (screenshot_path) write_screenshot(screenshot_path, gl.width, gl.height);
    gl.swap_buffers();
    SDL_Delay(50);
    std::printf("quitting title refresh thread\n");
}
