#pragma once
// --dump-assets: start-up through asset generation, then every generated image as PNG.
#include <string>

// Writes background_1..4.png, ball_1..10.png and powerup_1..10.png into dir (created when
// missing). Returns "" on success, otherwise what went wrong. Needs a backend installed.
std::string dump_assets(const std::string& dir);

// Starts up, draws the game's icon size x size and writes it as PNG; empty or an error message.
std::string dump_icon(int size, const std::string& path);
