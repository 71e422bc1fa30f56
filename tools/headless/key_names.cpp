// Key names of the script.
#include "headless/key_names.h"

#include <array>
#include <cctype>
#include <string>

namespace {

// Letters in scancode order along the three rows of the keyboard.
struct LetterRow {
  std::string_view letters;
  int first_scancode;
};
constexpr std::array<LetterRow, 3> kLetterRows{{{"qwertyuiop", 16}, {"asdfghjkl", 30}, {"zxcvbnm", 44}}};

struct NamedKey {
  std::string_view name;
  int scancode;
};

constexpr std::array<NamedKey, 13> kNamedKeys{{
    {"ESC", 1}, {"BACKSPACE", 14}, {"ENTER", 28}, {"SPACE", 57},
    {"UP", 72}, {"LEFT", 75}, {"RIGHT", 77}, {"DOWN", 80},
    {"HOME", 71}, {"END", 79}, {"MINUS", 12}, {"PLUS", 13}, {"PERIOD", 52},
}};

constexpr int kFirstFunctionKey = 59;  // F1; F10 is 68

std::string upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::optional<int> letter_scancode(char lower) {
  for (const LetterRow& row : kLetterRows) {
    if (auto i = row.letters.find(lower); i != std::string_view::npos) return row.first_scancode + static_cast<int>(i);
  }
  return std::nullopt;
}

}  // namespace

std::optional<int> scancode_for_key_name(std::string_view name) {
  if (name.size() == 1) {
    const unsigned char c = static_cast<unsigned char>(name[0]);
    if (c >= '1' && c <= '9') return 2 + (c - '1');
    if (c == '0') return 11;
    if (std::isalpha(c)) return letter_scancode(static_cast<char>(std::tolower(c)));
    return std::nullopt;
  }
  const std::string key = upper(name);
  for (const NamedKey& k : kNamedKeys) {
    if (key == k.name) return k.scancode;
  }
  if (key.size() >= 2 && key.size() <= 3 && key[0] == 'F') {
    const std::string_view digits = std::string_view(key).substr(1);
    if (digits == "10") return kFirstFunctionKey + 9;
    if (digits.size() == 1 && digits[0] >= '1' && digits[0] <= '9') {
      return kFirstFunctionKey + (digits[0] - '1');
    }
  }
  return std::nullopt;
}

std::optional<std::uint16_t> typed_code_for_scancode(int scancode) {
  switch (scancode) {
    case 1: return std::uint16_t{27};
    case 14: return std::uint16_t{8};
    case 28: return std::uint16_t{13};
    case 57: return std::uint16_t{' '};
    case 12: return std::uint16_t{'-'};
    case 13: return std::uint16_t{'='};
    case 52: return std::uint16_t{'.'};
    case 71: case 72: case 75: case 77: case 79: case 80:
      return static_cast<std::uint16_t>(0xFF00 | scancode);
    default: break;
  }
  if (scancode >= kFirstFunctionKey && scancode <= kFirstFunctionKey + 9) {
    return static_cast<std::uint16_t>(0xFF00 | scancode);
  }
  if (scancode >= 2 && scancode <= 10) return static_cast<std::uint16_t>('1' + scancode - 2);
  if (scancode == 11) return std::uint16_t{'0'};
  for (const LetterRow& row : kLetterRows) {
    const int offset = scancode - row.first_scancode;
    if (offset >= 0 && offset < static_cast<int>(row.letters.size())) {
      return static_cast<std::uint16_t>(row.letters[static_cast<std::size_t>(offset)]);
    }
  }
  return std::nullopt;
}
