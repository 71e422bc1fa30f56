// Controllers act through the keyboard's key state; a key stays held while any control
// standing for it is, and unplugging lets go of everything.
#include <gtest/gtest.h>

#include "frame/input.h"
#include "platform/gamepad_map.h"

namespace {

class Gamepad : public ::testing::Test {
 protected:
  void SetUp() override { input_release_all_keys(); }
  PadKeyState state;
};

TEST_F(Gamepad, ControlsHoldTheirKeysAndReleaseThem) {
  pad_apply(state, 0, PadControl::DpadLeft, true);
  EXPECT_EQ(key_down(kKeyLeft), -1);
  pad_apply(state, 0, PadControl::DpadLeft, false);
  EXPECT_EQ(key_down(kKeyLeft), 0);
  // A answers "yes" and fires; B answers "no" and picks the blasters.
  pad_apply(state, 0, PadControl::A, true);
  EXPECT_EQ(key_down(kKeySpace), -1);
  EXPECT_EQ(key_down(kKeyY), -1);
  pad_apply(state, 0, PadControl::B, true);
  EXPECT_EQ(key_down(kKey3), -1);
  EXPECT_EQ(key_down(kKeyN), -1);
  pad_apply(state, 0, PadControl::Start, true);
  EXPECT_EQ(key_down(kKeyEnter), -1);
  pad_apply(state, 0, PadControl::Back, true);
  EXPECT_EQ(key_down(kKeyEscape), -1);
  pad_apply(state, 0, PadControl::X, true);
  pad_apply(state, 0, PadControl::Y, true);
  EXPECT_EQ(key_down(kKey1), -1);
  EXPECT_EQ(key_down(kKey2), -1);
}

TEST_F(Gamepad, AKeyStaysHeldWhileAnotherControlStillHoldsIt) {
  pad_apply(state, 0, PadControl::A, true);
  pad_apply(state, 1, PadControl::RightTrigger, true);
  pad_apply(state, 0, PadControl::A, false);
  EXPECT_EQ(key_down(kKeySpace), -1);  // the trigger of the other pad still fires
  EXPECT_EQ(key_down(kKeyY), 0);
  pad_apply(state, 0, PadControl::StickRight, true);
  pad_apply(state, 0, PadControl::DpadRight, true);
  pad_apply(state, 0, PadControl::StickRight, false);
  EXPECT_EQ(key_down(kKeyRight), -1);
}

TEST_F(Gamepad, FiringWithAThroughBackDoesNotAnswerTheAbortQuestion) {
  pad_apply(state, 0, PadControl::A, true);
  pad_apply(state, 0, PadControl::Back, true);
  EXPECT_EQ(key_down(kKeyEscape), -1);
  EXPECT_EQ(key_down(kKeySpace), -1);
  EXPECT_EQ(key_down(kKeyY), 0);
  pad_apply(state, 0, PadControl::A, false);
  pad_apply(state, 0, PadControl::A, true);  // a fresh press answers "yes"
  EXPECT_EQ(key_down(kKeyY), -1);
}

TEST_F(Gamepad, UnpluggingWhileHeldLetsGoOfEveryKey) {
  pad_apply(state, 2, PadControl::RightTrigger, true);
  pad_apply(state, 2, PadControl::StickUp, true);
  pad_unplug(state, 2);
  EXPECT_EQ(key_down(kKeySpace), 0);
  EXPECT_EQ(key_down(kKeyUp), 0);
  // A new controller in the same slot starts with nothing held.
  pad_apply(state, 2, PadControl::RightTrigger, false);
  EXPECT_EQ(state.holders(kKeySpace), 0);
  pad_apply(state, 9, PadControl::A, true);  // no such slot: ignored
  EXPECT_EQ(key_down(kKeySpace), 0);
}

}  // namespace
