#include "ContactSheet.h"
#include "Generators.h"
#include "Output.h"

#include <string>

bool generate_icons(Output& out)
{
    const int failures_before = out.failures;
    // The sizes a desktop's icon theme asks for most; the window takes the 64.
    for (int size : {48, 64, 128, 256}) {
        const std::string rel = "media/icons/moorhold_" + std::to_string(size) + ".png";
        if (!render_model_icon(out, "player", size, rel)) out.fail("icons: cannot draw " + rel);
    }
    return out.failures == failures_before;
}
