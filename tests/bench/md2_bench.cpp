// Prints the model manager's cost: each model's loading time, and for 100 instances of each the time of one UpdateAll
// per instance and per vertex, with and without the buffer upload. Run it under a display from a Release build:
//   md2_bench [model.md2 ...]   (without arguments: the models of the game directory)
#include "BenchKit.h"
#include "GameDir.h"

#include "Gfx/MD2_Instance.h"
#include "Gfx/MD2_Manager.h"
#include "Gfx/MD2_Model.h"

#include <GL/glew.h>
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

double seconds_since(double start_ms) { return (now_ms() - start_ms) / 1000; }

std::vector<std::string> game_models()
{
    std::vector<std::string> found;
    const fs::path objects = game_file("media/objects");
    std::error_code ec;
    if (!fs::is_directory(objects, ec)) return found;
    for (const auto& e : fs::recursive_directory_iterator(objects, ec))
        if (e.is_regular_file() && e.path().extension() == ".md2") found.push_back(e.path().string());
    std::sort(found.begin(), found.end());
    return found;
}

} // namespace

int main(int argc, char** argv)
{
    if (SDL_Init(SDL_INIT_VIDEO) != 0 || !SDL_SetVideoMode(64, 64, 0, SDL_OPENGL) || glewInit() != GLEW_OK ||
        !GLEW_ARB_vertex_buffer_object) {
        std::fprintf(stderr, "md2_bench: no GL context (run it under a display, e.g. xvfb-run)\n");
        return 1;
    }
    std::vector<std::string> models(argv + 1, argv + argc);
    const char* source = "given";
    if (models.empty()) {
        models = game_models();
        source = "game directory";
    }
    if (models.empty()) {
        std::fprintf(stderr, "md2_bench: no models given and none in the game directory\n");
        return 1;
    }

    // The loader's cycle report is not part of the figures: the console is silenced until the end.
    std::vector<std::string> report;
    double load_total = 0;
    quietly([&] {
        char line[512];
        // Loading: every model once, as the level population does.
        const double all = now_ms();
        for (const std::string& m : models) {
            double t = now_ms();
            bool ok = Md2Manager::CreateInstance(m.c_str(), 5) != nullptr;
            std::snprintf(line, sizeof line, "  load %-40s %8.3f ms%s", fs::path(m).filename().c_str(),
                          1000 * seconds_since(t), ok ? "" : "  (does not load)");
            report.push_back(line);
        }
        load_total = seconds_since(all);
        Md2Manager::FreeAll();

        const int kInstances = 100, kFrames = 200;
        report.push_back("");
        std::snprintf(line, sizeof line, "  %-24s %6s %6s %6s | %12s %12s | %12s %12s", "model (100 instances)", "verts",
                      "render", "tris", "us/instance", "ns/vertex", "pose only", "ns/vertex");
        report.push_back(line);
        for (const std::string& m : models) {
            Md2Manager::FreeAll();
            Md2Instance* first = Md2Manager::CreateInstance(m.c_str(), 5);
            if (!first) continue;
            Md2Model* model = first->m_Model;
            for (int i = 1; i < kInstances; ++i) Md2Manager::CreateInstance(m.c_str(), 5);
            for (size_t i = 0; i < model->m_Instances.size(); ++i) {
                Md2Instance* in = model->m_Instances[i];
                in->m_AnimSpeed = 1.0f;
                in->m_Time = 0.013f * float(i); // spread the poses
                if (i % 4 == 0 && in->NumCycles() > 1) in->BlendToCycle(1, 0.5f, false);
            }

            Md2Manager::UpdateAll(1.0f / 60); // warm up
            double t = now_ms();
            for (int f = 0; f < kFrames; ++f) Md2Manager::UpdateAll(1.0f / 60);
            glFinish();
            double full = seconds_since(t) / (double(kFrames) * kInstances);

            t = now_ms();
            for (int f = 0; f < kFrames; ++f)
                for (Md2Instance* in : model->m_Instances) {
                    in->Advance(1.0f / 60);
                    in->Pose();
                }
            double pose = seconds_since(t) / (double(kFrames) * kInstances);

            const double verts = std::max<double>(1, model->m_NumVertices);
            std::snprintf(line, sizeof line, "  %-24s %6d %6d %6d | %12.2f %12.2f | %12.2f %12.2f",
                          fs::path(m).filename().c_str(), model->m_NumVertices, model->m_NumRenderVertices, model->m_NumTris,
                          1e6 * full, 1e9 * full / verts, 1e6 * pose, 1e9 * pose / verts);
            report.push_back(line);
        }
        Md2Manager::FreeAll();
        SDL_Quit();
    });
    std::printf("MD2 models: %s\n", source);
    std::printf("Loading all %zu models: %.3f ms\n", models.size(), 1000 * load_total);
    for (const std::string& l : report) std::printf("%s\n", l.c_str());
    std::printf("UpdateAll per instance includes the buffer upload; 'pose only' is the CPU part.\n");
    return 0;
}
