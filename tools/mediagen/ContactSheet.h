// The contact sheet (media/contact_sheet.png) is made by generate_contact_sheet
// (Generators.h). For a closer look at one model, its panel can also be drawn on its own.
#pragma once

#include <string>

class Output;

// Draws the contact-sheet panel named `label` ("player", "ship", ...) at `size` pixels seen
// from azimuth `az` and elevation `el` (degrees), key frame `frame`, into the PNG `rel` of
// the game directory. False when there is no such panel or a file is missing.
bool render_model_view(Output& out, const std::string& label, int size, float az, float el, int frame,
                       const std::string& rel);

// The game's icon: panel `label` (the player's hover with its rider) over a round backdrop
// of sky and moor, `size` pixels square with a transparent surround, into the PNG `rel`.
bool render_model_icon(Output& out, const std::string& label, int size, const std::string& rel);
