// A whole game played with virtual pads through the real SDL backend and top-level loop, and
// recorded as --record does: the menu walked with the d-pad and the stick, a round turned,
// fired, paused by Back and by pulling a pad out, aborted, and Exit. It must replay headless
// with every checkpoint matching.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

#include "app/replay_session.h"
#include "gfx/gfx.h"
#include "platform/i_sdl.h"
#include "platform/virtual_pad.h"
#include "replay/wrapped_platform.h"
#include "screens/item_list.h"
#include "state/round_state.h"
#include "system/input.h"
#include "tools/runner_process.h"

namespace {

using Ready = std::function<bool(const Image& page)>;
// The player's move, then what the game must show before the next one.
struct Step {
  const char* what;
  std::function<void()> move;
  Ready ready;
};

// The player's hands: under the recorder, each shown page lets the script move the pads.
class PadHands final : public WrappedPlatform {
 public:
  PadHands(Platform& inner, std::vector<Step> steps) : WrappedPlatform(inner), steps_(std::move(steps)) {}
  void present(const Image& page) override {
    inner_.present(page);
    ++frames;
    if (next >= steps_.size()) return;
    if (!moved_) steps_[next].move();
    moved_ = true;
    if (steps_[next].ready(page)) {
      ++next, moved_ = false, waited_ = 0;
    } else if (++waited_ > 300) {  // about 7 s
      ADD_FAILURE() << "no progress at: " << steps_[next].what;
      program_exit(9);
    }
  }
  std::size_t next = 0;
  long frames = 0;

