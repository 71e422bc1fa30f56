#pragma once
// With a server set, every round recorded in memory as a session of its own, and the score
// server around it: the ticket a ranked round starts from, sending the recording at its end
// through the outbox.
#include <cstdint>
#include <span>
#include <string>

#include "system/i_platform.h"

class ReplayRecorder;

// The opening a session starts with (the RoundStart reading): Menu for a program that just
// started, or how the round's own recording, begun at "Start New Game", was opened.
RoundOpening read_round_opening();
// At "Start New Game": with a server set, asks it for a ticket (the NewRound reading) and
// starts the round's own recording. Menu: go on as ever (no server, or an older recording).
RoundOpening open_new_round(ReplayRecorder& recorder);
// After a round played to its end, with its recording (empty when cut short): the local
// table first, then the server's page when a server is set.
void after_round(RoundOpening opening, std::span<const std::uint8_t> recording);

// Keeps a recording (with its ticket's id and the name, "" for none) in the outbox of the
// user's data folder until the server has it; the oldest go past the bound. Its path, or ""
// when it could not be kept.
std::string keep_in_outbox(std::span<const std::uint8_t> recording, const char* ticket_id, const char* name);

// The headless runner's recordings carry its mark, the round's own ones too.
void mark_round_recordings_runner_made(bool runner_made);
// The outbox's bound: the oldest go first past it.
inline constexpr int kOutboxMaxFiles = 16;
// The memory a round's recording may fill: what the server takes at most.
inline constexpr std::size_t kRoundRecordingBytes = 512 * 1024;
