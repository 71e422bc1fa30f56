#pragma once
// The main menu; returns when a new game is to start.
void run_main_menu();
