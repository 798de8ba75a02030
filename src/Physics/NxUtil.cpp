// The utility library: smooth vertex normals and tangents of a direction.

#include "Physics/NxPhysics.h"

#include <vector>

bool NxUtilLib::NxBuildSmoothNormals(NxU32 nbTris, NxU32 nbVerts, const NxVec3* verts, const NxU32* dFaces,
                                     const NxU16* wFaces, NxVec3* normals, bool flip)
{
    if (!verts || !normals || nbVerts == 0 || (!dFaces && !wFaces) || (dFaces && wFaces)) return false;
    auto index = [&](NxU32 t, int c) -> NxU32 { return dFaces ? dFaces[t * 3 + c] : wFaces[t * 3 + c]; };
    for (NxU32 t = 0; t < nbTris; ++t)
        for (int c = 0; c < 3; ++c)
            if (index(t, c) >= nbVerts) return false;

    for (NxU32 i = 0; i < nbVerts; ++i) normals[i].zero();
    for (NxU32 t = 0; t < nbTris; ++t) {
        NxU32 i0 = index(t, 0), i1 = index(t, 1), i2 = index(t, 2);
        // Unflipped normals face the side from which the triangle runs clockwise. The cross
        // product's length is twice the triangle's area: larger faces weigh more.
        NxVec3 n = (verts[i2] - verts[i0]).cross(verts[i1] - verts[i0]);
        normals[i0] += n;
        normals[i1] += n;
        normals[i2] += n;
    }
    for (NxU32 i = 0; i < nbVerts; ++i) {
        normals[i].normalize();
        if (flip) normals[i] = -normals[i];
    }
    return true;
}

void NxUtilLib::NxNormalToTangents(const NxVec3& n, NxVec3& t1, NxVec3& t2)
{
    // Cross with the coordinate axis least aligned with n, which is never parallel to it.
    NxVec3 a = std::fabs(n.x) < 0.57735f ? NxVec3(1, 0, 0) : (std::fabs(n.y) < 0.57735f ? NxVec3(0, 1, 0) : NxVec3(0, 0, 1));
    t1 = n.cross(a);
    t1.normalize();
    t2 = n.cross(t1);
    t2.normalize();
}

NxUtilLib* NxGetUtilLib()
{
    static NxUtilLib util;
    return &util;
}
