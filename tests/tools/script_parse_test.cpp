// A bad line of a key script is named with its number and text. (Names, events and how the
// backend plays them are in every recorded game.)
#include <gtest/gtest.h>

#include "headless/script.h"

namespace {

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
