#include "frame/letterbox.h"

#include <gtest/gtest.h>

namespace {

void expect_rect(const LetterboxRect& r, int x, int y, int w, int h, bool integer_scale) {
  EXPECT_EQ(r.x, x);
  EXPECT_EQ(r.y, y);
  EXPECT_EQ(r.w, w);
  EXPECT_EQ(r.h, h);
  EXPECT_EQ(r.integer_scale, integer_scale);
}

TEST(Letterbox, LargestWholeMultipleThatFitsIsCentred) {
  expect_rect(letterbox_rect(640, 480), 0, 0, 640, 480, true);
  // Full HD holds two multiples (1280x960), not 2.25 in height: bars on all four sides.
  expect_rect(letterbox_rect(1920, 1080), 320, 60, 1280, 960, true);
  // The tighter side decides: 2 across but only 1 down.
  expect_rect(letterbox_rect(1300, 900), 330, 210, 640, 480, true);
  expect_rect(letterbox_rect(2560, 1440), 320, 0, 1920, 1440, true);
  // A high-DPI drawable twice the window size.
  expect_rect(letterbox_rect(1280, 960), 0, 0, 1280, 960, true);
}

TEST(Letterbox, OddLeftoverSplitsWithTheExtraPixelAfterThePicture) {
  expect_rect(letterbox_rect(641, 481), 0, 0, 640, 480, true);
  expect_rect(letterbox_rect(645, 487), 2, 3, 640, 480, true);
}

TEST(Letterbox, WindowSmallerThanThePageShrinksKeepingTheShape) {
  expect_rect(letterbox_rect(320, 240), 0, 0, 320, 240, false);
  // Too narrow: full width, height from 4:3, centred vertically.
  expect_rect(letterbox_rect(400, 480), 0, 90, 400, 300, false);
  // Too short: full height, width from 4:3, centred horizontally.
  expect_rect(letterbox_rect(1000, 300), 300, 0, 400, 300, false);
  // Wide enough for one multiple across but not down still shrinks.
  expect_rect(letterbox_rect(700, 479), 31, 0, 638, 479, false);
  // Odd sizes are centred and never lose the shape by more than rounding.
  const LetterboxRect r = letterbox_rect(333, 777);
  expect_rect(r, 0, 264, 333, 249, false);
}

TEST(Letterbox, DegenerateSizesGiveAnEmptyOrTinyPicture) {
  expect_rect(letterbox_rect(0, 480), 0, 0, 0, 0, false);
  expect_rect(letterbox_rect(640, -1), 0, 0, 0, 0, false);
  // A one-pixel-high window still shows something.
  const LetterboxRect r = letterbox_rect(1, 1);
  EXPECT_EQ(r.w, 1);
  EXPECT_EQ(r.h, 1);
}

TEST(Letterbox, PagePointsMapToTheCentreOfTheirBlockInWindowUnits) {
  // 1920x1080 window, scale 2 at (320, 60): pixel (0, 0) covers 320..321 x 60..61.
  LetterboxPoint p = letterbox_page_to_window(0, 0, 1920, 1080, 1920, 1080);
  EXPECT_EQ(p.x, 321);
  EXPECT_EQ(p.y, 61);
  p = letterbox_page_to_window(639, 479, 1920, 1080, 1920, 1080);
  EXPECT_EQ(p.x, 1599);
  EXPECT_EQ(p.y, 1019);
  // High DPI: the drawable is 1920x1080 but the window is 960x540 units.
  p = letterbox_page_to_window(50, 50, 960, 540, 1920, 1080);
  EXPECT_EQ(p.x, (320 + 101) / 2);
  EXPECT_EQ(p.y, (60 + 101) / 2);
  // Unscaled window: a page pixel is a window pixel.
  p = letterbox_page_to_window(50, 50, 640, 480, 640, 480);
  EXPECT_EQ(p.x, 50);
  EXPECT_EQ(p.y, 50);
}

}  // namespace
