#pragma once
// Program start and the top-level loop between the menu and a game.

// Opens the display, draws on page 1 while page 0 shows, hides the pointer and creates every
// image the game uses (assets not yet generated).
void open_display_and_create_images(bool full_screen = false);
// Reads the settings, opens the display as they (or the command line) say, creates the images,
// sets the start-up values, generates the assets and gives the window its icon.
void start_up();
// The process entry: start_up, then menu and game for ever. Returns only through
// program_exit (ProgramExit), whose code it returns.
int main_flow(int argc, char** argv);
