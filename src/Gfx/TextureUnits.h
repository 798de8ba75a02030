// The texture units of the scene, named once for both sides of the C++/GLSL line: a pass binds
// a texture on tex_unit(k) and the program's sampler is set to k. A unit serves one role in
// each program; where two programs use one unit for different textures, both names are here.
#pragma once

#include <GL/glew.h>

constexpr int kUnitDecal = 0;       // "sandMap", "decalMap", "imgMap", "cubeMap", "floatMap"
constexpr int kUnitPosition = 1;      // "positionMap" of the terrain colour programs
constexpr int kUnitShadow = 2;      // "shadowMap"
constexpr int kUnitNoise = 3;       // "noiseMap"
constexpr int kUnitRock = 4;        // "cMap"
constexpr int kUnitHeight = 5;      // "pgmlandMap", and "hMap" of the world-space mesh programs
constexpr int kUnitWave = 6;        // "wave3D"
constexpr int kUnitGrass = 7;       // "hMap" of the terrain programs
constexpr int kUnitRings = 7;       // "dynamicRingsMap" of the water programs
constexpr int kUnitReliefNormals = 8; // "noiseNormalMap" of the relief terrain program
constexpr int kUnitReflection = 8;  // "reflectMap" of the water surface
constexpr int kUnitRefraction = 9;  // "refractMap" of the water surface

// The GL name of unit k.
constexpr GLenum tex_unit(int k) { return GLenum(GL_TEXTURE0 + k); }
