// The menu's logo.
#include "screens/logo.h"

#include "gfx/gfx.h"

namespace {

struct Edge {
  float x1, y1, x2, y2;
};

struct Polygon {
  Colour colour;
  int edge_count;
  Edge edges[4];
  float seed_x, seed_y;
};

// In drawing order; later polygons share edges with earlier ones, and the fill stops at the
// polygon's own outline because border and fill are the same colour.
constexpr Polygon kLogo[] = {
    {0xFFE7E7E7, 3, {{190, 0, 82, 224}, {82, 224, 201, 224}, {201, 224, 260, 0}, {}}, 188, 56},
    {0xFFE10000,
     4,
     {{82, 224, 33, 325}, {33, 325, 174, 325}, {82, 224, 201, 224}, {174, 325, 201, 224}},
     140,
     274},
    {0xFFB90000,
     4,
     {{33, 326, 174, 326}, {33, 326, 33, 365}, {33, 365, 174, 365}, {174, 365, 174, 326}},
     124,
     346},
    {0xFF910000,
     4,
     {{201, 224, 201, 260}, {174, 365, 201, 260}, {174, 365, 174, 324}, {201, 224, 174, 324}},
     186,
     295},
    {0xFFA0A0A0,
     4,
     {{202, 258, 268, 0}, {261, 0, 268, 0}, {261, 0, 202, 224}, {202, 258, 202, 224}},
     214,
     188},
};

}  // namespace

void draw_logo() {
  for (const Polygon& p : kLogo) {
    for (int i = 0; i < p.edge_count; ++i)
      gfx_line(nullptr, p.edges[i].x1, p.edges[i].y1, p.edges[i].x2, p.edges[i].y2, p.colour);
    gfx_paint(nullptr, p.seed_x, p.seed_y, p.colour, p.colour);
  }
}
