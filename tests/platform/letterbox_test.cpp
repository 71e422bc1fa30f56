// The window shows the page at the largest whole scale that fits, centred; smaller windows
// shrink it keeping 4:3.
#include "platform/letterbox.h"

#include <gtest/gtest.h>

namespace {

TEST(Letterbox, PictureRectangleForWindowSizes) {
  const struct { int win_w, win_h, x, y, w, h; bool integer_scale; } cases[] = {
      {640, 480, 0, 0, 640, 480, true},
      {1920, 1080, 320, 60, 1280, 960, true},   // two whole multiples, bars on all sides
      {1300, 900, 330, 210, 640, 480, true},    // the tighter side decides
      {645, 487, 2, 3, 640, 480, true},         // the odd pixel goes after the picture
      {400, 480, 0, 90, 400, 300, false},       // too narrow: shrink to the width
      {1000, 300, 300, 0, 400, 300, false},     // too short: shrink to the height
      {700, 479, 31, 0, 638, 479, false},
      {0, 480, 0, 0, 0, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.win_w << "x" << c.win_h);
    const LetterboxRect r = letterbox_rect(c.win_w, c.win_h);
    EXPECT_EQ(r.x, c.x);
    EXPECT_EQ(r.y, c.y);
    EXPECT_EQ(r.w, c.w);
    EXPECT_EQ(r.h, c.h);
    EXPECT_EQ(r.integer_scale, c.integer_scale);
  }
}

// "Fill": at 1366x768 two whole steps do not fit; the picture takes the whole height instead
// of staying 640x480 in a black field.
TEST(Letterbox, FillTakesTheLargestSizeOfThePagesShape) {
  const struct { int win_w, win_h, x, y, w, h; bool integer_scale; } cases[] = {
      {1366, 768, 171, 0, 1024, 768, false},
      {1280, 1024, 0, 32, 1280, 960, true},  // a whole multiple when it happens to fit
      {390, 844, 0, 276, 390, 292, false},   // a phone held upright
      {400, 300, 0, 0, 400, 300, false},
      {-1, 300, 0, 0, 0, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.win_w << "x" << c.win_h);
    const LetterboxRect r = fill_rect(c.win_w, c.win_h);
    EXPECT_EQ(r.x, c.x);
    EXPECT_EQ(r.y, c.y);
    EXPECT_EQ(r.w, c.w);
    EXPECT_EQ(r.h, c.h);
    EXPECT_EQ(r.integer_scale, c.integer_scale);
  }
}

}  // namespace
