#pragma once
// Numbers as little-endian bytes, whatever the machine's own order: whatever is hashed, recorded
// or written byte by byte reads the same on every machine.
#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>

inline void store_le32(std::uint32_t v, std::uint8_t* out) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

inline void store_le64(std::uint64_t v, std::uint8_t* out) {
  for (int i = 0; i < 8; ++i) out[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// An integer field of a block that is copied and compared as plain bytes: stored low byte
// first, read and assigned as a T.
template <typename T>
class LittleEndian {
  static_assert(std::is_integral_v<T> && sizeof(T) > 1);
  using Unsigned = std::make_unsigned_t<T>;

 public:
  operator T() const {
    Unsigned u = 0;
    for (std::size_t i = sizeof(T); i-- > 0;) u = static_cast<Unsigned>((u << 8) | bytes_[i]);
    return static_cast<T>(u);
  }
  LittleEndian& operator=(T v) {
    auto u = static_cast<Unsigned>(v);
    for (std::size_t i = 0; i < sizeof(T); ++i, u = static_cast<Unsigned>(u >> 8)) bytes_[i] = static_cast<std::uint8_t>(u);
    return *this;
  }

 private:
  std::array<std::uint8_t, sizeof(T)> bytes_;
};
