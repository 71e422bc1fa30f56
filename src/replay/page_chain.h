#pragma once
// The chained page digest a session is checked by. From replay format 3 only the pages at
// checkpoints (every 41st page shown) go into the chain, and at the end the last page shown:
// checking a session then hashes one page in 41 rather than every one, while a game that goes
// its own way still shows by its next checkpoint's page. Format 2 chained every page.
#include <cstdint>

#include "gfx/gfx.h"

class PageChain {
 public:
  explicit PageChain(bool every_page = false) : every_page_(every_page) {}

  // A page shown; true when it is a checkpoint's, now in value().
  bool shown(const Image& page);
  // The chain through the latest checkpoint (format 2: through the latest page).
  std::uint64_t value() const { return value_; }
  // value() with the last page shown folded in when it was not a checkpoint's, read as it
  // stands now: the page handed to shown() must still exist (the display's pages always do).
  std::uint64_t at_end() const;
  std::int64_t frames() const { return frames_; }

 private:
  bool every_page_;
  std::uint64_t value_ = 0;  // 0 before the first page
  std::int64_t frames_ = 0;
  const Image* last_ = nullptr;
  bool last_in_chain_ = true;
};
