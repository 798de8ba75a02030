#include "Gfx/DebugRays.h"

#include "Common/mathlibVectors.h"

#include <GL/glew.h>

#include <cmath>

void debug_ray_lines(const DebugRay& ray, float out[30])
{
    const Vec3f from(ray.from[0], ray.from[1], ray.from[2]), to(ray.to[0], ray.to[1], ray.to[2]);
    const Vec3f shaft = to - from;
    const float length = shaft.length();
    Vec3f points[10] = {from, to, to, to, to, to, to, to, to, to};
    if (length > 0) {
        const Vec3f dir = shaft * (1.0f / length);
        // Two directions across the ray: from the world axis it is least aligned with.
        const Vec3f axis = std::fabs(dir.x) < 0.57f ? Vec3f(1, 0, 0) : Vec3f(0, 1, 0);
        const Vec3f t1 = dir.cross(axis).normalized();
        const Vec3f t2 = dir.cross(t1);
        // The head is a fifth of the ray, its barbs spread sideways by 15 % of the head.
        const float head = 0.2f * length, spread = 0.15f * head;
        const Vec3f base = to - dir * head;
        points[3] = base + t1 * spread;
        points[5] = base - t1 * spread;
        points[7] = base + t2 * spread;
        points[9] = base - t2 * spread;
    }
    for (int i = 0; i < 10; ++i) {
        out[3 * i] = points[i].x;
        out[3 * i + 1] = points[i].y;
        out[3 * i + 2] = points[i].z;
    }
}

void draw_debug_rays(const std::vector<DebugRay>& rays)
{
    if (rays.empty()) return;
    glUseProgram(0);
    glActiveTexture(GL_TEXTURE0);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glLineWidth(1.0f);
    glEnableClientState(GL_VERTEX_ARRAY);
    for (const DebugRay& ray : rays) {
        float xyz[30];
        debug_ray_lines(ray, xyz);
        // Alpha 0: the scene image's alpha is the blur distance, and a ray is shown sharp.
        glColor4f(ray.colour[0], ray.colour[1], ray.colour[2], 0.0f);
        glVertexPointer(3, GL_FLOAT, 0, xyz);
        glDrawArrays(GL_LINES, 0, 10);
    }
    glDisableClientState(GL_VERTEX_ARRAY);
    glColor4f(1, 1, 1, 1);
}
