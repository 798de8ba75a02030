// What the terrain programs of the reflection and the refraction image share: the ground's
// textures, the swell that cuts them at the water line, the sun and the models' shadows.
// Included by pgmland_waterabove_fs.c and pgmland_waterbelow_fs.c after their #version and
// shared_shadow.c.

uniform sampler2D sandMap;
uniform sampler2D noiseMap;
uniform sampler2D cMap;      // rock
uniform sampler2D hMap;      // grass
uniform sampler3D wave3D;
uniform vec2 sandMapWH;
uniform vec2 cMapWH;
uniform vec2 hMapWH;
uniform vec2 texLookupScaleWave3D;
uniform vec3 lightDir;
uniform vec4 lightColor;
uniform vec4 camPos;
uniform float waveScale;
uniform float waveOff;
uniform float slice_nr;

varying vec3 worldPos;
varying vec3 normal;
