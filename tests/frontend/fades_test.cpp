#include <algorithm>

#include "frontend/fades.h"
#include "frontend_test_support.h"
#include "round/frame_pacing.h"

using namespace frontend_test;

namespace {

constexpr Colour kPicture = 0xFFC08040;

// The picture as a fade step of this alpha draws it over black.
Colour blended(int alpha) {
  Image* dst = gfx_image_create(1, 1);
  Image* src = gfx_image_create(1, 1);
  dst->pixels[0] = 0xFF000000;
  src->pixels[0] = kPicture;
  gfx_put(dst, 0, 0, src, kPutBlend, alpha);
  const Colour c = dst->pixels[0];
  gfx_image_destroy(dst);
  gfx_image_destroy(src);
  return c;
}

class FadeTest : public FrontEndTest {
 protected:
  // The picture on the work page, as a screen leaves it before fading; then what each
  // present shows, from the first present that can show it.
  void fade(int from_alpha, void (*fade_fn)()) {
    round_state.fade_alpha = from_alpha;
    begin_frame();
    Image* page = gfx_page(gfx_work_page_index());
    std::fill(page->pixels.begin(), page->pixels.end(), kPicture);
    backend.set_present_hook([this](const Image& p, std::int64_t) {
      shown.push_back(all_black(p) ? 0xFF000000 : p.row(240)[320]);
    });
    fade_fn();
    if (!shown.empty()) shown.erase(shown.begin());  // the page of the frame before the picture's
  }
  std::vector<Colour> shown;
};

TEST_F(FadeTest, FadeInShowsThreeBlackStepsThenThePictureFromAlphaThirty) {
  fade(0, fade_in);
  EXPECT_EQ(round_state.fade_alpha, 255);
  // Each shown page is the previous step's drawing: black three times, then alpha 30, 45, ..., 225.
  std::vector<Colour> expected(3, 0xFF000000);
  for (int alpha = 30; alpha <= 225; alpha += 15) expected.push_back(blended(alpha));
  EXPECT_EQ(shown, expected);
  // Each step is one paced frame of 1/41 s.
  EXPECT_GE(backend.now_us(), 17 * 23000);
  EXPECT_LE(backend.now_us(), 17 * 26000);
}

TEST_F(FadeTest, FadeOutDimsThePictureInSeventeenSteps) {
  fade(255, fade_out);
  EXPECT_EQ(round_state.fade_alpha, 0);
  ASSERT_EQ(shown.size(), 17u);
  for (std::size_t i = 1; i < shown.size(); ++i) EXPECT_EQ(shown[i], blended(270 - 15 * static_cast<int>(i))) << i;
}

TEST_F(FadeTest, FadesAtTheirEndValueReturnAtOnceWithoutTouchingThePages) {
  fade(255, fade_in);
  const std::vector<Colour> before = gfx_page(0)->pixels;
  const int work_page = round_state.work_page;
  round_state.fade_alpha = 0;
  fade_out();
  EXPECT_TRUE(shown.empty());
  EXPECT_EQ(backend.now_us(), 0);
  EXPECT_EQ(round_state.work_page, work_page);
  EXPECT_EQ(gfx_page(0)->pixels, before);
}

TEST_F(FadeTest, GlowPulseSwingsBetween148And254WithAPeriodOf107Frames) {
  round_state.glow_pulse = 250;
  round_state.glow_pulse_dir = 1;
  std::vector<int> values;
  for (int i = 0; i < 1000; ++i) {
    step_glow_pulse();
    values.push_back(round_state.glow_pulse);
  }
  EXPECT_EQ(*std::min_element(values.begin() + 10, values.end()), 148);
  EXPECT_EQ(*std::max_element(values.begin() + 10, values.end()), 254);
  for (std::size_t i = 200; i < values.size(); ++i) ASSERT_EQ(values[i], values[i - 107]) << i;
}

TEST_F(FadeTest, PulsingBackgroundBlendsBackgroundOneAtHalfThePulsePlus100TiesToEven) {
  Image* expected = gfx_image_create(640, 480);
  // 201 -> 200.5 -> 200, 203 -> 201.5 -> 202.
  for (const auto& [pulse, alpha] : {std::pair{148, 174}, {201, 200}, {203, 202}, {254, 227}}) {
    round_state.glow_pulse = pulse;
    Image* page = gfx_page(gfx_work_page_index());
    std::fill(page->pixels.begin(), page->pixels.end(), 0xFFFFFFFF);
    draw_pulsing_background();
    std::fill(expected->pixels.begin(), expected->pixels.end(), 0xFF000000);
    gfx_put(expected, 0, 0, background_images[1], kPutBlend, alpha);
    EXPECT_EQ(page->row(100)[100], expected->row(100)[100]) << pulse;
  }
  gfx_image_destroy(expected);
}

}  // namespace
