// A static scenery object (type 11000): one model instance on a static box actor. Its
// parameter file holds bodyShapeType (must be 111, the box), bodyShapeXLength,
// bodyShapeYLength and bodyShapeZLength (the box's full size; half of each is the shape's
// half extent; the x length is also the object's box size) and density.
#pragma once

#include "Objects/MovingObject.h"

class StaticObject : public MovingObject {
public:
    // Attaches `instance`, reads the parameter file at `path` and creates the actor in
    // `scene` at `position`, rotated by the matrix with the three rows. Throws
    // StaticObjectError for a shape type other than the box.
    StaticObject(const char* path, NxScene* scene, const float position[3], Md2Instance* instance,
                 const NxVec3& row0, const NxVec3& row1, const NxVec3& row2);
};
