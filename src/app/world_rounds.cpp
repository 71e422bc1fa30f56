// A round's own recording and the score server: ticket, outbox, sending.
#include "app/world_rounds.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "files/settings_file.h"
#include "replay/replay_recorder.h"
#include "screens/high_scores.h"
#include "screens/options.h"
#include "screens/world_table.h"
#include "state/round_state.h"
#include "system/network.h"
#include "system/safe_save.h"
#include "system/user_folders.h"

namespace {

// Static: a round's recording never touches the heap.
std::uint8_t round_buffer[kRoundRecordingBytes];
bool runner_mark = false;
RoundOpening pending_opening = RoundOpening::Menu;  // for the session begun by a restart
char ticket[80] = "";                               // "<id> <origin>" of the ranked round
constexpr int kTicketWaitMs = 1500;

Reading opening_work(void*, char* out, std::size_t capacity) {
  // The bytes say whether a server is set, for the pages that point to the world table.
  Network* network = platform().network();
  const bool set = network && network->server()[0];
  if (capacity > 0) out[0] = set ? '1' : '0';
  return Reading{static_cast<int>(pending_opening), capacity > 0 ? 1u : 0u};
}

Reading ticket_work(void*, char* out, std::size_t capacity) {
  Network* network = platform().network();
  if (!network || !network->server()[0]) return Reading{static_cast<int>(RoundOpening::Plain), 0};
  // Between frames, and only this long: a server that does not answer leaves the round unranked.
  if (!network->start(NetJob::Ticket, nullptr, 0, nullptr, nullptr, kTicketWaitMs) ||
      !network->wait(NetJob::Ticket, kTicketWaitMs + 200))
    return Reading{static_cast<int>(RoundOpening::Unreachable), 0};
  const NetAnswer a = network->poll(NetJob::Ticket, out, capacity);
  if (a.state != NetState::Done) return Reading{static_cast<int>(RoundOpening::Unreachable), 0};
  return Reading{static_cast<int>(RoundOpening::Ranked), a.size};
}

std::string outbox_folder() {
  const std::string data = user_data_folder();
  return data.empty() ? std::string() : data + "/outbox";
}

}  // namespace

std::string keep_in_outbox(std::span<const std::uint8_t> recording, const char* ticket_id, const char* name) {
  const std::string folder = outbox_folder();
  if (folder.empty() || !make_folders(folder)) return "";
  std::vector<std::string> kept;
  if (DIR* dir = ::opendir(folder.c_str())) {
    while (const dirent* e = ::readdir(dir)) {
      const std::string n = e->d_name;
      if (n.size() > 4 && n.compare(n.size() - 4, 4, ".tvo") == 0) kept.push_back(n);
    }
    ::closedir(dir);
  }
  std::sort(kept.begin(), kept.end());
  for (std::size_t i = 0; i + kOutboxMaxFiles <= kept.size(); ++i) ::unlink((folder + "/" + kept[i]).c_str());
  // Named by the wall clock, so they go in the order played.
  static int sent_this_run = 0;
  char file[64];
  std::snprintf(file, sizeof file, "/%015lld-%d-%06d.tvo", static_cast<long long>(std::time(nullptr)), ::getpid(),
                ++sent_this_run);
  const std::string path = folder + file;
  std::string bytes = std::string(ticket_id[0] ? ticket_id : "-") + " " + (name[0] ? name : "-") + "\n";
  bytes.append(reinterpret_cast<const char*>(recording.data()), recording.size());
  if (replace_file(path.c_str(), bytes.data(), bytes.size()) != Replaced::Done) return "";
  return path;
}

namespace {

struct SendContext {
  std::span<const std::uint8_t> recording;
  const char* ticket_id;
  const char* name;
};

bool start_send(Network& network, void* context) {
  const SendContext& c = *static_cast<SendContext*>(context);
  const std::string path = keep_in_outbox(c.recording, c.ticket_id, c.name);
  if (path.empty())
    return network.start(NetJob::Send, reinterpret_cast<const char*>(c.recording.data()), c.recording.size(), c.name,
                         nullptr, 15000);
  return network.start(NetJob::Send, nullptr, 0, nullptr, path.c_str(), 15000);
}

std::span<const std::uint8_t> last_recording;

void send(const char* ticket_id) {
  // The name typed into this round's record, else the player's own setting.
  char name[17] = "";
  const std::string& typed = hs_name;
  const char* chosen = !typed.empty() ? typed.c_str() : chosen_player_name();
  std::snprintf(name, sizeof name, "%s", chosen);
  SendContext context{last_recording, ticket_id, name};
  std::size_t n = 0;
  round_sending.state = net_reading(NetJob::Send, start_send, &context, round_sending.text, sizeof round_sending.text - 1, &n);
  round_sending.text[n] = '\0';
}

void send_unranked() { send(""); }

}  // namespace

void mark_round_recordings_runner_made(bool runner_made) { runner_mark = runner_made; }

RoundOpening read_round_opening() {
  char set = '0';
  const Reading r = platform().take_reading(ReadingKind::RoundStart, &set, 1, opening_work, nullptr);
  pending_opening = RoundOpening::Menu;
  world_server_set = r.size == 1 && set == '1';
  const auto opening = static_cast<RoundOpening>(r.outcome >= 0 && r.outcome <= 3 ? r.outcome : 0);
  if (opening == RoundOpening::Unreachable) {
    std::snprintf(round_notice, sizeof round_notice, "Unranked: the score server cannot be reached");
    round_notice_frames = 41 * 4;
  }
  return opening;
}

RoundOpening open_new_round(ReplayRecorder& recorder) {
  char answer[sizeof ticket] = "";
  const Reading r = platform().take_reading(ReadingKind::NewRound, answer, sizeof answer - 1, ticket_work, nullptr);
  const auto opening = static_cast<RoundOpening>(r.outcome >= 0 && r.outcome <= 3 ? r.outcome : 0);
  // Without a server the game goes on as it always did: nothing is sent, and a round begun in
  // the menu is the same round as ever.
  if (opening == RoundOpening::Menu || opening == RoundOpening::Plain) return RoundOpening::Menu;
  ticket[0] = '\0';
  if (opening == RoundOpening::Ranked) {
    answer[r.size] = '\0';
    std::memcpy(ticket, answer, r.size + 1);
    const char* space = std::strchr(ticket, ' ');
    // The ticket's origin is where the round's clock starts: the server checks it.
    if (space) recorder.rebase_clock(std::strtod(space + 1, nullptr));
  }
  pending_opening = opening;
  recorder.start_in_memory(round_buffer, sizeof round_buffer, runner_mark);
  return opening;
}

void after_round(RoundOpening opening, std::span<const std::uint8_t> recording) {
  round_sending = RoundSending{};
  last_recording = recording;
  if (opening == RoundOpening::Menu || opening == RoundOpening::Plain) return;
  bool offer = false;
  if (recording.empty()) {
    std::snprintf(round_sending.text, sizeof round_sending.text, "the recording outgrew its memory: not sent");
  } else if (opening == RoundOpening::Ranked) {
    char id[80];
    std::snprintf(id, sizeof id, "%s", ticket);
    if (char* space = std::strchr(id, ' ')) *space = '\0';
    send(id);
  } else {
    std::snprintf(round_sending.text, sizeof round_sending.text, "unranked: the server could not be reached at the start");
    offer = true;
  }
  show_world_table(offer ? send_unranked : nullptr);
}
