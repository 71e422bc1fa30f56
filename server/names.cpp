// Player names: the one character set the server accepts.
#include "names.h"

bool valid_player_name(std::string_view name) {
  if (name.empty() || name.size() > kMaxPlayerName) return false;
  for (char c : name)
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
  return true;
}
