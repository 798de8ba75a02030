#include "Gfx/PassUtil.h"

#include "Common/Camera.h"
#include "Gfx/FBO.h"
#include "Gfx/TextureMatrices.h"

void bind_on(Texture* t, GLenum texture_unit)
{
    if (t) t->bind_to_unit(texture_unit);
}

void unbind_from(Texture* t)
{
    if (!t) return;
    glActiveTexture(t->unit);
    t->unbind();
}

void draw_unit_quad(int w, int h)
{
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2i(0, 0);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2i(w, 0);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2i(w, h);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2i(0, h);
    glEnd();
}

void draw_grid_strip(FBO* grid, bool full_resolution)
{
    glEnableClientState(GL_VERTEX_ARRAY);
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, grid->vertex_buffer);
    glBindBufferARB(GL_ELEMENT_ARRAY_BUFFER_ARB,
                    full_resolution ? grid->index_buffer : grid->index_buffer_lowres);
    glVertexPointer(4, GL_FLOAT, 0, nullptr);
    glDrawElements(GL_QUAD_STRIP, full_resolution ? grid->index_count : grid->index_count_lowres,
                   GL_UNSIGNED_INT, nullptr);
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
    glBindBufferARB(GL_ELEMENT_ARRAY_BUFFER_ARB, 0);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void load_matrix(const double m[16]) { glLoadMatrixd(m); }

void mult_matrix(const double m[16]) { glMultMatrixd(m); }

void camera_view_floats(const Camera& cam, float out[16])
{
    double m[16];
    camera_view_matrix(cam, m);
    mat4_to_float(m, out);
}

void read_grid_into_vertex_buffer(FBO* grid)
{
    if (!grid || !grid->vertex_buffer) return;
    glBindBufferARB(GL_PIXEL_PACK_BUFFER_ARB, grid->vertex_buffer);
    glReadPixels(0, 0, grid->_texW, grid->_texH, GL_RGBA, GL_FLOAT, nullptr);
    glBindBufferARB(GL_PIXEL_PACK_BUFFER_ARB, 0);
}
