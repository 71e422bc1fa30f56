#pragma once
// A fixed-capacity text for the texts drawn every frame ("Score:" + digits and the like), so
// that building them never touches the heap while a round runs.
#include <charconv>
#include <cstddef>
#include <string_view>

template <std::size_t Capacity>
class TextBuf {
 public:
  TextBuf() = default;
  explicit TextBuf(std::string_view s) { append(s); }

  TextBuf& append(std::string_view s) {
    for (char c : s) {
      if (size_ == Capacity) break;
      data_[size_++] = c;
    }
    return *this;
  }
  // The decimal text of an integer: no leading space, "-" before a negative number.
  TextBuf& append_int(long long v) {
    char digits[24];
    auto result = std::to_chars(digits, digits + sizeof digits, v);
    return append(std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)));
  }
  TextBuf& operator<<(std::string_view s) { return append(s); }
  TextBuf& operator<<(int v) { return append_int(v); }

  std::string_view view() const { return {data_, size_}; }
  operator std::string_view() const { return view(); }
  std::size_t size() const { return size_; }
  void clear() { size_ = 0; }

 private:
  char data_[Capacity]{};
  std::size_t size_ = 0;
};
