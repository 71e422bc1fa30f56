#pragma once
// What the server asks of a recording before it replays it, shared by the door (the HTTP
// handler, which refuses at once what can never be verified) and the verifier.
#include <string>

#include "replay/replay_format.h"

// "" when the recording is whole and of this game's version; otherwise why it is refused.
std::string recording_problem(const ReplayData& data);
