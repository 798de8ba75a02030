#include "Common/Menu.h"

#include "Gfx/Texture.h"

#include <SDL.h>

#include <cstdio>

Menu menu;

Menu::Menu() { std::printf("Menu constructor\n"); }

Menu::~Menu()
{
    std::printf("Menu destructor\n");
    if (!texture) return;
    // The menu outlives the window: once SDL has shut video down, the GL context and every
    // name in it are gone, and a GL call would have no context to act on.
    if (SDL_WasInit(SDL_INIT_VIDEO)) texture->delete_texture();
    delete texture;
    texture = nullptr;
}
