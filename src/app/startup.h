#pragma once
// Program start and the top-level loop between the menu and a game.

// Opens the display, draws on page 1 while page 0 shows, hides the pointer and creates every
// image the game uses (assets not yet generated).
void open_display_and_create_images();
// Opens the display, creates the images, sets the start-up values and generates the assets.
void start_up();
// The process entry: start_up, then menu and game for ever. Returns only through
// program_exit (ProgramExit), whose code it returns.
int main_flow(int argc, char** argv);
