// The floor frame: the least a frame of the game's size can cost on this X server and GL
// driver. A window with the game's attributes; each frame clears colour and depth, draws six
// window-filling quads that each read a 512 x 512 linearly filtered texture once per pixel,
// and swaps. The frame benchmark runs it beside the game and divides by its median.
//
//   frame_floor [width height frames]     (defaults 1024 768 200)

#include <GL/glew.h>
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

const char* kVertex = "void main() { gl_TexCoord[0] = gl_MultiTexCoord0; gl_Position = gl_Vertex; }";
// One lookup, nothing else.
const char* kFragment = "uniform sampler2D image; void main() { gl_FragColor = texture2D(image, gl_TexCoord[0].st); }";

int fail(const char* why)
{
    std::fprintf(stderr, "frame_floor: %s\n", why);
    return 1;
}

GLuint compile(GLenum kind, const char* source)
{
    GLuint s = glCreateShader(kind);
    glShaderSource(s, 1, &source, nullptr);
    glCompileShader(s);
    GLint ok = 0;
    glGetShaderiv(s, GL_COMPILE_STATUS, &ok);
    if (!ok) std::exit(fail("a shader did not compile"));
    return s;
}

double now_ms()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

} // namespace

int main(int argc, char** argv)
{
    int width = argc > 2 ? std::atoi(argv[1]) : 1024, height = argc > 2 ? std::atoi(argv[2]) : 768;
    int frames = argc > 3 ? std::atoi(argv[3]) : 200;
    if (SDL_Init(SDL_INIT_VIDEO) < 0) return fail(SDL_GetError());
    // The game's window: 8 bits a channel with alpha, 8 of stencil, 24 of depth, double
    // buffered.
    for (auto [attribute, value] : {std::pair{SDL_GL_RED_SIZE, 8}, {SDL_GL_GREEN_SIZE, 8}, {SDL_GL_BLUE_SIZE, 8},
                                    {SDL_GL_ALPHA_SIZE, 8}, {SDL_GL_STENCIL_SIZE, 8}, {SDL_GL_DEPTH_SIZE, 24},
                                    {SDL_GL_BUFFER_SIZE, 32}, {SDL_GL_DOUBLEBUFFER, 1}})
        SDL_GL_SetAttribute(attribute, value);
    if (!SDL_SetVideoMode(width, height, 0, SDL_HWSURFACE | SDL_OPENGL)) {
        fail(SDL_GetError());
        SDL_Quit();
        return 1;
    }
    glewInit();

    std::vector<unsigned char> texels(512 * 512 * 4);
    for (size_t i = 0; i < texels.size(); ++i) texels[i] = static_cast<unsigned char>((i * 37) ^ (i >> 9));
    GLuint texture;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 512, 512, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());

    GLuint program = glCreateProgram();
    glAttachShader(program, compile(GL_VERTEX_SHADER, kVertex));
    glAttachShader(program, compile(GL_FRAGMENT_SHADER, kFragment));
    glLinkProgram(program);
    glUseProgram(program);
    glUniform1i(glGetUniformLocation(program, "image"), 0);
    glDisable(GL_DEPTH_TEST);
    glViewport(0, 0, width, height);

    std::vector<double> times;
    for (int f = 0; f < frames; ++f) {
        double t0 = now_ms();
        for (SDL_Event e; SDL_PollEvent(&e);) continue;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        for (int q = 0; q < 6; ++q) {
            glBegin(GL_QUADS);
            glTexCoord2f(0, 0), glVertex2f(-1, -1);
            glTexCoord2f(1, 0), glVertex2f(1, -1);
            glTexCoord2f(1, 1), glVertex2f(1, 1);
            glTexCoord2f(0, 1), glVertex2f(-1, 1);
            glEnd();
        }
        SDL_GL_SwapBuffers();
        if (f >= 20) times.push_back(now_ms() - t0); // past the driver's warm-up
    }
    std::sort(times.begin(), times.end());
    double median = times.empty() ? 0 : times[times.size() / 2];
    double p95 = times.empty() ? 0 : times[std::min(times.size() - 1, times.size() * 95 / 100)];
    std::printf("floor frame over %zu frames: median %.2f ms p95 %.2f ms\n", times.size(), median, p95);
    SDL_Quit();
    return 0;
}
