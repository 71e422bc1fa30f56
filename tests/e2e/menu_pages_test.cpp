// The options and instructions pages, reached from the menu by keys.
#include "e2e/e2e_support.h"

#include "headless/autoplay_screens.h"

namespace {

struct MenuRun { Image menu, page; };

// The menu just before the keys, and the page opened by `downs` presses of DOWN and ENTER.
MenuRun open_from_menu(const std::string& name, int downs) {
  std::string keys;
  for (int i = 0; i < downs; ++i) keys += std::to_string(kMenuReadyMs + 300 * i) + " tap DOWN\n";
  keys += std::to_string(kMenuReadyMs + 300 * downs + 300) + " tap ENTER\n";
  const GameRun run = run_game(name, "--until-ms 7000", keys, {{kMenuReadyMs - 100, "menu.png"}, {6500, "page.png"}});
  EXPECT_EQ(run.result.exit_code, 0) << run.result.err;
  MenuRun pages{load_page(run.dir / "menu.png"), load_page(run.dir / "page.png")};
  std::filesystem::remove_all(run.dir);
  return pages;
}

TEST(MenuPages, OptionsPageShowsItsMarkerInsteadOfTheMenu) {
  const MenuRun run = open_from_menu("options", 1);
  const ScreenView before = classify_screen(run.menu);
  EXPECT_EQ(before.screen, Screen::Menu);
  EXPECT_EQ(before.menu_item, 1);
  EXPECT_NE(classify_screen(run.page).screen, Screen::Menu);
  // The options marker stands at x 250 beside the first option (the menu's is at 380).
  EXPECT_TRUE(page_shows_text(run.page, 250, 170, "->", 0xFF9191FF));
  EXPECT_FALSE(page_shows_text(run.page, 380, 170, "->", 0xFF9191FF));
}

TEST(MenuPages, InstructionsPageShowsItsTextsOverTheBackground) {
  const MenuRun run = open_from_menu("instructions", 2);
  EXPECT_NE(classify_screen(run.page).screen, Screen::Menu);
  EXPECT_TRUE(page_shows_text(run.page, 240, 12, "I N S T R U C T I O N S", 0xFF9191FF));
  EXPECT_TRUE(page_shows_text(run.page, 20, 122, "CONTROLS: LEFT/RIGHT arrow key to rotate", 0xFF9191FF));
  EXPECT_TRUE(page_shows_text(run.page, 20, 42, "Torvane", 0xFFC3C3FF));
  EXPECT_TRUE(page_shows_text(run.page, 50, 404, "slow line", 0xFF9191FF));
  EXPECT_FALSE(page_shows_text(run.menu, 240, 12, "I N S T R U C T I O N S", 0xFF9191FF));
}

}  // namespace
