#include "Gfx/PositionImage.h"

#include "Gfx/FBO.h"
#include "Gfx/PassUtil.h"

#include <GL/glew.h>
#include <GL/glu.h>

void begin_position_image(FBO* image, PositionMark mark)
{
    image->bind_framebuffer();
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_ALWAYS, mark, 0xff);
    glStencilOp(GL_KEEP, GL_KEEP, GL_REPLACE);
}

void end_position_image()
{
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    glDisable(GL_STENCIL_TEST);
}

namespace {

void image_quad(int w, int h)
{
    glDisable(GL_DEPTH_TEST);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0, w, 0, h);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    draw_unit_quad(w, h);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_DEPTH_TEST);
}

} // namespace

void draw_over_image(int w, int h, PositionMark mark, bool wireframe)
{
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_EQUAL, mark, 0xff);
    image_quad(w, h);
    glPolygonMode(GL_FRONT_AND_BACK, wireframe ? GL_LINE : GL_FILL);
    glDisable(GL_STENCIL_TEST);
}

namespace {

// What is drawn until end_marking adds `bit` to the stencil (it is clear in every mark it is
// added to) where the stencil's `mask` bits equal `mark`'s, and nothing to the colour image.
void begin_marking(int mark, int mask, int bit)
{
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_EQUAL, mark, GLuint(mask));
    glStencilMask(GLuint(bit));
    glStencilOp(GL_KEEP, GL_KEEP, GL_INVERT);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
}

void end_marking()
{
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    glStencilMask(0xff);
    glDisable(GL_STENCIL_TEST);
}

} // namespace

void mark_over_image(int w, int h, PositionMark mark, int bit)
{
    begin_marking(mark, 0xff, bit);
    image_quad(w, h);
    end_marking();
}

void mark_ground_nearer_than(double distance, int bit)
{
    begin_marking(kMarkGround, kMarkGround, bit);
    glDepthMask(GL_FALSE);
    GLint depth_func = GL_LESS;
    glGetIntegerv(GL_DEPTH_FUNC, &depth_func);
    const GLboolean depth_test = glIsEnabled(GL_DEPTH_TEST);
    GLint polygon_mode[2] = {GL_FILL, GL_FILL}; // filled even in the wire-frame view
    glGetIntegerv(GL_POLYGON_MODE, polygon_mode);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_GREATER);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    // Wide enough for any field of view up to 168 degrees; the sides are clipped.
    const float z = -float(distance), side = float(distance) * 10.0f;
    glBegin(GL_QUADS);
    glVertex3f(-side, -side, z);
    glVertex3f(side, -side, z);
    glVertex3f(side, side, z);
    glVertex3f(-side, side, z);
    glEnd();
    glPopMatrix();
    glPolygonMode(GL_FRONT_AND_BACK, GLenum(polygon_mode[0]));
    glDepthFunc(GLenum(depth_func));
    if (!depth_test) glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    end_marking();
}
