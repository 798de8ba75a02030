#include "Generators.h"
#include "World.h"

#include "Font.h"
#include "Output.h"
#include "Sky.h"
#include "Terrain.h"
#include "Textures.h"
#include "Title.h"

bool generate_world(Output& out)
{
    bool ok = true;
    ok = terrain::generate_height_map(out) && ok;
    ok = generate_wave_slices(out) && ok;
    ok = generate_surface_textures(out) && ok;
    ok = generate_sky(out) && ok;
    ok = generate_font(out) && ok;
    ok = generate_title(out) && ok;
    return ok;
}

bool generate_world_text(Output& out)
{
    bool ok = true;
    for (const terrain::BridgeSite& site : terrain::bridge_sites())
        ok = out.write(site.file, terrain::bridge_file(site)) && ok;
    ok = generate_font_description(out) && ok;
    return ok;
}
