#include "Generators.h"
#include "World.h"

#include "Output.h"

bool generate_world(Output& out)
{
    bool ok = true;
    ok = generate_wave_slices(out) && ok;
    return ok;
}