 private:
  std::vector<Step> steps_;
  bool moved_ = false;
  int waited_ = 0;
};

Ready frames(int n) {
  return [n](const Image&) mutable { return --n <= 0; };
}
Ready when(std::function<bool()> test) {
  return [test](const Image&) { return test(); };
}
// "Abort(Y/N)?" in its blue over the dimmed round; or the round back at full light.
Ready question(bool shown) {
  return [shown](const Image& page) {
    int blue = 0;
    for (int y = 225; y < 233; ++y)
      for (int x = 280; x < 380; ++x) blue += (page.row(y)[x] & 0xFFFFFF) == 0x0275BE;
    return shown ? blue > 20 : blue == 0 && round_state.fade_alpha == 255;
  };
}
Ready menu_at(int item) {
  return when([item] { return menu_state.menu_item == item; });
}
Ready turning(int dir) {
  return when([dir] { return round_state.rotate_dir == dir; });
}

TEST(SdlControllerGame, APadPlayedGameReplaysHeadlessWithEveryCheckpointMatching) {
  const std::filesystem::path dir = fresh_temp_dir("pad_game");
  setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
  setenv("XDG_DATA_HOME", (dir / "share").c_str(), 1);
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);  // the dummy window never has the focus
  std::optional<VirtualPad> first, second, spare;
  auto button = [](std::optional<VirtualPad>& pad, SDL_GameControllerButton b, bool down) {
    return [&pad, b, down] { pad->button(b, down); };
  };
  auto stick = [&first](int value) { return [&first, value] { first->stick(SDL_CONTROLLER_AXIS_LEFTX, value); }; };
  auto menu_stick = [&first](int value) { return [&first, value] { first->stick(SDL_CONTROLLER_AXIS_LEFTY, value); }; };
  auto key_n = [](bool down) {
    return [down] {
      SDL_Event event{};
      event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
      event.key.keysym.scancode = SDL_SCANCODE_N;
      SDL_PushEvent(&event);
    };
  };
  const RoundState& rs = round_state;
  std::vector<Step> script = {
      {"two pads plugged", [&] { first.emplace(), spare.emplace(); }, frames(60)},
      {"one pulled in the menu: nothing changes", [&] { spare->unplug(); }, frames(3)},
      {"d-pad down", button(first, SDL_CONTROLLER_BUTTON_DPAD_DOWN, true), menu_at(2)},
      {"", button(first, SDL_CONTROLLER_BUTTON_DPAD_DOWN, false), frames(3)},
      {"stick down", menu_stick(20000), menu_at(3)},
      {"", menu_stick(0), frames(3)},
      {"d-pad up", button(first, SDL_CONTROLLER_BUTTON_DPAD_UP, true), menu_at(2)},
      {"", button(first, SDL_CONTROLLER_BUTTON_DPAD_UP, false), frames(3)},
      {"stick up", menu_stick(-20000), menu_at(1)},
      {"", menu_stick(0), frames(3)},
      {"Start", button(first, SDL_CONTROLLER_BUTTON_START, true), turning(1)},
      {"no question for the pad pulled in the menu", button(first, SDL_CONTROLLER_BUTTON_START, false), frames(20)},
      {"", [] {}, question(false)},
      // Past the press the line turns, above the release it goes on, below it stops.
      {"stick left", stick(-17000), turning(2)},
      {"stick eased", stick(-13000), frames(5)},
      {"still turning", [] {}, turning(2)},
      {"stick nearly centred", stick(-9000), turning(1)},
      {"stick right", stick(32767), turning(3)},
      {"stick centred", stick(0), turning(1)},
      {"A fires", button(first, SDL_CONTROLLER_BUTTON_A, true), when([&] { return rs.fire_cooldown > 0; })},
      {"A let go", button(first, SDL_CONTROLLER_BUTTON_A, false), when([&] { return rs.fire_cooldown == 0; })},
      {"the trigger fires", [&] { first->trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 30000); }, when([&] { return rs.fire_cooldown > 0; })},
      // Laser, blasters, cannon: without ammunition yet the cannon stays.
      {"Y", [&] { first->trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0), first->button(SDL_CONTROLLER_BUTTON_Y, true); }, frames(3)},
      {"B", [&] { first->button(SDL_CONTROLLER_BUTTON_Y, false), first->button(SDL_CONTROLLER_BUTTON_B, true); }, frames(3)},
      {"X", [&] { first->button(SDL_CONTROLLER_BUTTON_B, false), first->button(SDL_CONTROLLER_BUTTON_X, true); }, frames(3)},
      {"Back", [&] { first->button(SDL_CONTROLLER_BUTTON_X, false), first->button(SDL_CONTROLLER_BUTTON_BACK, true); }, question(true)},
      {"B plays on", [&] { first->button(SDL_CONTROLLER_BUTTON_BACK, false), first->button(SDL_CONTROLLER_BUTTON_B, true); }, question(false)},
      // A second pad joins while the first fires and turns, then the first is pulled out.
      {"fire and turn", [&] { first->button(SDL_CONTROLLER_BUTTON_B, false), first->button(SDL_CONTROLLER_BUTTON_A, true), stick(-32768)(); }, turning(2)},
      {"a second pad", [&] { second.emplace(); }, frames(10)},
      {"the first pulled", [&] { first->unplug(); }, question(true)},
      {"the pulled pad let go", [] {}, when([] { return !input_key_held(kKeySpace) && !input_key_held(kKeyLeft); })},
      {"B on the other pad plays on", button(second, SDL_CONTROLLER_BUTTON_B, true), question(false)},
      {"Back on it", [&] { second->button(SDL_CONTROLLER_BUTTON_B, false), second->button(SDL_CONTROLLER_BUTTON_BACK, true); }, question(true)},
      {"N on the keyboard plays on", key_n(true), question(false)},
      {"Back again", [&] { key_n(false)(), second->button(SDL_CONTROLLER_BUTTON_BACK, false); }, frames(3)},
      {"", button(second, SDL_CONTROLLER_BUTTON_BACK, true), question(true)},
      {"A aborts", [&] { second->button(SDL_CONTROLLER_BUTTON_BACK, false), second->button(SDL_CONTROLLER_BUTTON_A, true); }, frames(80)},
  };
  for (int item = 2; item <= 5; ++item) {  // down to Exit
    script.push_back({"d-pad down to Exit", button(second, SDL_CONTROLLER_BUTTON_DPAD_DOWN, true), menu_at(item)});
    script.push_back({"", [&] { second->button(SDL_CONTROLLER_BUTTON_A, false), second->button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, false); }, frames(3)});
  }
  script.push_back({"Start leaves", button(second, SDL_CONTROLLER_BUTTON_START, true), frames(1000)});
  const std::size_t steps = script.size();

  std::unique_ptr<Platform> backend = make_sdl_platform(true);
  PadHands hands(*backend, std::move(script));
  const std::string recording = (dir / "game.tvr").string();
  char name[] = "torvane";
  char* argv[] = {name, nullptr};
  ReplayOptions options;
  options.record_path = recording;
  ASSERT_EQ(run_with_replay(hands, options, 1, argv), 0);
  EXPECT_EQ(hands.next, steps - 1);  // all but the last, which Exit ended

  const ProcessResult replay = run_headless_bin("--play '" + recording + "' --workdir '" + dir.string() + "'");
  std::printf("%ld frames played; the headless replay: %s", hands.frames, replay.out.c_str());
  EXPECT_EQ(replay.exit_code, 0) << replay.err;
  EXPECT_NE(replay.out.find("\"frames\":" + std::to_string(hands.frames) + ","), std::string::npos);
  std::filesystem::remove_all(dir);
}

}  // namespace
