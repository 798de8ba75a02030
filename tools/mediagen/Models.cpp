#include "Models.h"

#include <cstdio>

#include "Generators.h"
#include "ImageWrite.h"
#include "Md2Writer.h"
#include "Output.h"

ModelSet build_all_models()
{
    ModelSet set;
    build_hover(set);
    build_teddy(set);
    build_duck(set);
    build_ship(set);
    build_crystal(set);
    build_bridge(set);
    build_scenery(set);
    return set;
}

bool generate_models(Output& out)
{
    const int failures_before = out.failures;
    ModelSet set = build_all_models();
    std::printf("mediagen: %-44s %6s %6s %6s %6s %7s %s\n", "model", "verts", "tris", "render", "frames", "cycles",
                "form");
    for (const Model& m : set.models) {
        Md2Stats st;
        if (!write_md2(out, m, &st))
            continue;
        std::printf("mediagen: %-44s %6d %6d %6d %6d %7d %s\n", m.path.c_str(), st.vertices, st.triangles,
                    st.render_vertices, st.frames, st.cycles,
                    st.gl_words ? "strips/fans" : "triangles");
        if (st.degenerate > 0)
            std::fprintf(stderr, "mediagen: warning: %s has %d triangles of zero area after compression\n",
                         m.path.c_str(), st.degenerate);
    }
    for (const SkinFile& s : set.skins)
        write_jpg(out, s.path, s.image, 90);
    return out.failures == failures_before;
}
