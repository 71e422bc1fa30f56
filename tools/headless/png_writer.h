#pragma once
// Writes an image as an 8-bit RGBA PNG: R, G, B from the pixel, A from the colour's top byte.
#include <string>

#include "gfx/gfx.h"

// Returns "" on success, otherwise what went wrong.
std::string write_png(const std::string& path, const Image& image);
