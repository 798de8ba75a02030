#include "Objects/StaticObject.h"

#include "Common/ParameterFile.h"
#include "Objects/ObjectErrors.h"
#include "Objects/ObjectKeyRanges.h"

#include <cstdio>

namespace {

// A static body's density only weighs in if something makes it move.
const KeyRange kStaticKeys[] = {{"density", 0, 1e6, "not negative"}};

} // namespace

StaticObject::StaticObject(const char* path, NxScene* scene, const float position[3], Md2Instance* instance,
                           const NxVec3& row0, const NxVec3& row1, const NxVec3& row2)
{
    attach(instance);
    type = OBJECT_STATIC;

    ParameterFile p(path, {body_box_key_ranges, kStaticKeys});
    require_box_shape<StaticObjectError>(p, "bodyShapeType");
    NxVec3 size(p.getFloat("bodyShapeXLength"), p.getFloat("bodyShapeYLength"), p.getFloat("bodyShapeZLength"));
    float density = p.getFloat("density");
    box_size = size.x;

    NxBoxShapeDesc box;
    box.dimensions = size * 0.5f;
    NxActorDesc desc;
    desc.shapes.pushBack(&box);
    desc.density = density;
    desc.globalPose.M = NxMat33(row0, row1, row2);
    desc.globalPose.t.set(position);
    desc.userData = static_cast<MovingObject*>(this);
    if (scene) actor = scene->createActor(desc);
    std::fprintf(stderr, "\n%g %g %g\n", position[0], position[1], position[2]);
}
