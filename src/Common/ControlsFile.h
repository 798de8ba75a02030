// The player's own controls: '.\config\controls.p' names the key of every action of the key
// table and the gamepad's mapping. Read once at start-up, after the window opens (SDL knows
// its key names then); a bad entry ends the program with the file, the key and the value named.
#pragma once

// Puts the file's keys and pad mapping in force and opens the first gamepad.
void read_controls(const char* path);
