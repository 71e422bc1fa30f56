#include "effects/messages.h"

// Placeholder until this part of the game lands.
void show_message(std::string_view) {}
void update_messages() {}
