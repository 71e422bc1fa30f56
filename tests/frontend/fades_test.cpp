#include "frontend/fades.h"
#include "frontend_test_support.h"
#include "round/frame_pacing.h"

using namespace frontend_test;

namespace {

constexpr Colour kPicture = 0xFFC08040;

// The colour a picture pixel leaves when put over black at this alpha.
Colour blended(int alpha, Colour picture = kPicture) {
  Image dst{1, 1, 1, {0xFF000000}}, src{1, 1, 1, {picture}};
  gfx_put(&dst, 0, 0, &src, kPutBlend, alpha);
  return dst.pixels[0];
}

class FadeTest : public FrontEndTest {
 protected:
  // The picture on the work page, as a screen leaves it before fading; then what each
  // present shows, from the first present that can show it.
  void fade(int from_alpha, void (*fade_fn)()) {
    round_state.fade_alpha = from_alpha;
    begin_frame();
    std::ranges::fill(gfx_page(gfx_work_page_index())->pixels, kPicture);
    backend.set_present_hook(
        [this](const Image& p, std::int64_t) { shown.push_back(all_black(p) ? 0xFF000000 : p.row(240)[320]); });
    fade_fn();
    if (!shown.empty()) shown.erase(shown.begin());  // the page of the frame before the picture's
  }
  std::vector<Colour> shown;
};

TEST_F(FadeTest, FadeInShowsThreeBlackStepsThenThePictureAndFadeOutDimsItInSeventeen) {
  fade(0, fade_in);
  EXPECT_EQ(round_state.fade_alpha, 255);
  // Each shown page is the previous step's drawing: black three times, then alpha 30, 45, ..., 225.
  std::vector<Colour> expected(3, 0xFF000000);
  for (int alpha = 30; alpha <= 225; alpha += 15) expected.push_back(blended(alpha));
  EXPECT_EQ(shown, expected);
  // Each step is one paced frame of 1/41 s.
  EXPECT_NEAR(backend.now_us(), 17 * 24500, 17 * 1500);

  shown.clear();
  fade(255, fade_out);
  EXPECT_EQ(round_state.fade_alpha, 0);
  expected.clear();
  for (int alpha = 255; alpha >= 30; alpha -= 15) expected.push_back(blended(alpha));
  ASSERT_EQ(shown.size(), 17u);
  EXPECT_EQ(std::vector(shown.begin() + 1, shown.end()), expected);
}

TEST_F(FadeTest, FadesAtTheirEndValueReturnAtOnceWithoutTouchingThePages) {
  fade(255, fade_in);
  const std::vector<Colour> before = gfx_page(0)->pixels;
  const int work_page = round_state.work_page;
  round_state.fade_alpha = 0;
  fade_out();
  EXPECT_TRUE(shown.empty());
  EXPECT_EQ(std::tuple(backend.now_us(), round_state.work_page), std::tuple(0, work_page));
  EXPECT_EQ(gfx_page(0)->pixels, before);
}

TEST_F(FadeTest, PulsingBackgroundBlendsBackgroundOneAtHalfThePulsePlus100) {
  // Ties to even: 201 -> 200.5 -> 200, 203 -> 201.5 -> 202.
  for (const auto& [pulse, alpha] : {std::pair{148, 174}, {201, 200}, {203, 202}, {254, 227}}) {
    round_state.glow_pulse = pulse;
    std::ranges::fill(gfx_page(gfx_work_page_index())->pixels, 0xFFFFFFFF);
    draw_pulsing_background();
    EXPECT_EQ(gfx_page(gfx_work_page_index())->row(100)[100], blended(alpha, 0xFF204060)) << pulse;
  }
}

}  // namespace
