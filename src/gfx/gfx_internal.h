#pragma once
// Pieces shared by the presentation layer's own files.
#include "base/rounding.h"
#include "gfx/gfx.h"
#include "gfx/gfx_blend.h"
#include "gfx/page_restore.h"

// The image an operation draws into: the given one, or the work page for null (null when the
// display is closed).
Image* gfx_resolve_target(Image* target);

// The same for an operation that writes into it: the image takes a new stamp.
Image* gfx_draw_target(Image* target);
// A stamp no image has had yet.
std::uint64_t gfx_new_stamp();
// One of the display's pages (written through gfx_page without taking new stamps).
bool gfx_is_page(const Image* image);
// A page was handed out for direct writes (gfx_page) since the last gfx_unlock.
bool gfx_pages_handed_out();

// Sizes the scratch buffers (flood fill) once, when the display opens, so that drawing never
// allocates while a round runs.
void gfx_internal_prepare(int width, int height);

// Blends or writes one pixel that is known to lie inside the target.
inline void plot_unchecked(Image& t, int x, int y, Colour c) {
  note_drawn_pixel(t, y, x);
  Colour& d = t.row(y)[x];
  d = blend_primitive(d, c);
}
