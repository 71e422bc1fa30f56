// The runner's options for whole games: --autoplay and --rounds.
#include <gtest/gtest.h>

#include "headless/args.h"

namespace {

ArgsParse parse(std::initializer_list<const char*> words) {
  std::vector<const char*> argv{"torvane-headless"};
  argv.insert(argv.end(), words.begin(), words.end());
  return parse_args(static_cast<int>(argv.size()), argv.data());
}

TEST(AutoplayArgs, RoundsTakesAPositiveWholeNumberOnce) {
  const ArgsParse ok = parse({"--autoplay", "--rounds", "20", "--clock-origin", "1137"});
  EXPECT_EQ(ok.error, "");
  EXPECT_TRUE(ok.options.autoplay);
  EXPECT_EQ(ok.options.rounds, 20);
  EXPECT_EQ(ok.options.clock_origin, 1137.0);

  const ArgsParse plain = parse({"--autoplay"});
  EXPECT_EQ(plain.error, "");
  EXPECT_EQ(plain.options.rounds, 0) << "the runner plays one round when none is asked for";
  EXPECT_FALSE(parse({}).options.autoplay);

  for (const char* bad : {"0", "-1", "2x", "", "1.5"}) EXPECT_NE(parse({"--autoplay", "--rounds", bad}).error, "") << bad;
  EXPECT_NE(parse({"--rounds", "2", "--rounds", "3"}).error, "");
  EXPECT_NE(parse({"--autoplay", "--rounds"}).error, "");
}

}  // namespace
