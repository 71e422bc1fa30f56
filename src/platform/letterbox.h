#pragma once
// Where the 640x480 page lands in a window of any size: the largest whole multiple that fits,
// so every page pixel becomes a crisp square block, or a shrink keeping the 4:3 shape when
// even one multiple does not fit; centred, the rest left black.

struct LetterboxRect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  // Whole multiples of the page size scale with nearest-neighbour; shrinks need smoothing.
  bool integer_scale = false;
};

// out_w x out_h: the drawable size in real pixels (larger than the window's size on high-DPI
// screens). An empty or negative size gives an empty rectangle.
LetterboxRect letterbox_rect(int out_w, int out_h, int page_w = 640, int page_h = 480);
// The largest rectangle of the page's shape that fits, centred, whole multiple or not (the
// player's "fill"); integer_scale when it happens to be a whole multiple.
LetterboxRect fill_rect(int out_w, int out_h, int page_w = 640, int page_h = 480);

struct LetterboxPoint {
  int x = 0;
  int y = 0;
};

// The centre of page pixel (px, py) in the coordinates of a window of win_w x win_h whose
// drawable is out_w x out_h (the pointer is warped in window coordinates).
LetterboxPoint letterbox_page_to_window(int px, int py, int win_w, int win_h, int out_w, int out_h,
                                        int page_w = 640, int page_h = 480);
