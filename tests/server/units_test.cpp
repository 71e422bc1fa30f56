// The server's small rules, each where a slip would show: names, escaping, the rate limit and
// the command line's ranges.
#include <gtest/gtest.h>

#include "names.h"
#include "options.h"
#include "pages.h"
#include "rate_limit.h"

namespace {

TEST(ServerRules, ANameIsOneToSixteenLettersAndDigits) {
  for (const char* good : {"A", "LOST", "abcXYZ0189", "ABCDEFGHIJKLMNOP"}) EXPECT_TRUE(valid_player_name(good)) << good;
  for (const char* bad : {"", "ABCDEFGHIJKLMNOPQ", "a b", "<b>", "x&y", "\xc3\xa9", "a_b", "a-b", "@", "[", "`", "{", "/", ":"})
    EXPECT_FALSE(valid_player_name(bad)) << bad;
}

TEST(ServerRules, TheTablePageEscapesEveryName) {
  EXPECT_EQ(html_escape(R"(<a href="x">'&'</a>)"), "&lt;a href=&quot;x&quot;&gt;&#39;&amp;&#39;&lt;/a&gt;");
  GameRow g;
  g.id = 7;
  g.name = "<script>";
  g.score = 1205;
  g.seconds = 195.9;
  g.received_ms = 1765000000000;  // 2025-12-06
  const std::string page = table_page({g}, {}, false);
  EXPECT_EQ(page.find("<script>"), std::string::npos);
  EXPECT_NE(page.find("<td>1</td><td>&lt;script&gt;</td><td>1205</td><td>3:15</td><td>2025-12-06</td>"),
            std::string::npos)
      << page;
  EXPECT_EQ(page.find("http"), std::string::npos) << "no outside resources";
}

TEST(ServerRules, TheRateLimitLetsABurstThroughPerAddress) {
  RateLimit limit(6, 2);  // a token every ten seconds
  int retry = 0;
  EXPECT_TRUE(limit.take("10.0.0.1", retry));
  EXPECT_TRUE(limit.take("10.0.0.1", retry));
  EXPECT_FALSE(limit.take("10.0.0.1", retry));
  EXPECT_GE(retry, 9);
  EXPECT_LE(retry, 10);
  EXPECT_TRUE(limit.take("10.0.0.2", retry));
  RateLimit none(0, 1);
  for (int i = 0; i < 100; ++i) EXPECT_TRUE(none.take("10.0.0.1", retry));
}

TEST(ServerRules, TheCommandLineChecksEveryNumberAgainstItsRange) {
  auto parse = [](std::vector<const char*> args) {
    args.insert(args.begin(), "torvane-scores");
    return parse_server_options(static_cast<int>(args.size()), args.data());
  };
  OptionsParse p = parse({"--db", "s.sqlite", "--listen", "0.0.0.0:9000", "--workers", "3"});
  EXPECT_EQ(p.error, "");
  EXPECT_EQ(p.options.host, "0.0.0.0");
  EXPECT_EQ(p.options.port, 9000);
  EXPECT_EQ(p.options.workers, 3);
  EXPECT_EQ(p.options.body_limit, 512u * 1024u);
  EXPECT_EQ(parse({"--listen", "127.0.0.1:1"}).error, "--db is required");
  EXPECT_EQ(parse({"--db", "x", "--listen", "127.0.0.1:65536"}).error, "--listen wants HOST:PORT");
  EXPECT_EQ(parse({"--db", "x", "--workers", "0"}).error, "--workers wants a whole number from 1 to 256");
  EXPECT_EQ(parse({"--db", "x", "--workers", "257"}).error, "--workers wants a whole number from 1 to 256");
  EXPECT_EQ(parse({"--db", "x", "--workers", "256"}).error, "");
  EXPECT_EQ(parse({"--db", "x", "--rate"}).error, "--rate needs a value");
  EXPECT_EQ(parse({"--db", "x", "--bogus", "1"}).error, "unknown option --bogus");
}

}  // namespace
