// The key script: key names, the events each line becomes, their order, and the errors.
#include <gtest/gtest.h>

#include "headless/key_names.h"
#include "headless/script.h"

namespace {

using Kind = ScriptEvent::Kind;

ScriptEvent down(std::int64_t ms, int sc) { return {ms, Kind::Down, sc, 0}; }
ScriptEvent up(std::int64_t ms, int sc) { return {ms, Kind::Up, sc, 0}; }
ScriptEvent typed(std::int64_t ms, std::uint16_t code) { return {ms, Kind::Type, 0, code}; }

void expect_events(const ScriptParse& parse, const std::vector<ScriptEvent>& expected) {
  ASSERT_EQ(parse.error, "");
  ASSERT_EQ(parse.events.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE("event " + std::to_string(i));
    EXPECT_EQ(parse.events[i].at_ms, expected[i].at_ms);
    EXPECT_EQ(parse.events[i].kind, expected[i].kind);
    if (expected[i].kind == Kind::Type) {
      EXPECT_EQ(parse.events[i].typed, expected[i].typed);
    } else {
      EXPECT_EQ(parse.events[i].scancode, expected[i].scancode);
    }
  }
}

TEST(KeyNames, EveryKindOfKeyMapsToItsSet1Scancode) {
  const std::pair<const char*, int> cases[] = {
      {"ESC", 1},   {"1", 2},      {"9", 10},     {"0", 11},     {"BACKSPACE", 14},
      {"Q", 16},    {"P", 25},     {"ENTER", 28}, {"A", 30},     {"L", 38},
      {"Z", 44},    {"M", 50},     {"X", 45},     {"N", 49},     {"Y", 21},
      {"F", 33},    {"SPACE", 57}, {"F1", 59},    {"F10", 68},   {"UP", 72},
      {"LEFT", 75}, {"RIGHT", 77}, {"DOWN", 80},  {"esc", 1},    {"Enter", 28},
      {"q", 16},    {"f5", 63},
  };
  for (const auto& [name, scancode] : cases) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(scancode_for_key_name(name).has_value());
    EXPECT_EQ(*scancode_for_key_name(name), scancode);
  }
  for (const char* bad : {"", "F0", "F11", "ESCAPE", "#", "-", "AB", "F1O"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(scancode_for_key_name(bad).has_value());
  }
}

TEST(KeyNames, KeysTypeWhatAKeyboardWould) {
  EXPECT_EQ(typed_code_for_scancode(30), std::uint16_t{'a'});
  EXPECT_EQ(typed_code_for_scancode(50), std::uint16_t{'m'});
  EXPECT_EQ(typed_code_for_scancode(16), std::uint16_t{'q'});
  EXPECT_EQ(typed_code_for_scancode(2), std::uint16_t{'1'});
  EXPECT_EQ(typed_code_for_scancode(11), std::uint16_t{'0'});
  EXPECT_EQ(typed_code_for_scancode(28), std::uint16_t{13});
  EXPECT_EQ(typed_code_for_scancode(1), std::uint16_t{27});
  EXPECT_EQ(typed_code_for_scancode(14), std::uint16_t{8});
  EXPECT_EQ(typed_code_for_scancode(72), std::uint16_t{0xFF48});
  EXPECT_EQ(typed_code_for_scancode(80), std::uint16_t{0xFF50});
  EXPECT_EQ(typed_code_for_scancode(59), std::uint16_t{0xFF3B});
  EXPECT_EQ(typed_code_for_scancode(68), std::uint16_t{0xFF44});
  // Scancodes between the letter rows (brackets, semicolon, shift...) type nothing here.
  EXPECT_FALSE(typed_code_for_scancode(26).has_value());
  EXPECT_FALSE(typed_code_for_scancode(42).has_value());
}

TEST(ScriptParse, DownUpTapAndTypeBecomeTheirEvents) {
  const ScriptParse parse = parse_script(
      "100 down RIGHT\n"
      "200 up right\n"
      "300 tap n\n"
      "400 type Al 9\n"
      "500 down F2\n");
  expect_events(parse, {
                           down(100, 77), typed(100, 0xFF4D), up(200, 77),
                           down(300, 49), typed(300, 'n'),
                           up(400, 49),  // the tap's release, 100 ms after its press
                           typed(400, 'A'), typed(400, 'l'), typed(400, ' '), typed(400, '9'),
                           down(500, 60), typed(500, 0xFF3C),
                       });
}

TEST(ScriptParse, CommentsBlankLinesAndLineEndsAreIgnored) {
  const ScriptParse parse = parse_script(
      "# a whole-line comment\n"
      "\n"
      "   \t \n"
      "  50 down ESC   # trailing comment\r\n"
      "60 type hi # the comment and the blanks before it are not typed\n"
      "70 type a b  \n"
      "80 up ESC");  // no final line break
  expect_events(parse, {
                           down(50, 1), typed(50, 27),
                           typed(60, 'h'), typed(60, 'i'),
                           typed(70, 'a'), typed(70, ' '), typed(70, 'b'), typed(70, ' '), typed(70, ' '),
                           up(80, 1),
                       });
}

TEST(ScriptParse, EventsAreSortedByTimeKeepingLineOrderForEqualTimes) {
  const ScriptParse parse = parse_script(
      "900 up LEFT\n"
      "100 tap SPACE\n"
      "200 down LEFT\n"
      "200 down RIGHT\n"
      "100 up X\n"
      "0 type z\n");
  expect_events(parse, {
                           typed(0, 'z'),
                           down(100, 57), typed(100, ' '), up(100, 45),
                           up(200, 57),  // the tap's release comes before later lines at 200
                           down(200, 75), typed(200, 0xFF4B), down(200, 77), typed(200, 0xFF4D),
                           up(900, 75),
                       });
}

TEST(ScriptParse, EmptyScriptHasNoEvents) {
  expect_events(parse_script(""), {});
  expect_events(parse_script("# nothing\n\n"), {});
}

TEST(ScriptParse, EachMalformedLineIsReportedWithItsNumberAndText) {
  struct Case {
    const char* line;
    const char* problem;
  };
  const Case cases[] = {
      {"100 down FOO", "unknown key 'FOO'"},
      {"100 press A", "unknown action 'press'"},
      {"-5 down A", "time '-5'"},
      {"1.5 down A", "time '1.5'"},
      {"abc down A", "time 'abc'"},
      {"+5 down A", "time '+5'"},
      {"99999999999999999999 down A", "time '99999999999999999999'"},
      {"100", "missing action"},
      {"100 down", "down needs a key"},
      {"100 tap", "tap needs a key"},
      {"100 down A B", "unexpected text after the key: 'B'"},
      {"100 type", "type needs a text"},
      {"100 type ", "type needs a text"},
      {"100 type # only a comment", "type needs a text"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const std::string script = std::string("# header\n10 down A\n\n") + c.line + "\n20 up A\n";
    const ScriptParse parse = parse_script(script);
    EXPECT_TRUE(parse.events.empty());
    EXPECT_EQ(parse.error.rfind("script line 4: ", 0), 0u) << parse.error;
    EXPECT_NE(parse.error.find(c.problem), std::string::npos) << parse.error;
    EXPECT_NE(parse.error.find(c.line), std::string::npos) << parse.error;
  }
}

TEST(ScriptParse, MissingOrUnreadableFileIsAnError) {
  const ScriptParse missing = load_script("/nonexistent/torvane/script.txt");
  EXPECT_NE(missing.error.find("cannot read script file '/nonexistent/torvane/script.txt'"), std::string::npos);
  const ScriptParse directory = load_script("/");
  EXPECT_NE(directory.error.find("cannot read script file"), std::string::npos);
}

}  // namespace
