// The options and instructions pages, reached from the menu by keys.
#include "e2e/e2e_support.h"

#include "headless/autoplay_screens.h"

namespace {

// Pixels of the page in this colour.
int count_colour(const Image& page, Colour colour) {
  int n = 0;
  for (Colour c : page.pixels) n += c == colour;
  return n;
}

struct MenuRun {
  Image menu, page;
};

MenuRun open_from_menu(const std::string& name, int downs) {
  const std::filesystem::path dir = fresh_temp_dir("e2e_" + name);
  std::string keys;
  for (int i = 0; i < downs; ++i) keys += std::to_string(kMenuReadyMs + 300 * i) + " tap DOWN\n";
  keys += std::to_string(kMenuReadyMs + 300 * downs + 300) + " tap ENTER\n";
  const std::string script = write_script(dir, keys);
  const std::filesystem::path menu = dir / "menu.png", page = dir / "page.png";
  const ProcessResult r = run_headless_bin(
      "--until-ms 7000 --script '" + script + "' --workdir '" + dir.string() + "' --dump-frame '" +
      std::to_string(kMenuReadyMs - 100) + ":" + menu.string() + "' --dump-frame '6500:" + page.string() + "'");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  MenuRun run{load_page(menu), load_page(page)};
  std::filesystem::remove_all(dir);
  return run;
}

TEST(MenuPages, OptionsPageShowsItsItemsAndMarkerInsteadOfTheMenu) {
  const MenuRun run = open_from_menu("options", 1);
  const ScreenView before = classify_screen(run.menu);
  EXPECT_EQ(before.screen, Screen::Menu);
  EXPECT_EQ(before.menu_item, 1);
  EXPECT_NE(classify_screen(run.page).screen, Screen::Menu);
  EXPECT_NE(run.page.pixels, run.menu.pixels);
  // The options marker stands at x 250 beside the first option (the menu's is at 380).
  EXPECT_TRUE(page_shows_text(run.page, 250, 170, "->", 0xFF9191FF));
  EXPECT_FALSE(page_shows_text(run.page, 380, 170, "->", 0xFF9191FF));
  EXPECT_GT(count_colour(run.page, 0xFF9191FF), 100);
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
