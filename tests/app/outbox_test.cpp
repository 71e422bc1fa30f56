// The outbox: what the server has not taken yet stays in the user's data folder, at most a
// bound's worth, the newest kept.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "app/world_rounds.h"
#include "tools/runner_process.h"

TEST(Outbox, KeepsTheNewestRecordingsUpToItsBoundWithTheirTicketAndName) {
  const std::filesystem::path dir = fresh_temp_dir("outbox");
  setenv("XDG_DATA_HOME", dir.c_str(), 1);
  const std::uint8_t bytes[] = {'T', 'V', 0, 1};
  std::vector<std::string> kept;
  for (int i = 0; i < kOutboxMaxFiles + 4; ++i) kept.push_back(keep_in_outbox(bytes, i == 0 ? "" : "abc", "ADA"));
  std::vector<std::string> there;
  for (const auto& e : std::filesystem::directory_iterator(dir / "torvane" / "outbox")) there.push_back(e.path().string());
  std::sort(there.begin(), there.end());
  ASSERT_EQ(there.size(), static_cast<std::size_t>(kOutboxMaxFiles));
  // The newest is there, the oldest went.
  EXPECT_NE(std::find(there.begin(), there.end(), kept.back()), there.end());
  EXPECT_EQ(std::find(there.begin(), there.end(), kept.front()), there.end());
  EXPECT_EQ(read_file(kept.back()), std::string("abc ADA\n") + std::string(reinterpret_cast<const char*>(bytes), sizeof bytes));
  std::filesystem::remove_all(dir);
}
