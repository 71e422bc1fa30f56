// Where the page lands in a window of any size.
#include "platform/letterbox.h"

#include <algorithm>
#include <cstdint>

namespace {

// The shape-keeping fit, centred.
LetterboxRect fit(int out_w, int out_h, int page_w, int page_h) {
  LetterboxRect r;
  if (static_cast<std::int64_t>(out_w) * page_h <= static_cast<std::int64_t>(out_h) * page_w) {
    // Width is the tighter side: full width, height from the page's shape.
    r.w = out_w;
    r.h = std::max(1, static_cast<int>(static_cast<std::int64_t>(out_w) * page_h / page_w));
  } else {
    r.h = out_h;
    r.w = std::max(1, static_cast<int>(static_cast<std::int64_t>(out_h) * page_w / page_h));
  }
  r.x = (out_w - r.w) / 2;
  r.y = (out_h - r.h) / 2;
  r.integer_scale = r.w % page_w == 0 && r.w / page_w == r.h / page_h && r.h % page_h == 0;
  return r;
}

}  // namespace

LetterboxRect letterbox_rect(int out_w, int out_h, int page_w, int page_h) {
  if (out_w <= 0 || out_h <= 0 || page_w <= 0 || page_h <= 0) return {};
  const int scale = std::min(out_w / page_w, out_h / page_h);
  if (scale < 1) return fit(out_w, out_h, page_w, page_h);
  LetterboxRect r;
  r.w = page_w * scale;
  r.h = page_h * scale;
  r.integer_scale = true;
  r.x = (out_w - r.w) / 2;
  r.y = (out_h - r.h) / 2;
  return r;
}

LetterboxRect fill_rect(int out_w, int out_h, int page_w, int page_h) {
  if (out_w <= 0 || out_h <= 0 || page_w <= 0 || page_h <= 0) return {};
  return fit(out_w, out_h, page_w, page_h);
}

LetterboxPoint letterbox_page_to_window(int px, int py, int win_w, int win_h, int out_w, int out_h,
                                        int page_w, int page_h) {
  LetterboxPoint p;
  const LetterboxRect r = letterbox_rect(out_w, out_h, page_w, page_h);
  if (r.w == 0 || win_w <= 0 || win_h <= 0) return p;
  // Pixel centres in drawable pixels, then drawable pixels to window units.
  const double ox = r.x + (px + 0.5) * r.w / page_w;
  const double oy = r.y + (py + 0.5) * r.h / page_h;
  p.x = static_cast<int>(ox * win_w / out_w);
  p.y = static_cast<int>(oy * win_h / out_h);
  return p;
}
