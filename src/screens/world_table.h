#pragma once
// The high-score screen's second page: the score server's best ten and what became of the
// round just sent. Everything the server answers reaches the game as a reading, so a replay
// shows the same page without a network.
#include <cstddef>
#include <cstdint>

#include "system/network.h"

// What the page says about the round just played ("" when there is nothing to say).
struct RoundSending {
  NetState state = NetState::Idle;
  char text[160] = "";
};
extern RoundSending round_sending;
// A score server is set for this session (as its opening reading said): the table page then
// points to this one.
extern bool world_server_set;

// Takes a reading of a request's state: kick (with the request's work) starts it first. The
// text goes into out; its state comes back.
using NetKick = bool (*)(Network& network, void* context);
NetState net_reading(NetJob job, NetKick kick, void* context, char* out, std::size_t capacity, std::size_t* size);

// The page, until ENTER; S sends an unranked round (send_unranked, when not null, does it).
void show_world_table(void (*send_unranked)() = nullptr);
