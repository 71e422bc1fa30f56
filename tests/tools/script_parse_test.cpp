// The key script: key names, the events each line becomes and their order, and the errors.
// (How the backend plays them is in every recorded game.)
#include <gtest/gtest.h>


#include "headless/key_names.h"
#include "headless/script.h"

namespace {

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

}  // namespace
