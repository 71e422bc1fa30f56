// A whole game played with virtual controllers through the real SDL backend and the real
// top-level loop, recorded the way --record records: menus walked with the d-pad and the
// stick, a round turned, fired, paused with Back and by pulling a pad out, then aborted and
// left. The recording must replay headless with every checkpoint matching.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/replay_options.h"
#include "app/replay_session.h"
#include "frame/input.h"
#include "gfx/gfx.h"
#include "platform/i_sdl.h"
#include "platform/virtual_pad.h"
#include "platform/wrapped_platform.h"
#include "round/round_state.h"
#include "tools/runner_process.h"

namespace {

// "Abort(Y/N)?" is drawn in this blue over the dimmed round.
bool question_up(const Image& page) {
  int blue = 0;
  for (int y = 225; y < 233; ++y)
    for (int x = 280; x < 380; ++x) blue += (page.row(y)[x] & 0xFFFFFF) == 0x0275BE;
  return blue > 20;
}

struct Step {
  std::string what;
  std::function<bool(const Image& page)> done;  // looked at on each shown page until true
};

// The player's hands: sits on the seam under the recorder, and at each shown page lets the
// next step of the script look at the page and the game and move the pads.
class PadHands final : public WrappedPlatform {
 public:
  PadHands(Platform& inner, std::vector<Step> steps) : WrappedPlatform(inner), steps_(std::move(steps)) {}

  void present(const Image& page) override {
    inner_.present(page);
    ++frames_;
    if (next_ == steps_.size()) return;
    if (steps_[next_].done(page)) {
      ++next_;
      waited_ = 0;
    } else if (++waited_ > kPatience) {
      ADD_FAILURE() << "no progress at: " << steps_[next_].what;
      program_exit(kStuck);
    }
  }
  std::size_t steps_done() const { return next_; }
  long frames() const { return frames_; }

  static constexpr int kStuck = 9;

 private:
  static constexpr int kPatience = 300;  // frames, about 7 s
  std::vector<Step> steps_;
  std::size_t next_ = 0;
  int waited_ = 0;
  long frames_ = 0;
};

Step act(std::string what, std::function<void()> f) {
  return {std::move(what), [f](const Image&) {
            f();
            return true;
          }};
}
Step until(std::string what, std::function<bool()> ready) {
  return {std::move(what), [ready](const Image&) { return ready(); }};
}
Step wait(int frames) {
  return {"waiting", [frames, left = frames](const Image&) mutable { return --left <= 0; }};
}
Step until_question(bool shown) {
  return {shown ? "the abort question" : "the round again", [shown](const Image& page) {
            return question_up(page) == shown && (shown || round_state.fade_alpha == 255);
          }};
}
// Fails at once unless true now.
Step expect(std::string what, std::function<bool()> ok) {
  return {what, [what, ok](const Image&) {
            if (ok()) return true;
            ADD_FAILURE() << what;
            program_exit(PadHands::kStuck);
          }};
}
void add(std::vector<Step>& script, std::vector<Step> more) {
  for (Step& s : more) script.push_back(std::move(s));
}
// Down for a few frames and up again: every press is seen by a game reading once a frame.
std::vector<Step> tap(std::optional<VirtualPad>& pad, SDL_GameControllerButton button) {
  return {act("press", [&pad, button] { pad->button(button, true); }), wait(3),
          act("let go", [&pad, button] { pad->button(button, false); }), wait(3)};
}
std::vector<Step> push_stick(std::optional<VirtualPad>& pad, SDL_GameControllerAxis axis, int value) {
  return {act("push", [&pad, axis, value] { pad->stick(axis, value); }), wait(3),
          act("centre", [&pad, axis] { pad->stick(axis, 0); }), wait(3)};
}
void keyboard(SDL_Scancode key, bool down) {
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.scancode = key;
  SDL_PushEvent(&event);
}
bool menu_at(int item) { return round_state.menu_item == item; }

TEST(SdlControllerGame, APadPlayedGameReplaysHeadlessWithEveryCheckpointMatching) {
  const std::filesystem::path dir = fresh_temp_dir("pad_game");
  setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
  setenv("XDG_DATA_HOME", (dir / "share").c_str(), 1);
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);  // the dummy window never has the focus
  std::filesystem::create_directories(dir / "play");
  const std::string recording = (dir / "game.tvr").string();

