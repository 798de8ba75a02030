// The menu object: holds the texture of '.\media\font_test.png' for the whole run.
#pragma once

class Texture;

class Menu {
public:
    Menu();
    ~Menu();
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;

    Texture* texture = nullptr; // owned; set once by the main program
};

// The single menu, alive from before main() until after it returns.
extern Menu menu;
