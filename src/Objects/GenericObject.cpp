#include "Objects/GenericObject.h"

#include <cstdio>

float GenericObject::physx2gfx_scale[3] = {1, 1, 1};
float GenericObject::physx2gfx_translate[3] = {0, 0, 0};

void GenericObject::set_physx2gfx_transform(const float scale[3], const float translate[3])
{
    std::printf("BEFORE: GenericObject::physx2gfx_scale=%f\nGenericObject::physx2gfx_translate=%f\n",
                physx2gfx_scale[0], physx2gfx_translate[1]);
    for (int k = 0; k < 3; ++k) {
        physx2gfx_scale[k] = scale[k];
        physx2gfx_translate[k] = translate[k];
    }
    std::printf("\n\t IN STATIC FUNC set_physx2gfx_transform(),\n GenericObject::physx2gfx_scale=%f"
                "\nGenericObject::physx2gfx_translate=%f \n\n",
                physx2gfx_scale[0], physx2gfx_translate[1]);
}

void physx_to_gfx_point(const float physx[3], float gfx[3])
{
    for (int k = 0; k < 3; ++k)
        gfx[k] = physx[k] * GenericObject::physx2gfx_scale[k] + GenericObject::physx2gfx_translate[k];
}

void physx_to_gfx_matrix(const float physx[16], float gfx[16])
{
    for (int i = 0; i < 12; ++i) gfx[i] = physx[i];
    physx_to_gfx_point(physx + 12, gfx + 12);
    gfx[15] = physx[15];
}
