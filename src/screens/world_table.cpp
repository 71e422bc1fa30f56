// The score server's best ten, and the fate of the round just sent.
#include "screens/world_table.h"

#include <cstring>

#include "display/fades.h"
#include "display/frame_pacing.h"
#include "gfx/gfx.h"
#include "gfx/page_flip.h"
#include "state/round_state.h"
#include "system/i_platform.h"
#include "system/input.h"

RoundSending round_sending;
bool world_server_set = false;

namespace {

constexpr Colour kTableBlue = 0xFF0275BE;

struct NetWork {
  NetJob job;
  NetKick kick;
  void* context;
};

Reading net_work(void* context, char* out, std::size_t capacity) {
  const NetWork& w = *static_cast<NetWork*>(context);
  Network* network = platform().network();
  constexpr char kNone[] = "no server set";
  if (!network || !network->server()[0]) {
    const std::size_t n = capacity < sizeof kNone - 1 ? capacity : sizeof kNone - 1;
    std::memcpy(out, kNone, n);
    return Reading{static_cast<int>(NetState::NoServer), n};
  }
  if (w.kick && !w.kick(*network, w.context)) {
    constexpr char kBusy[] = "kept: it goes after the game sent before it";
    const std::size_t n = capacity < sizeof kBusy - 1 ? capacity : sizeof kBusy - 1;
    std::memcpy(out, kBusy, n);
    return Reading{static_cast<int>(NetState::Failed), n};
  }
  const NetAnswer a = network->poll(w.job, out, capacity);
  return Reading{static_cast<int>(a.state), a.size};
}

// A table already on its way is as good as a new one.
bool start_table(Network& network, void*) {
  network.start(NetJob::Table, nullptr, 0, nullptr, nullptr, 5000);
  return true;
}

}  // namespace

NetState net_reading(NetJob job, NetKick kick, void* context, char* out, std::size_t capacity, std::size_t* size) {
  NetWork work{job, kick, context};
  const Reading r = platform().take_reading(ReadingKind::Network, out, capacity, net_work, &work);
  *size = r.size;
  return r.outcome >= 0 && r.outcome <= static_cast<int>(NetState::NoServer) ? static_cast<NetState>(r.outcome)
                                                                              : NetState::Failed;
}

void show_world_table(void (*send_unranked)()) {
  RoundState& rs = round_state;
  char table[kNetMaxText + 1];
  std::size_t table_size = 0;
  NetState table_state = net_reading(NetJob::Table, start_table, nullptr, table, kNetMaxText, &table_size);
  fade_out();
  // The ENTER that left the page before must not leave this one too.
  while (key_down(kKeyEnter) && !close_requested()) sleep_ms(1);
  do {
    // Between frames: the answers the page waits for, as readings.
    if (table_state == NetState::Pending || table_state == NetState::Idle)
      table_state = net_reading(NetJob::Table, nullptr, nullptr, table, kNetMaxText, &table_size);
    if (round_sending.state == NetState::Pending) {
      std::size_t n = 0;
      round_sending.state = net_reading(NetJob::Send, nullptr, nullptr, round_sending.text, sizeof round_sending.text - 1, &n);
      round_sending.text[n] = '\0';
    }
    if (send_unranked && key_down(kKeyS)) {
      send_unranked();
      send_unranked = nullptr;
    }
    begin_frame();
    draw_pulsing_background();
    step_glow_pulse();
    gfx_draw_text(nullptr, 270, 90, "WORLD TABLE", kTableBlue);
    const Colour pulse = (static_cast<Colour>(rs.glow_pulse) << 24) | 0x0275BE;
    if (table_state == NetState::Done) {
      table[table_size] = '\0';
      int place = 0;
      for (char* line = table; *line && place < 10;) {
        char* end = std::strchr(line, '\n');
        if (end) *end = '\0';
        char row[48];
        std::snprintf(row, sizeof row, "%2d. %.40s", ++place, line);
        gfx_draw_text(nullptr, 240, static_cast<float>(110 + 12 * place), row, pulse);
        if (!end) break;
        *end = '\n';
        line = end + 1;
      }
      if (place == 0) gfx_draw_text(nullptr, 250, 134, "no verified games yet", pulse);
    } else if (table_state == NetState::NoServer) {
      gfx_draw_text(nullptr, 250, 134, "no server set", pulse);
    } else if (table_state == NetState::Failed) {
      gfx_draw_text(nullptr, 220, 134, "cannot reach the server", pulse);
    } else {
      gfx_draw_text(nullptr, 250, 134, "asking the server...", pulse);
    }
    if (round_sending.text[0]) gfx_draw_text(nullptr, 120, 260, round_sending.text, kTableBlue);
    if (send_unranked) gfx_draw_text(nullptr, 170, 280, "Press S to send this round, unranked", kTableBlue);
    gfx_draw_text(nullptr, 190, 300, "Press ENTER to return to main menu", kTableBlue);
    fade_in();
    end_frame();
    pace_frame();
  } while (!key_down(kKeyEnter));
  fade_out();
}
