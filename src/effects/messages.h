#pragma once
// Floating messages that scroll along the bottom of the screen.
#include <string_view>

void show_message(std::string_view text);
void update_messages();
