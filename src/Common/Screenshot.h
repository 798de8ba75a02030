// Writes the back buffer of the window to a PNG file (the screenshot test seam).
#pragma once

bool write_screenshot(const char* path, int width, int height);
