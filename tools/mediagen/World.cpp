#include "Generators.h"
#include "World.h"

#include "Output.h"
#include "Terrain.h"

bool generate_world(Output& out)
{
    bool ok = true;
    ok = terrain::generate_height_map(out) && ok;
    ok = generate_wave_slices(out) && ok;
    return ok;
}

bool generate_world_text(Output& out)
{
    bool ok = true;
    for (const terrain::BridgeSite& site : terrain::bridge_sites())
        ok = out.write(site.file, terrain::bridge_file(site)) && ok;
    return ok;
}
