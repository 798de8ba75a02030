// The entry points of the generator, one per area of game data. Each writes its files into
// the game directory through `out` and returns false when anything failed (the failure is
// also recorded in `out`). main() calls them in turn.
#pragma once

class Output;

// Height map, terrain and sky textures, wave slices, title image and font image.
bool generate_world(Output& out);

// The text data derived from the generator's tables, written into the source tree:
// the five bridge parameter files and the font description.
bool generate_world_text(Output& out);
// MD2 models of every object and their skins (teddy, evil, hover, ship, ...).
bool generate_models(Output& out);
// The two music tracks and the three sound effects.
bool generate_sounds(Output& out);
// media/icons/moorhold_<size>.png at 48, 64, 128 and 256 pixels: the player's hover and its
// rider, for the desktop's menu and the game's window; read back from the models.
bool generate_icons(Output& out);
// media/contact_sheet.png: every texture, the height map and every model, read back from the
// game directory; runs last.
bool generate_contact_sheet(Output& out);