  std::optional<VirtualPad> first, second, spare;
  const RoundState& rs = round_state;
  std::vector<Step> script;
  add(script, {act("plug two pads", [&] { first.emplace(), spare.emplace(); }), wait(60),
               // Pulled in the menu: nothing there changes, and the round to come does not ask.
               act("pull the spare pad", [&] { spare->unplug(); })});
  add(script, tap(first, SDL_CONTROLLER_BUTTON_DPAD_DOWN));
  add(script, {until("d-pad down", [] { return menu_at(2); })});
  add(script, push_stick(first, SDL_CONTROLLER_AXIS_LEFTY, 20000));
  add(script, {until("stick down", [] { return menu_at(3); })});
  add(script, tap(first, SDL_CONTROLLER_BUTTON_DPAD_UP));
  add(script, push_stick(first, SDL_CONTROLLER_AXIS_LEFTY, -20000));
  add(script, {until("back up to Start New Game", [] { return menu_at(1); })});
  add(script, tap(first, SDL_CONTROLLER_BUTTON_START));
  add(script, {until("the round runs", [&] { return rs.rotate_dir == 1; }), wait(20),
               expect("no question for the pad pulled in the menu", [&] { return rs.fade_alpha == 255; }),
               // The stick turns past its press, keeps turning above its release, stops below.
               act("stick left", [&] { first->stick(SDL_CONTROLLER_AXIS_LEFTX, -17000); }),
               until("turning left", [&] { return rs.rotate_dir == 2; }),
               act("stick eased", [&] { first->stick(SDL_CONTROLLER_AXIS_LEFTX, -13000); }), wait(5),
               expect("still turning above the release", [&] { return rs.rotate_dir == 2; }),
               act("stick nearly centred", [&] { first->stick(SDL_CONTROLLER_AXIS_LEFTX, -9000); }),
               until("stopped", [&] { return rs.rotate_dir == 1; }),
               act("stick right", [&] { first->stick(SDL_CONTROLLER_AXIS_LEFTX, 32767); }),
               until("turning right", [&] { return rs.rotate_dir == 3; }),
               act("stick centred", [&] { first->stick(SDL_CONTROLLER_AXIS_LEFTX, 0); }),
               until("stopped again", [&] { return rs.rotate_dir == 1; }),
               act("A", [&] { first->button(SDL_CONTROLLER_BUTTON_A, true); }),
               until("the cannon fires", [&] { return rs.fire_cooldown > 0; }),
               act("A let go", [&] { first->button(SDL_CONTROLLER_BUTTON_A, false); }),
               until("the cannon is ready", [&] { return rs.fire_cooldown == 0; }),
               act("right trigger", [&] { first->trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 30000); }),
               until("the trigger fires", [&] { return rs.fire_cooldown > 0; }),
               act("trigger let go", [&] { first->trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0); })});
  for (auto button : {SDL_CONTROLLER_BUTTON_Y, SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_X})
    add(script, tap(first, button));  // laser, blasters, cannon (no ammunition yet: the cannon stays)
  add(script, tap(first, SDL_CONTROLLER_BUTTON_BACK));
  add(script, {until_question(true)});
  add(script, tap(first, SDL_CONTROLLER_BUTTON_B));
  add(script, {until_question(false),
               // A second pad joins while the first fires and turns; then the first is pulled.
               act("fire and turn", [&] {
                 first->button(SDL_CONTROLLER_BUTTON_A, true);
                 first->stick(SDL_CONTROLLER_AXIS_LEFTX, -32768);
               }),
               act("plug a second pad", [&] { second.emplace(); }), wait(10),
               act("pull the first pad", [&] { first->unplug(); }), until_question(true),
               expect("the pulled pad let go", [] {
                 return !input_key_held(kKeySpace) && !input_key_held(kKeyLeft) && !input_key_held(kKeyY);
               })});
  add(script, tap(second, SDL_CONTROLLER_BUTTON_B));  // N from the other pad plays on
  add(script, {until_question(false)});
  add(script, tap(second, SDL_CONTROLLER_BUTTON_BACK));
  add(script, {until_question(true), act("N on the keyboard", [] { keyboard(SDL_SCANCODE_N, true); }), wait(3),
               act("N let go", [] { keyboard(SDL_SCANCODE_N, false); }), until_question(false)});
  add(script, tap(second, SDL_CONTROLLER_BUTTON_BACK));
  add(script, {until_question(true)});
  add(script, tap(second, SDL_CONTROLLER_BUTTON_A));  // abort
  add(script, {wait(80)});
  for (int item = 2; item <= 5; ++item) {
    add(script, tap(second, SDL_CONTROLLER_BUTTON_DPAD_DOWN));
    add(script, {until("down to Exit", [item] { return menu_at(item); })});
  }
  add(script, tap(second, SDL_CONTROLLER_BUTTON_START));
  const std::size_t steps = script.size();

  std::unique_ptr<Platform> backend = make_sdl_platform(true);
  PadHands hands(*backend, std::move(script));
  ReplayOptions options;
  options.record_path = recording;
  char name[] = "torvane";
  char* argv[] = {name, nullptr};
  const int code = run_with_replay(hands, options, 1, argv);
  ASSERT_EQ(code, 0);
  EXPECT_EQ(hands.steps_done(), steps);

  const ProcessResult replay = run_headless_bin("--play '" + recording + "' --workdir '" + (dir / "play").string() + "'");
  std::printf("recording: %ju bytes, %ld frames played; headless replay: %s", static_cast<std::uintmax_t>(std::filesystem::file_size(recording)), hands.frames(), replay.out.c_str());
  EXPECT_EQ(replay.exit_code, 0) << replay.err;
  EXPECT_NE(replay.out.find("\"frames\":" + std::to_string(hands.frames()) + ","), std::string::npos)
      << replay.out << " after " << hands.frames() << " frames played";
  std::filesystem::remove_all(dir);
}

}  // namespace
