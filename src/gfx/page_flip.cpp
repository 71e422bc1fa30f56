// The page the game draws on next.
#include "gfx/page_flip.h"

std::int32_t work_page = 0;
