// Writes the starting corpus of the MD2 fuzzer: small models of both forms, with several
// cycles, strips and fans, into the directory given as the only argument.
#include "Md2Writer.h"

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: md2_fuzz_seeds DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    auto write = [&](const std::string& name, const Md2Writer& w) {
        std::ofstream(dir + "/" + name, std::ios::binary) << w.bytes();
    };
    write("tri1.md2", md2_octahedron("a", 1, false));
    write("tri3.md2", md2_octahedron("walk", 3, false));
    write("cmd2.md2", md2_octahedron("run", 2, true));

    Md2Writer mixed = md2_octahedron("stand", 2, true);
    mixed.add_frame("jump1", mixed.frames[0].vertices);
    mixed.add_frame("jump2", mixed.frames[1].vertices);
    mixed.glcmds.pop_back();
    mixed.add_gl_strip({{0, 0, 0}, {1, 0, 1}, {1, 1, 2}, {0, 1, 3}, {0.5f, 0.5f, 4}}, true);
    mixed.end_gl_commands();
    write("mixed.md2", mixed);
    return 0;
}
