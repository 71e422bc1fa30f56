// The chained digests of every page shown and every sound call, over bytes in a fixed order.
#include "replay/page_digest.h"

#include <string_view>

#define XXH_STATIC_LINKING_ONLY  // the streaming state on the stack
#include <xxhash.h>

#include <bit>
#include <cstddef>

#include "base/little_endian.h"
#include "gfx/gfx.h"

namespace {

// A big-endian machine hashes its pixel words low byte first, as a little-endian one finds them
// in memory, so both give the same digest.
[[maybe_unused]] std::uint64_t chain_swapped(std::uint64_t previous, const Image& page) {
  XXH3_state_t state{};  // the reset compares the seed it finds there
  XXH3_64bits_reset_withSeed(&state, previous);
  std::uint8_t bytes[256 * 4];
  for (int y = 0; y < page.height; ++y) {
    const Colour* row = page.row(y);
    for (int x = 0; x < page.width; x += 256) {
      const int n = page.width - x < 256 ? page.width - x : 256;
      for (int i = 0; i < n; ++i) store_le32(row[x + i], bytes + 4 * i);
      XXH3_64bits_update(&state, bytes, static_cast<std::size_t>(n) * 4);
    }
  }
  return XXH3_64bits_digest(&state);
}

}  // namespace

std::uint64_t page_digest_chain(std::uint64_t previous, const Image& page) {
  const std::size_t row_bytes = static_cast<std::size_t>(page.width) * sizeof(Colour);
  if (page.width <= 0 || page.height <= 0) return XXH3_64bits_withSeed(nullptr, 0, previous);
  if constexpr (std::endian::native == std::endian::big) return chain_swapped(previous, page);
  if (page.stride == page.width)
    return XXH3_64bits_withSeed(page.row(0), row_bytes * static_cast<std::size_t>(page.height), previous);
  // Rows with a gap between them hash as if they were packed.
  XXH3_state_t state{};  // the reset compares the seed it finds there
  XXH3_64bits_reset_withSeed(&state, previous);
  for (int y = 0; y < page.height; ++y) XXH3_64bits_update(&state, page.row(y), row_bytes);
  return XXH3_64bits_digest(&state);
}

void SoundDigest::chain(std::uint32_t kind, std::int64_t value) {
  std::uint8_t call[16];
  store_le64(kind, call);
  store_le64(static_cast<std::uint64_t>(value), call + 8);
  value_ = XXH3_64bits_withSeed(call, sizeof call, value_);
}

void SoundDigest::play_music(const char* file_name) {
  std::string_view name = file_name ? file_name : "";
  if (const auto slash = name.rfind('/'); slash != std::string_view::npos) name.remove_prefix(slash + 1);
  std::uint64_t value = 0;  // wraps, as a hash may
  for (const char c : name) value = value * 131 + static_cast<unsigned char>(c);
  chain(2, static_cast<std::int64_t>(value));
}
