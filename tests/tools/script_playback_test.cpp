// A parsed script played by the headless backend reaches the game's key state and typed-key
// buffer at the virtual times it names.
#include <gtest/gtest.h>

#include "frame/input.h"
#include "headless/headless_platform.h"
#include "headless/script.h"

namespace {

std::string drain_typed() {
  std::string all;
  for (std::string k = key_read(); !k.empty(); k = key_read()) all += k;
  return all;
}

TEST(ScriptPlayback, KeysAreHeldAndTypedFromTheirTimeOn) {
  input_release_all_keys();
  drain_typed();
  const ScriptParse script = parse_script(
      "40 tap ENTER\n"
      "40 down LEFT\n"
      "300 up left\n"
      "300 type Bo\n");
  ASSERT_EQ(script.error, "");

  HeadlessPlatform backend(1000.0);
  platform_install(&backend);
  backend.set_script(script.events);

  EXPECT_EQ(key_down(kKeyEnter), 0);
  EXPECT_EQ(drain_typed(), "");
  EXPECT_DOUBLE_EQ(timer_seconds(), 1000.0);

  sleep_ms(39);
  EXPECT_EQ(key_down(kKeyEnter), 0);
  sleep_ms(1);
  EXPECT_EQ(key_down(kKeyEnter), -1);
  EXPECT_EQ(key_down(kKeyLeft), -1);
  EXPECT_EQ(drain_typed(), std::string("\r") + "\xFF" + "K");

  sleep_ms(99);  // 139 ms: the tap is still held
  EXPECT_EQ(key_down(kKeyEnter), -1);
  sleep_ms(1);  // 140 ms: released
  EXPECT_EQ(key_down(kKeyEnter), 0);
  EXPECT_EQ(key_down(kKeyLeft), -1);

  sleep_ms(24);
  sleep_ms(24);
  sleep_ms(200);  // past 300 ms
  EXPECT_EQ(key_down(kKeyLeft), 0);
  EXPECT_EQ(drain_typed(), "Bo");
  EXPECT_NEAR(timer_seconds(), 1000.388, 1e-9);

  platform_install(nullptr);
  input_release_all_keys();
}

}  // namespace
