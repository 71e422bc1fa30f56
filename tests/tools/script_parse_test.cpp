// The key script: key names, the events each line becomes and their order, the errors, and
// how the headless backend plays the events on its virtual clock.
#include <gtest/gtest.h>

#include <tuple>

#include "frame/input.h"
#include "headless/key_names.h"
#include "headless/script.h"

namespace {

using Kind = ScriptEvent::Kind;
ScriptEvent down(std::int64_t ms, int sc) { return {ms, Kind::Down, sc, 0}; }
ScriptEvent up(std::int64_t ms, int sc) { return {ms, Kind::Up, sc, 0}; }
ScriptEvent typed(std::int64_t ms, std::uint16_t code) { return {ms, Kind::Type, 0, code}; }

// One text per event, so a mismatch shows the whole sequence at once.
std::vector<std::string> texts(const std::vector<ScriptEvent>& events) {
  std::vector<std::string> out;
  for (const ScriptEvent& e : events)
    out.push_back(std::to_string(e.at_ms) + " kind " + std::to_string(static_cast<int>(e.kind)) + " scancode " +
                  std::to_string(e.scancode) + " typed " + std::to_string(e.typed));
  return out;
}

TEST(KeyNames, NamesMapToSet1ScancodesInAnyCase) {
  const std::pair<const char*, int> cases[] = {
      {"ESC", 1}, {"0", 11},     {"BACKSPACE", 14}, {"Q", 16},   {"ENTER", 28}, {"M", 50},
      {"SPACE", 57}, {"F1", 59}, {"F10", 68},       {"UP", 72},  {"DOWN", 80},  {"esc", 1}, {"f5", 63},
  };
  for (const auto& [name, scancode] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(scancode_for_key_name(name).value_or(-1), scancode);
  }
  for (const char* bad : {"", "F0", "F11", "ESCAPE", "AB"}) EXPECT_FALSE(scancode_for_key_name(bad)) << bad;
}

TEST(ScriptParse, LinesBecomeEventsSortedByTimeInLineOrder) {
  const ScriptParse parse = parse_script(
      "# a whole-line comment\n\n   \t \n"
      "900 up LEFT\n"
      "  100 tap n   # trailing comment\r\n"
      "200 down LEFT\n"
      "200 down F2\n"
      "100 up X\n"
      "0 type Al 9 # the blanks before a comment are not typed\n"
      "300 down BACKSPACE\n"
      "70 type a b  \n"
      "50 down ESC");  // no final line break
  ASSERT_EQ(parse.error, "");
  // A down of a key that types also types it; a tap releases 100 ms after its press, and
  // that release keeps the tap's line order among events of the same time.
  EXPECT_EQ(texts(parse.events),
            texts({typed(0, 'A'), typed(0, 'l'), typed(0, ' '), typed(0, '9'),
                   down(50, 1), typed(50, 27),
                   typed(70, 'a'), typed(70, ' '), typed(70, 'b'), typed(70, ' '), typed(70, ' '),
                   down(100, 49), typed(100, 'n'), up(100, 45),
                   up(200, 49), down(200, 75), typed(200, 0xFF4B), down(200, 60), typed(200, 0xFF3C),
                   down(300, 14), typed(300, 8),
                   up(900, 75)}));
  const ScriptParse empty = parse_script("# nothing\n\n");
  EXPECT_EQ(empty.error, "");
  EXPECT_TRUE(empty.events.empty());
}

TEST(ScriptParse, AMalformedLineIsReportedWithItsNumberAndText) {
  const std::pair<const char*, const char*> cases[] = {
      {"100 down FOO", "unknown key 'FOO'"},
      {"100 press A", "unknown action 'press'"},
      {"-5 down A", "time '-5'"},
      {"1.5 down A", "time '1.5'"},
      {"+5 down A", "time '+5'"},
      {"99999999999999999999 down A", "time '99999999999999999999'"},
      {"100", "missing action"},
      {"100 down", "down needs a key"},
      {"100 tap", "tap needs a key"},
      {"100 down A B", "unexpected text after the key: 'B'"},
      {"100 type # only a comment", "type needs a text"},
  };
  for (const auto& [line, problem] : cases) {
    SCOPED_TRACE(line);
    const ScriptParse parse = parse_script(std::string("# header\n10 down A\n\n") + line + "\n20 up A\n");
    EXPECT_TRUE(parse.events.empty());
    EXPECT_EQ(parse.error.rfind("script line 4: ", 0), 0u) << parse.error;
    EXPECT_NE(parse.error.find(problem), std::string::npos) << parse.error;
    EXPECT_NE(parse.error.find(line), std::string::npos) << parse.error;
  }
}

std::string drain_typed() {
  std::string all;
  for (std::string k = key_read(); !k.empty(); k = key_read()) all += k;
  return all;
}

TEST(ScriptPlayback, KeysAreHeldAndTypedFromTheirTimeOn) {
  input_release_all_keys();
  drain_typed();
  HeadlessPlatform backend(1000.0);
  platform_install(&backend);
  backend.set_script(parse_script("40 tap ENTER\n40 down LEFT\n300 up left\n300 type Bo\n").events);
  // {ms slept, ENTER, LEFT, typed}: the tap holds ENTER for 100 ms.
  const std::tuple<int, int, int, const char*> steps[] = {
      {0, 0, 0, ""}, {39, 0, 0, ""}, {1, -1, -1, "\r\xFF" "K"}, {99, -1, -1, ""}, {1, 0, -1, ""}, {160, 0, 0, "Bo"}};
  for (const auto& [sleep, enter, left, text] : steps) {
    sleep_ms(sleep);
    SCOPED_TRACE(timer_seconds());
    EXPECT_EQ(key_down(kKeyEnter), enter);
    EXPECT_EQ(key_down(kKeyLeft), left);
    EXPECT_EQ(drain_typed(), text);
  }
  EXPECT_NEAR(timer_seconds(), 1000.3, 1e-9);
  platform_install(nullptr);
  input_release_all_keys();
}

}  // namespace
