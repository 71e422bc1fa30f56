#pragma once
// --dump-frame: writes the visible page as first shown at or after each requested time.
#include <cstdint>
#include <string>
#include <vector>

#include "gfx/gfx.h"
#include "headless/args.h"

struct FrameDumps {
  std::vector<FrameDump> requests;
  std::vector<bool> written;   // one per request
  std::vector<std::string> errors;
};

void frame_dumps_start(FrameDumps& dumps, std::vector<FrameDump> requests);
// The present hook: writes every request that is due and not yet written.
void frame_dumps_on_present(FrameDumps& dumps, const Image& page, std::int64_t now_us);
// Errors of the writes, plus one for every request whose time never came.
std::vector<std::string> frame_dumps_problems(const FrameDumps& dumps, std::int64_t end_us);
