#include "frontend/main_menu.h"
#include "frontend_test_support.h"

using namespace frontend_test;

namespace {

// What one presented menu frame showed.
struct MenuFrame {
  int item;
  int marker_y;
  int lit;  // the label at opacity 255, 0 when none
  bool menu_page;  // the logo is on the page
  bool instructions_page;
  bool high_scores_page;
  bool options_page;
};

class MainMenuTest : public FrontEndTest {
 protected:
  void record_frames() {
    backend.set_present_hook([this](const Image& page, std::int64_t) {
      MenuFrame f{};
      f.item = round_state.menu_item;
      f.marker_y = round_state.menu_marker_y;
      for (int i = 1; i <= 5; ++i)
        if (round_state.label_alpha[i] == 255) f.lit = i;
      f.menu_page = page.row(56)[188] == 0xFFE7E7E7 && page.row(346)[124] == 0xFFB90000;
      f.instructions_page = text_shown(page, 240, 12, "I N S T R U C T I O N S", 0xFF9191FF);
      f.high_scores_page = text_shown(page, 285, 120, "TOP SCORES", 0xFF0275BE);
      f.options_page = text_shown(page, 250, 170, "->", 0xFF9191FF) &&
                       !text_shown(page, 380, 170, "->", 0xFF9191FF);
      frames.push_back(f);
    });
  }
  bool ran(bool MenuFrame::*page) const {
    for (const MenuFrame& f : frames)
      if (f.*page) return true;
    return false;
  }
  std::vector<MenuFrame> frames;
};

TEST_F(MainMenuTest, ArrowsStepOneItemPerPressAndNeverWrap) {
  std::vector<ScriptEvent> s;
  press(s, kKeyUp, 100, 300);  // on the first item: nothing
  press(s, kKeyDown, 600, 400);  // held for many frames: one step
  int t = 1200;
  for (int i = 0; i < 5; ++i, t += 200) press(s, kKeyDown, t, 60);  // 3 more steps, then stuck
  backend.set_script(sorted(s));
  int item_after_up = 0, item_after_hold = 0;
  backend.set_present_hook([&](const Image&, std::int64_t now_us) {
    if (now_us < 550000) item_after_up = round_state.menu_item;
    if (now_us < 1150000) item_after_hold = round_state.menu_item;
  });
  EXPECT_FALSE(run_until(run_main_menu, 3000));
  EXPECT_EQ(item_after_up, 1);
  EXPECT_EQ(item_after_hold, 2);
  EXPECT_EQ(round_state.menu_item, 5);
  EXPECT_EQ(round_state.menu_marker_y, 50);
}

TEST_F(MainMenuTest, UpOnFirstAndDownOnLastChangeNothing) {
  round_state.menu_item = 5;
  round_state.menu_marker_y = 50;
  std::vector<ScriptEvent> s;
  press(s, kKeyDown, 100, 100);
  press(s, kKeyUp, 400, 100);
  press(s, kKeyUp, 700, 100);
  backend.set_script(sorted(s));
  EXPECT_FALSE(run_until(run_main_menu, 1000));
  EXPECT_EQ(round_state.menu_item, 3);
  EXPECT_EQ(round_state.menu_marker_y, 30);
}

TEST_F(MainMenuTest, LabelsDimWhileTheMarkerSlidesAndLightOnArrival) {
  std::vector<ScriptEvent> s;
  press(s, kKeyDown, 200, 50);
  backend.set_script(sorted(s));
  record_frames();
  EXPECT_FALSE(run_until(run_main_menu, 800));
  // The lit label over the frames: item 1, then none while sliding, then item 2.
  std::vector<int> runs;
  std::vector<int> lengths;
  for (const MenuFrame& f : frames) {
    if (runs.empty() || runs.back() != f.lit) {
      runs.push_back(f.lit);
      lengths.push_back(0);
    }
    ++lengths.back();
  }
  ASSERT_EQ(runs, (std::vector<int>{1, 0, 2}));
  EXPECT_EQ(lengths[1], 4);  // marker at 12, 14, 16, 18 when the labels were drawn
  EXPECT_EQ(frames.back().marker_y, 20);
}

TEST_F(MainMenuTest, FirstMenuFadesInFromBlack) {
  round_state.fade_alpha = 0;
  record_frames();
  std::vector<bool> black;
  backend.set_present_hook([&](const Image& page, std::int64_t) { black.push_back(all_black(page)); });
  EXPECT_FALSE(run_until(run_main_menu, 1000));
  ASSERT_GE(black.size(), 20u);
  EXPECT_TRUE(black[0] && black[1] && black[2]);
  EXPECT_FALSE(black[3]);
  EXPECT_EQ(round_state.fade_alpha, 255);
}

TEST_F(MainMenuTest, MenuPageShowsLogoTitleItemsAndMarker) {
  Image shown;
  backend.set_present_hook([&](const Image& page, std::int64_t) { shown = page; });
  EXPECT_FALSE(run_until(run_main_menu, 200));
  // Each polygon is filled right through from its seed.
  EXPECT_EQ(shown.row(56)[188], 0xFFE7E7E7u);
  EXPECT_EQ(shown.row(274)[140], 0xFFE10000u);
  EXPECT_EQ(shown.row(346)[124], 0xFFB90000u);
  EXPECT_EQ(shown.row(295)[186], 0xFF910000u);
  EXPECT_EQ(shown.row(188)[214], 0xFFA0A0A0u);
  EXPECT_EQ(shown.row(10)[220], 0xFFE7E7E7u);   // a point far from the seed
  EXPECT_EQ(shown.row(400)[124], shown.row(400)[600]);  // nothing leaks below the logo
  EXPECT_TRUE(text_shown(shown, 380, 170, "->", 0xFF9191FF));
  EXPECT_TRUE(text_shown(shown, 400, 170, "Start New Game", 0xFF9191FF));
}

TEST_F(MainMenuTest, EnterOnStartNewGameFadesOutAndReturns) {
  std::vector<ScriptEvent> s;
  press(s, kKeyEnter, 100, 100);
  backend.set_script(sorted(s));
  EXPECT_TRUE(run_until(run_main_menu, 3000));
  EXPECT_EQ(round_state.fade_alpha, 0);
  EXPECT_EQ(round_state.menu_item, 1);
}

TEST_F(MainMenuTest, ReturnsFromOptionsOnItemTwoWithTheMarkerInPlace) {
  std::vector<ScriptEvent> s;
  press(s, kKeyDown, 100, 50);
  press(s, kKeyEnter, 150, 50);  // before the marker arrives: acts all the same
  // In the options: three DOWNs to "Exit", then ENTER.
  press(s, kKeyDown, 1000, 50);
  press(s, kKeyDown, 1200, 50);
  press(s, kKeyDown, 1400, 50);
  press(s, kKeyEnter, 1700, 50);
  backend.set_script(sorted(s));
  record_frames();
  EXPECT_FALSE(run_until(run_main_menu, 3500));
  EXPECT_TRUE(ran(&MenuFrame::options_page));
  EXPECT_EQ(round_state.menu_item, 2);
  EXPECT_EQ(round_state.menu_marker_y, 20);
  EXPECT_TRUE(frames.back().menu_page);
}

TEST_F(MainMenuTest, ReturnsFromInstructionsOnItemThree) {
  std::vector<ScriptEvent> s;
  press(s, kKeyDown, 100, 50);
  press(s, kKeyDown, 200, 50);
  press(s, kKeyEnter, 300, 50);
  press(s, kKeyEnter, 1500, 50);
  backend.set_script(sorted(s));
  record_frames();
  EXPECT_FALSE(run_until(run_main_menu, 3000));
  EXPECT_TRUE(ran(&MenuFrame::instructions_page));
  EXPECT_EQ(round_state.menu_item, 3);
  EXPECT_EQ(round_state.menu_marker_y, 30);
  EXPECT_TRUE(frames.back().menu_page);
}

TEST_F(MainMenuTest, ReturnsFromHighScoresOnItemFour) {
  std::vector<ScriptEvent> s;
  for (int i = 0; i < 3; ++i) press(s, kKeyDown, 100 + 100 * i, 50);
  press(s, kKeyEnter, 600, 50);
  press(s, kKeyEnter, 1800, 50);
  backend.set_script(sorted(s));
  record_frames();
  EXPECT_FALSE(run_until(run_main_menu, 3000));
  EXPECT_TRUE(ran(&MenuFrame::high_scores_page));
  EXPECT_FALSE(ran(&MenuFrame::instructions_page));
  EXPECT_EQ(round_state.menu_item, 4);
  EXPECT_EQ(round_state.menu_marker_y, 40);
  EXPECT_TRUE(frames.back().menu_page);
}

TEST_F(MainMenuTest, ExitFadesOutDestroysTheImagesAndEndsTheProgram) {
  round_state.menu_item = 5;
  round_state.menu_marker_y = 50;
  std::vector<ScriptEvent> s;
  press(s, kKeyEnter, 100, 50);
  backend.set_script(sorted(s));
  EXPECT_FALSE(run_until(run_main_menu, 5000));
  EXPECT_LT(backend.now_us(), 5000000);  // ended by Exit, not by the clock
  EXPECT_EQ(round_state.fade_alpha, 0);
  EXPECT_EQ(snapshot_image, nullptr);
  EXPECT_EQ(background_images[1], nullptr);
  EXPECT_EQ(powerup_sprites[10], nullptr);
  make_images();
}

}  // namespace
