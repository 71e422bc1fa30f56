#pragma once
// Puts the program into the state in which every game begins.
void reset_game();
