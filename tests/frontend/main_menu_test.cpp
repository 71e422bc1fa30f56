#include <array>

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
  auto item_at = [&](std::int64_t ms) {  // the item of the last frame shown before `ms`
    return (std::ranges::lower_bound(items, std::pair(ms * 1000, 0)) - 1)->second;
  };
  EXPECT_EQ((std::array{item_at(550), item_at(1150), item_at(2250), round_state.menu_item, round_state.menu_marker_y}),
            (std::array{1, 2, 5, 4, 40}));
}

TEST_F(MainMenuTest, LabelsDimWhileTheMarkerSlidesAndLightOnArrival) {
  keys({{kKeyDown, 200, 50}});
  std::string lit;  // the label at opacity 255 in each frame, '6' when none
  const std::int32_t* a = round_state.label_alpha;
  backend.set_present_hook([&](const Image&, std::int64_t) {
    lit += static_cast<char>('0' + (std::find(a + 1, a + 6, 255) - a));
  });
  EXPECT_FALSE(run_until(run_main_menu, 800));
  // Item 1 lit, then none for the four frames drawn with the marker at 12, 14, 16, 18, then item 2.
  const std::size_t dim = lit.find('6');
  EXPECT_EQ(lit, std::string(dim, '1') + "6666" + std::string(lit.size() - dim - 4, '2'));
  EXPECT_EQ(round_state.menu_marker_y, 20);
}

struct ReturnCase { int item; bool (*page)(const Image&); std::vector<Key> keys; };
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
  EXPECT_TRUE(seen && !other_page && menu_page(last));
  EXPECT_EQ(std::pair(round_state.menu_item, round_state.menu_marker_y), std::pair(c.item, 10 * c.item));
}
INSTANTIATE_TEST_SUITE_P(Items, MenuReturn, ::testing::ValuesIn(kReturnCases));

TEST_F(MainMenuTest, ExitFadesOutDestroysTheImagesAndEndsTheProgram) {
  std::tie(round_state.menu_item, round_state.menu_marker_y) = std::tuple(5, 50);
  keys({{kKeyEnter, 100}});
  EXPECT_FALSE(run_until(run_main_menu, 5000));
  EXPECT_LT(backend.now_us(), 5000000);  // ended by Exit, not by the clock
  EXPECT_EQ(round_state.fade_alpha, 0);
  EXPECT_TRUE(snapshot_image == nullptr && background_images[1] == nullptr && powerup_sprites[10] == nullptr);
  make_images();
}

}  // namespace
