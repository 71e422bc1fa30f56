#include <algorithm>

#include "frontend/fades.h"
#include "round/frame_pacing.h"
#include "frontend_test_support.h"

using namespace frontend_test;

namespace {

class FadeTest : public FrontEndTest {
 protected:
  // A page with a known picture on the work page, as a screen leaves it before fading.
  void draw_picture() {
    begin_frame();
    Image* page = gfx_page(gfx_work_page_index());
    std::fill(page->pixels.begin(), page->pixels.end(), picture);
  }
  void record_presents() {
    backend.set_present_hook([this](const Image& page, std::int64_t) {
      shown.push_back(page.row(240)[320]);
      black.push_back(all_black(page));
    });
  }
  // The first present shows the page of the frame before the picture's.
  void drop_previous_frame() {
    ASSERT_FALSE(shown.empty());
    shown.erase(shown.begin());
    black.erase(black.begin());
  }
  // The picture as a fade step of alpha a draws it over black.
  Colour blended(int alpha) {
    Image* dst = gfx_image_create(1, 1);
    Image* src = gfx_image_create(1, 1);
    dst->pixels[0] = 0xFF000000;
    src->pixels[0] = picture;
    gfx_put(dst, 0, 0, src, kPutBlend, alpha);
    const Colour c = dst->pixels[0];
    gfx_image_destroy(dst);
    gfx_image_destroy(src);
    return c;
  }

  const Colour picture = 0xFFC08040;
  std::vector<Colour> shown;
  std::vector<bool> black;
};

TEST_F(FadeTest, FadeInShowsThreeBlackStepsThenThePictureFromAlphaThirty) {
  round_state.fade_alpha = 0;
  draw_picture();
  record_presents();
  fade_in();
  EXPECT_EQ(round_state.fade_alpha, 255);
  drop_previous_frame();
  ASSERT_EQ(shown.size(), 17u);  // 0, 15, ..., 240
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(black[i]) << "step " << i + 1;
  // From the fourth step on each shown page is the previous step's drawing: alpha 30, 45, ...
  for (std::size_t i = 3; i < shown.size(); ++i)
    EXPECT_EQ(shown[i], blended(static_cast<int>(15 * (i - 1)))) << "step " << i + 1;
  // Each step is one paced frame of 1/41 s.
  EXPECT_GE(backend.now_us(), 17 * 23000);
  EXPECT_LE(backend.now_us(), 17 * 26000);
}

TEST_F(FadeTest, FadeOutDimsThePictureToBlackInSeventeenSteps) {
  round_state.fade_alpha = 255;
  draw_picture();
  record_presents();
  fade_out();
  EXPECT_EQ(round_state.fade_alpha, 0);
  drop_previous_frame();
  ASSERT_EQ(shown.size(), 17u);
  // No black steps here: the first step already shows the picture; then it darkens.
  EXPECT_EQ(shown[1], picture);
  for (std::size_t i = 2; i < shown.size(); ++i)
    EXPECT_EQ(shown[i], blended(static_cast<int>(255 - 15 * (i - 1)))) << "step " << i + 1;
}

TEST_F(FadeTest, FadesAtTheirEndValueReturnAtOnceWithoutTouchingThePages) {
  draw_picture();
  record_presents();
  const Image before = *gfx_page(0);
  const int work_page = round_state.work_page;
  round_state.fade_alpha = 255;
  fade_in();
  round_state.fade_alpha = 0;
  fade_out();
  EXPECT_TRUE(shown.empty());
  EXPECT_EQ(backend.now_us(), 0);
  EXPECT_EQ(round_state.work_page, work_page);
  EXPECT_EQ(gfx_page(0)->pixels, before.pixels);
}

TEST_F(FadeTest, GlowPulseSwingsBetween148And254WithAPeriodOf107Frames) {
  round_state.glow_pulse = 250;
  round_state.glow_pulse_dir = 1;
  int low = 255, high = 0;
  std::vector<int> values;
  for (int i = 0; i < 1000; ++i) {
    step_glow_pulse();
    values.push_back(round_state.glow_pulse);
    if (i >= 10) {
      low = std::min(low, round_state.glow_pulse);
      high = std::max(high, round_state.glow_pulse);
    }
  }
  EXPECT_EQ(low, 148);
  EXPECT_EQ(high, 254);
  for (std::size_t i = 200; i < values.size(); ++i) ASSERT_EQ(values[i], values[i - 107]);
  bool shorter = true;
  for (std::size_t i = 200; i < values.size(); ++i) shorter = shorter && values[i] == values[i - 53];
  EXPECT_FALSE(shorter);
}

TEST_F(FadeTest, PulsingBackgroundBlendsBackgroundOneAtHalfThePulsePlus100) {
  Image* expected = gfx_image_create(640, 480);
  for (int pulse : {148, 201, 203, 254}) {
    round_state.glow_pulse = pulse;
    Image* page = gfx_page(gfx_work_page_index());
    std::fill(page->pixels.begin(), page->pixels.end(), 0xFFFFFFFF);
    draw_pulsing_background();
    std::fill(expected->pixels.begin(), expected->pixels.end(), 0xFF000000);
    // Ties round to even: 201 -> 200.5 -> 200, 203 -> 201.5 -> 202.
    const int alpha = pulse == 201 ? 200 : pulse == 203 ? 202 : pulse / 2 + 100;
    gfx_put(expected, 0, 0, background_images[1], kPutBlend, alpha);
    EXPECT_EQ(page->row(100)[100], expected->row(100)[100]) << pulse;
  }
  gfx_image_destroy(expected);
}

}  // namespace
