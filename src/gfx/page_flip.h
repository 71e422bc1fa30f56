#pragma once
// Which of the two pages the game draws on: every screen, and start-up, draws on work_page
// while the other page is shown, then flips it.
#include <cstdint>

extern std::int32_t work_page;  // 0 or 1
