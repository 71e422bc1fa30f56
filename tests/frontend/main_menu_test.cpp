#include "frontend/main_menu.h"
#include "frontend_test_support.h"

using namespace frontend_test;

namespace {

bool menu_page(const Image& p) { return p.row(56)[188] == 0xFFE7E7E7 && p.row(346)[124] == 0xFFB90000; }
bool instructions_page(const Image& p) { return text_shown(p, 240, 12, "I N S T R U C T I O N S", kLabel); }
bool high_scores_page(const Image& p) { return text_shown(p, 285, 120, "TOP SCORES", 0xFF0275BE); }
bool options_page(const Image& p) { return text_shown(p, 250, 170, "->", kLabel) && !text_shown(p, 380, 170, "->", kLabel); }

using MainMenuTest = FrontEndTest;

TEST_F(MainMenuTest, ArrowsStepOneItemPerPressAndNeverWrap) {
  std::vector<Key> k = {{kKeyUp, 100, 300}, {kKeyDown, 600, 400}, {kKeyUp, 2300}};  // held: one step only
  for (int t = 1200; t <= 2000; t += 200) k.push_back({kKeyDown, t});  // 3 steps, then stuck on Exit
  keys(k);
  std::vector<std::pair<std::int64_t, int>> items;  // (time, item) per frame
  backend.set_present_hook([&](const Image&, std::int64_t us) { items.push_back({us, round_state.menu_item}); });
  EXPECT_FALSE(run_until(run_main_menu, 2700));
  auto item_at = [&](std::int64_t ms) {
    int item = 0;
    for (const auto& [us, i] : items)
      if (us < ms * 1000) item = i;
    return item;
  };
  EXPECT_EQ(item_at(550), 1);
  EXPECT_EQ(item_at(1150), 2);
  EXPECT_EQ(item_at(2250), 5);
  EXPECT_EQ(round_state.menu_item, 4);
  EXPECT_EQ(round_state.menu_marker_y, 40);
}

TEST_F(MainMenuTest, LabelsDimWhileTheMarkerSlidesAndLightOnArrival) {
  keys({{kKeyDown, 200, 50}});
  std::vector<int> lit;  // the label at opacity 255 in each frame, 0 when none
  backend.set_present_hook([&](const Image&, std::int64_t) {
    lit.push_back(0);
    for (int i = 1; i <= 5; ++i)
      if (round_state.label_alpha[i] == 255) lit.back() = i;
  });
  EXPECT_FALSE(run_until(run_main_menu, 800));
  const auto first_dim = std::find(lit.begin(), lit.end(), 0);
  // Item 1 lit, then none for the four frames drawn with the marker at 12, 14, 16, 18, then item 2.
  ASSERT_TRUE(first_dim != lit.end() && first_dim + 4 < lit.end());
  EXPECT_TRUE(std::all_of(lit.begin(), first_dim, [](int i) { return i == 1; }));
  EXPECT_TRUE(std::all_of(first_dim, first_dim + 4, [](int i) { return i == 0; }));
  EXPECT_TRUE(std::all_of(first_dim + 4, lit.end(), [](int i) { return i == 2; }));
  EXPECT_EQ(round_state.menu_marker_y, 20);
}

TEST_F(MainMenuTest, MenuPageShowsTheFilledLogoAndTheMarkedFirstItem) {
  keep_last_page();
  EXPECT_FALSE(run_until(run_main_menu, 200));
  // Each polygon is filled right through from its seed, and nothing leaks below the logo.
  const std::tuple<int, int, Colour> pixels[] = {{188, 56, 0xFFE7E7E7}, {140, 274, 0xFFE10000}, {124, 346, 0xFFB90000},
                                                 {186, 295, 0xFF910000}, {214, 188, 0xFFA0A0A0}, {220, 10, 0xFFE7E7E7},
                                                 {124, 400, last.row(400)[600]}};
  for (const auto& [x, y, colour] : pixels) EXPECT_EQ(last.row(y)[x], colour) << x << "," << y;
  EXPECT_TRUE(text_shown(last, 380, 170, "->", kLabel));
  EXPECT_TRUE(text_shown(last, 400, 170, "Start New Game", kLabel));
}

TEST_F(MainMenuTest, FirstMenuFadesInAndStartNewGameFadesOutAndReturns) {
  round_state.fade_alpha = 0;
  std::vector<bool> black;
  backend.set_present_hook([&](const Image& page, std::int64_t) { black.push_back(all_black(page)); });
  keys({{kKeyEnter, 1000, 100}});
  EXPECT_TRUE(run_until(run_main_menu, 3000));
  ASSERT_GE(black.size(), 20u);
  EXPECT_TRUE(black[0] && black[1] && black[2]);
  EXPECT_FALSE(black[3]);
  EXPECT_EQ(round_state.fade_alpha, 0);
  EXPECT_EQ(round_state.menu_item, 1);
}

struct ReturnCase {
  int item;
  bool (*page)(const Image&);
  std::vector<Key> keys;
};
const ReturnCase kReturnCases[] = {
    // ENTER before the marker arrives acts all the same; in the options, DOWNs stop at Exit.
    {2, options_page, {{kKeyDown, 100}, {kKeyEnter, 150}, {kKeyDown, 1000}, {kKeyDown, 1200}, {kKeyDown, 1400},
                       {kKeyDown, 1600}, {kKeyDown, 1800}, {kKeyEnter, 2100}}},
    {3, instructions_page, {{kKeyDown, 100}, {kKeyDown, 200}, {kKeyEnter, 300}, {kKeyEnter, 1500}}},
    {4, high_scores_page, {{kKeyDown, 100}, {kKeyDown, 200}, {kKeyDown, 300}, {kKeyEnter, 600}, {kKeyEnter, 1800}}},
};

class MenuReturn : public FrontEndTest, public ::testing::WithParamInterface<ReturnCase> {};

TEST_P(MenuReturn, BackOnTheChosenItemWithTheMarkerInPlace) {
  const ReturnCase& c = GetParam();
  keys(c.keys);
  bool seen = false, other_page = false;
  backend.set_present_hook([&](const Image& page, std::int64_t) {
    seen = seen || c.page(page);
    other_page = other_page || (c.page != instructions_page && instructions_page(page));
    last = page;
  });
  EXPECT_FALSE(run_until(run_main_menu, 3800));
  EXPECT_TRUE(seen);
  EXPECT_FALSE(other_page);
  EXPECT_EQ(round_state.menu_item, c.item);
  EXPECT_EQ(round_state.menu_marker_y, 10 * c.item);
  EXPECT_TRUE(menu_page(last));
}
INSTANTIATE_TEST_SUITE_P(Items, MenuReturn, ::testing::ValuesIn(kReturnCases));

TEST_F(MainMenuTest, ExitFadesOutDestroysTheImagesAndEndsTheProgram) {
  round_state.menu_item = 5;
  round_state.menu_marker_y = 50;
  keys({{kKeyEnter, 100}});
  EXPECT_FALSE(run_until(run_main_menu, 5000));
  EXPECT_LT(backend.now_us(), 5000000);  // ended by Exit, not by the clock
  EXPECT_EQ(round_state.fade_alpha, 0);
  EXPECT_TRUE(snapshot_image == nullptr && background_images[1] == nullptr && powerup_sprites[10] == nullptr);
  make_images();
}

}  // namespace
