#include "Gfx/DebugRays.h"

#include <GL/glew.h>

void draw_debug_ray(const NxVec3& from, const NxVec3& to, float r, float g, float b)
{
    NxVec3 shaft = to - from;
    float length = shaft.magnitude();
    if (length <= 0) return;
    NxVec3 dir = shaft / length;
    // The head is a fifth of the ray, its four barbs spread sideways along two directions
    // across the ray.
    NxVec3 t1, t2;
    NxGetUtilLib()->NxNormalToTangents(dir, t1, t2);
    float head = 0.2f * length;
    NxVec3 base = to - dir * head;
    float spread = 0.15f * head;
    NxVec3 points[10] = {from, to,
                         to, base + t1 * spread, to, base - t1 * spread,
                         to, base + t2 * spread, to, base - t2 * spread};
    float xyz[30];
    for (int i = 0; i < 10; ++i) points[i].get(xyz + 3 * i);

    glDisable(GL_TEXTURE_2D);
    glLineWidth(1.0f);
    glColor4f(r, g, b, 1.0f);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, xyz);
    glDrawArrays(GL_LINES, 0, 10);
    glDisableClientState(GL_VERTEX_ARRAY);
    glColor4f(1, 1, 1, 1);
    glLineWidth(1.0f);
}
