// Controllers through SDL's own controller path into the real backend, on SDL's dummy drivers:
// virtual pads are plugged, pressed, pushed and pulled, and the game's key state must follow.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/i_sdl.h"
#include "platform/virtual_pad.h"
#include "system/i_platform.h"
#include "system/input.h"

namespace {

class SdlGamepad : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    // The dummy window never has the focus, and SDL keeps pads from programs without it.
    setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
    ASSERT_TRUE(backend_->open_display(false));
    platform_install(backend_.get());
    input_release_all_keys();
    (void)take_focus_lost();
  }
  void TearDown() override { platform_install(nullptr); }
  // The backend reads SDL's queue while the game sleeps.
  static void settle() { sleep_ms(5); }
  static bool held(int scancode) { return input_key_held(scancode); }

  std::unique_ptr<Platform> backend_ = make_sdl_platform(true);
};

TEST_F(SdlGamepad, ButtonsHoldTheKeysTheyStandFor) {
  VirtualPad pad;
  settle();
  const struct {
    SDL_GameControllerButton button;
    int key, second_key;
  } rows[] = {{SDL_CONTROLLER_BUTTON_DPAD_UP, kKeyUp, 0},     {SDL_CONTROLLER_BUTTON_DPAD_DOWN, kKeyDown, 0},
              {SDL_CONTROLLER_BUTTON_DPAD_LEFT, kKeyLeft, 0}, {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, kKeyRight, 0},
              {SDL_CONTROLLER_BUTTON_A, kKeySpace, kKeyY},    {SDL_CONTROLLER_BUTTON_B, kKey3, kKeyN},
              {SDL_CONTROLLER_BUTTON_X, kKey1, 0},            {SDL_CONTROLLER_BUTTON_Y, kKey2, 0},
              {SDL_CONTROLLER_BUTTON_START, kKeyEnter, 0},    {SDL_CONTROLLER_BUTTON_BACK, kKeyEscape, 0}};
  for (const auto& row : rows) {
    pad.button(row.button, true);
    settle();
    EXPECT_TRUE(held(row.key) && held(row.second_key) == (row.second_key != 0)) << "button " << row.button;
    pad.button(row.button, false);
    settle();
    EXPECT_FALSE(held(row.key) || held(row.second_key)) << "button " << row.button;
  }
  // Back opens the question: an A held for firing must not answer "yes" until pressed anew.
  pad.button(SDL_CONTROLLER_BUTTON_A, true);
  settle();
  pad.button(SDL_CONTROLLER_BUTTON_BACK, true);
  settle();
  EXPECT_TRUE(held(kKeySpace) && held(kKeyEscape) && !held(kKeyY));
}

// The stick presses past half-way and lets go only well back towards the middle, so a hand
// resting near the edge does not flicker; the trigger has one threshold.
TEST_F(SdlGamepad, StickAndTriggerPressAndLetGoAtTheirThresholds) {
  VirtualPad pad;
  settle();
  const struct {
    SDL_GameControllerAxis axis;
    int value, key;
    bool held;
  } steps[] = {{SDL_CONTROLLER_AXIS_LEFTX, -15999, kKeyLeft, false},     {SDL_CONTROLLER_AXIS_LEFTX, -16000, kKeyLeft, true},
               {SDL_CONTROLLER_AXIS_LEFTX, -12000, kKeyLeft, true},      {SDL_CONTROLLER_AXIS_LEFTX, -11999, kKeyLeft, false},
               {SDL_CONTROLLER_AXIS_LEFTX, 16000, kKeyRight, true},      {SDL_CONTROLLER_AXIS_LEFTX, 12000, kKeyRight, true},
               {SDL_CONTROLLER_AXIS_LEFTX, 11999, kKeyRight, false},     {SDL_CONTROLLER_AXIS_LEFTY, 16000, kKeyDown, true},
               {SDL_CONTROLLER_AXIS_LEFTY, -16000, kKeyDown, false},     {SDL_CONTROLLER_AXIS_LEFTY, -16000, kKeyUp, true},
               {SDL_CONTROLLER_AXIS_RIGHTX, -32768, kKeyLeft, false},    {SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 11999, kKeySpace, false},
               {SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 12000, kKeySpace, true}, {SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 11999, kKeySpace, false}};
  for (const auto& step : steps) {
    if (step.axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT) pad.trigger(step.axis, step.value);
    else pad.stick(step.axis, step.value);
    settle();
    EXPECT_EQ(held(step.key), step.held) << "axis " << step.axis << " at " << step.value;
  }
}

TEST_F(SdlGamepad, ASecondControllerKeepsItsKeysApartFromTheFirst) {
  VirtualPad first;
  settle();
  first.button(SDL_CONTROLLER_BUTTON_A, true);
  first.stick(SDL_CONTROLLER_AXIS_LEFTX, -20000);
  settle();
  VirtualPad second;  // plugged in while the first is held
  settle();
  EXPECT_TRUE(held(kKeySpace) && held(kKeyLeft));
  second.trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
  second.stick(SDL_CONTROLLER_AXIS_LEFTX, 20000);
  settle();
  first.button(SDL_CONTROLLER_BUTTON_A, false);
  first.stick(SDL_CONTROLLER_AXIS_LEFTX, 0);
  settle();
  EXPECT_TRUE(held(kKeySpace)) << "the second pad's trigger still fires";
  EXPECT_FALSE(held(kKeyY) || held(kKeyLeft));
  EXPECT_TRUE(held(kKeyRight));
}

// A pad pulled out lets go of what it held at once, and only of that, and the round is asked
// to pause. SDL centres a pad's controls as it goes, but the backend must not count on those
// last events: here they never come through.
TEST_F(SdlGamepad, UnpluggingLetsGoOfItsOwnKeysAtOnceAndAsksForAPause) {
  VirtualPad pulled, staying;
  settle();  // opened by the backend: from now on it hears every move
  pulled.trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
  pulled.stick(SDL_CONTROLLER_AXIS_LEFTX, -20000);
  pulled.button(SDL_CONTROLLER_BUTTON_B, true);
  staying.button(SDL_CONTROLLER_BUTTON_A, true);
  settle();
  EXPECT_FALSE(take_focus_lost());
  SDL_EventState(SDL_CONTROLLERAXISMOTION, SDL_IGNORE);
  SDL_EventState(SDL_CONTROLLERBUTTONUP, SDL_IGNORE);
  pulled.unplug();
  settle();
  SDL_EventState(SDL_CONTROLLERAXISMOTION, SDL_ENABLE);
  SDL_EventState(SDL_CONTROLLERBUTTONUP, SDL_ENABLE);
  EXPECT_FALSE(held(kKeyLeft) || held(kKey3) || held(kKeyN));
  EXPECT_TRUE(held(kKeySpace) && held(kKeyY)) << "the other pad's A is still down";
  EXPECT_TRUE(take_focus_lost());
}

}  // namespace
