#pragma once
// Player names: letters and digits only, checked wherever a name comes in.
#include <string_view>

inline constexpr std::size_t kMaxPlayerName = 16;

bool valid_player_name(std::string_view name);
