// Which pages the chained page digest covers: the checkpoints' and the last, or (format 2)
// every one. A page outside the chain may differ; one inside it never unnoticed.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "replay/page_chain.h"
#include "replay/page_digest.h"
#include "replay/replay_format.h"

namespace {

Image page_of(Colour c) {
  Image image;
  image.width = image.stride = 8;
  image.height = 4;
  image.pixels.assign(32, c);
  return image;
}

// Shows pages 1..n, page k coloured k unless it is the one changed.
PageChain show(int n, bool every_page, int changed = 0, std::vector<Image>* keep = nullptr) {
  static std::vector<Image> pages;
  std::vector<Image>& store = keep ? *keep : pages;
  store.clear();
  for (int k = 1; k <= n; ++k) store.push_back(page_of(k == changed ? 0xFFFFFFFFu : static_cast<Colour>(k)));
  PageChain chain(every_page);
  for (int k = 1; k <= n; ++k) {
    const bool checkpoint = chain.shown(store[k - 1]);
    EXPECT_EQ(checkpoint, k % kReplayCheckpointFrames == 0) << k;
  }
  return chain;
}

TEST(PageChain, HoldsTheCheckpointPagesOnly) {
  const std::int64_t n = 2 * kReplayCheckpointFrames;
  const std::uint64_t base = show(n, false).value();
  EXPECT_EQ(show(n, false, 5).value(), base);  // between checkpoints: not hashed
  EXPECT_NE(show(n, false, kReplayCheckpointFrames).value(), base);
  EXPECT_NE(show(n, false, n).value(), base);
  // The chain is the digest of the checkpoint pages, in order.
  std::uint64_t want = page_digest_chain(0, page_of(static_cast<Colour>(kReplayCheckpointFrames)));
  want = page_digest_chain(want, page_of(static_cast<Colour>(n)));
  EXPECT_EQ(base, want);
  EXPECT_EQ(show(n, false).frames(), n);
}

TEST(PageChain, TheEndAddsTheLastPageUnlessACheckpointHadIt) {
  const int n = kReplayCheckpointFrames + 3;
  std::vector<Image> pages;
  const PageChain chain = show(n, false, 0, &pages);
  EXPECT_EQ(chain.at_end(), page_digest_chain(chain.value(), pages.back()));
  EXPECT_NE(show(n, false, n).at_end(), chain.at_end());
  EXPECT_EQ(show(n, false, n - 1).at_end(), chain.at_end());
  // Ending on a checkpoint: its page is in once, not twice.
  const PageChain on_checkpoint = show(kReplayCheckpointFrames, false);
  EXPECT_EQ(on_checkpoint.at_end(), on_checkpoint.value());
  EXPECT_EQ(PageChain().at_end(), 0u);
}

TEST(PageChain, FormatTwoChainsEveryPage) {
  const int n = kReplayCheckpointFrames + 2;
  std::uint64_t want = 0;
  for (int k = 1; k <= n; ++k) want = page_digest_chain(want, page_of(static_cast<Colour>(k)));
  EXPECT_EQ(show(n, true).at_end(), want);
  EXPECT_NE(show(n, true, 5).at_end(), want);
}

}  // namespace
