#include "Gfx/ShaderSource.h"

#include <gtest/gtest.h>

#include <map>

TEST(ShaderSourceTest, IncludeLinesStandForTheNamedFileOfTheProgramsFolder)
{
    const std::map<std::string, std::string> files = {
        {"shader/common.c", "float f() { return 1.0; }\n"},
        {"shader/two.c", "float g();"},
        {"shader/nested.c", "#include \"common.c\"\n"},
    };
    std::vector<std::string> reads;
    const ShaderFileReader read = [&](const std::string& path) {
        reads.push_back(path);
        auto it = files.find(path);
        return it == files.end() ? std::string("<missing " + path + ">") : it->second;
    };
    struct Case {
        const char* what;
        std::string source, expanded;
        std::vector<std::string> reads;
    } cases[] = {
        {"a source without includes stays as it is", "#version 120\nvoid main() {}\n", "#version 120\nvoid main() {}\n", {}},
        {"the included text takes the include line's place", "#version 120\n#include \"common.c\"\nvoid main() {}",
         "#version 120\nfloat f() { return 1.0; }\nvoid main() {}", {"shader/common.c"}},
        {"blanks around the keyword and the name are allowed, a line end is kept", "  #include  \"two.c\"  \r\nx",
         "float g();\nx", {"shader/two.c"}},
        {"an include on the last line", "a\n#include \"two.c\"", "a\nfloat g();", {"shader/two.c"}},
        {"includes in an included file are left to the compiler", "#include \"nested.c\"\n", "#include \"common.c\"\n",
         {"shader/nested.c"}},
        {"lines that only look like includes stay", "// #include \"common.c\"\n#include common.c\n#include \"\"\n#include \"two.c\" x\n",
         "// #include \"common.c\"\n#include common.c\n#include \"\"\n#include \"two.c\" x\n", {}},
    };
    for (const Case& c : cases) {
        reads.clear();
        EXPECT_EQ(expand_shader_includes(c.source, shader_folder("shader/program_fs.c"), read), c.expanded) << c.what;
        EXPECT_EQ(reads, c.reads) << c.what;
    }
}

TEST(ShaderSourceTest, TheFolderIsThePathUpToItsLastSeparator)
{
    EXPECT_EQ(shader_folder(".\\shader\\pgmland_color_vs.c"), ".\\shader\\");
    EXPECT_EQ(shader_folder("a/b/c.c"), "a/b/");
    EXPECT_EQ(shader_folder("c.c"), "");
}
