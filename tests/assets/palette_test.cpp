// The fractal palette: channels bounce off 0 and 255 in steps of 2, set to the edge they cross.
#include <gtest/gtest.h>

#include "assets/palette.h"

namespace {

TEST(Palette, BouncesEachChannelAtItsOwnEdge) {
  build_palette(150, 215, 216);
  EXPECT_EQ(palette[0], 0xFFDAD594u);   // each channel has taken one step
  EXPECT_EQ(palette[19], 0xFFFFAF6Eu);  // red crossed 255: held at 255, turns down
  EXPECT_EQ(palette[20], 0xFFFDAD6Cu);
  EXPECT_EQ(palette[75], 0xFF8F3F00u);  // blue crossed 0: held at 0, turns up
  EXPECT_EQ(palette[76], 0xFF8D3D02u);
  EXPECT_EQ(palette[107], 0xFF4F0040u); // green crossed 0
  EXPECT_EQ(palette[108], 0xFF4D0242u);
  EXPECT_EQ(palette[255], 0xFFD8D797u);
}

TEST(Palette, IsRebuiltFromScratchEachTime) {
  build_palette(233, 240, 113);
  const Colour first = palette[200];
  build_palette(0, 0, 0);
  EXPECT_EQ(palette[0], 0xFF020000u);  // red up from 0; blue and green bounce at once to 0
  EXPECT_EQ(palette[1], 0xFF040202u);
  build_palette(233, 240, 113);
  EXPECT_EQ(palette[200], first);
}

}  // namespace
