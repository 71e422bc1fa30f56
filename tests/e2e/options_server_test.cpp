// A score server typed into the options reaches the game's client in the same run: the next
// "Start New Game" asks it for a ticket (none answers here, so the round says it is unranked).
#include "e2e/e2e_support.h"
#include "gfx/font8x8.h"

namespace {

namespace fs = std::filesystem;

// Every pixel the font sets for text at (x, y) has the colour (drawn opaque, so exactly).
bool shows_text(const Image& page, int x, int y, const std::string& text, Colour colour) {
  for (std::size_t i = 0; i < text.size(); ++i)
    for (int row = 0; row < 8; ++row)
      for (int col = 0; col < 8; ++col)
        if ((font8x8[static_cast<unsigned char>(text[i])][row] & (0x80 >> col)) &&
            (page.row(y + row)[x + static_cast<int>(i) * 8 + col] & 0xFFFFFF) != (colour & 0xFFFFFF))
          return false;
  return true;
}

// Options, the server's line, an address nothing listens on kept, Exit, Start New Game; or
// the same without the address.
Image round_start(const fs::path& dir, bool set_server) {
  fs::create_directories(dir);
  const int t = kMenuReadyMs;
  std::string keys;
  auto at = [&](int ms, const std::string& what) { keys += std::to_string(t + ms) + " " + what + "\n"; };
  at(0, "tap DOWN");
  at(300, "tap ENTER");
  if (set_server) {
    for (int i = 0; i < 3; ++i) at(1800 + 300 * i, "tap DOWN");
    at(2700, "tap ENTER");
    at(3000, "type http://127.0.0");  // the typed-key buffer holds 15
    at(3100, "type .1:9");
    at(3300, "tap ENTER");
  }
  for (int i = 0; i < 5; ++i) at(3600 + 300 * i, "tap DOWN");
  at(5100, "tap ENTER");
  at(7000, "tap UP");
  at(7300, "tap ENTER");
  const fs::path shot = dir / "round.png";
  const ProcessResult r = run_headless_bin(
      "--until-ms " + std::to_string(t + 10000) + " --workdir '" + dir.string() + "' --script '" +
          write_script(dir, keys) + "' --dump-frame '" + std::to_string(t + 9000) + ":" + shot.string() + "'",
      xdg_env(dir));
  EXPECT_EQ(r.exit_code, 0) << r.err;
  return load_page(shot);
}

TEST(OptionsServer, AServerKeptInTheOptionsIsAskedForTheNextRoundsTicket) {
  const fs::path dir = fresh_temp_dir("options_server");
  const std::string unranked = "Unranked: the score server cannot be reached";
  const Image plain = round_start(dir / "plain", false);
  EXPECT_FALSE(shows_text(plain, 12, 440, unranked, 0xFFFFD040));
  const Image asked = round_start(dir / "set", true);
  EXPECT_TRUE(shows_text(asked, 12, 440, unranked, 0xFFFFD040));
  EXPECT_NE(read_file(dir / "set" / "config" / "torvane" / "torvane.cfg").find("score_server = http://127.0.0.1:9\n"),
            std::string::npos);
  fs::remove_all(dir);
}

}  // namespace
