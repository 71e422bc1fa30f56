// The chained digest of the pages at checkpoints and the end.
#include "replay/page_chain.h"

#include "replay/page_digest.h"
#include "replay/replay_format.h"

bool PageChain::shown(const Image& page) {
  ++frames_;
  last_ = &page;
  const bool checkpoint = frames_ % kReplayCheckpointFrames == 0;
  last_in_chain_ = checkpoint || every_page_;
  if (last_in_chain_) value_ = page_digest_chain(value_, page);
  return checkpoint;
}

std::uint64_t PageChain::at_end() const {
  return last_in_chain_ || !last_ ? value_ : page_digest_chain(value_, *last_);
}
