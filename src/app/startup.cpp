// Start-up and the top-level loop between the menu and a round.
#include "app/startup.h"

#include <string>

#include "app/command_line.h"
#include "app/world_rounds.h"
#include "assets/generate_assets.h"
#include "assets/icon.h"
#include "assets/images.h"
#include "audio/audio.h"
#include "base/random.h"
#include "display/screen_switch.h"
#include "files/settings_file.h"
#include "gfx/gfx.h"
#include "round/run_round.h"
#include "screens/high_scores.h"
#include "screens/item_list.h"
#include "screens/main_menu.h"
#include "screens/options.h"
#include "state/reset_game.h"
#include "state/round_state.h"
#include "state/tables.h"
#include "system/i_platform.h"
#include "replay/replay_recorder.h"
#include "screens/world_table.h"
#include "system/input.h"
#include "system/network.h"
#include "system/user_folders.h"

void open_display_and_create_images(bool full_screen) {
  gfx_open_screen(kScreenWidth, kScreenHeight, 32, 2, kGfxAlphaPrimitives | (full_screen ? kGfxFullScreen : 0), 0);
  gfx_set_pages(1, 0);
  mouse_set(50, 50, 0, -1);
  create_images();
}

namespace {

// Where the two tunes are is looked up once, at start-up: the switch between the menu and a
// round then touches no heap.
std::string menu_music, round_music;

// The command line's screen choice and the music lookup are readings of the machine like the
// settings: taken through the platform seam, so a replay gets the recorded ones.
ScreenChoice read_screen_choice() {
  const Reading r = platform().take_reading(
      ReadingKind::ScreenChoice, nullptr, 0,
      [](void*, char*, std::size_t) { return Reading{static_cast<int>(start_screen_choice()), 0}; }, nullptr);
  if (r.outcome == static_cast<int>(ScreenChoice::FullScreen)) return ScreenChoice::FullScreen;
  return r.outcome == static_cast<int>(ScreenChoice::Window) ? ScreenChoice::Window : ScreenChoice::Saved;
}

std::string find_music(const char* name) {
  char path[4096];
  const Reading r = platform().take_reading(
      ReadingKind::MusicFile, path, sizeof path,
      [](void* context, char* out, std::size_t capacity) {
        const std::string found = music_file(static_cast<const char*>(context));
        const std::size_t n = found.size() < capacity ? found.size() : 0;
        found.copy(out, n);
        return Reading{0, n};
      },
      const_cast<char*>(name));
  return std::string(path, r.size);
}

}  // namespace

namespace {

// Everything the game holds back to how a new program finds it: a playback that jumps back
// starts the game again in the same process and must play the same pages.
void start_fresh() {
  forget_random();
  gfx_close_screen();
  forget_round_state();
  forget_screen_switch();
  menu_state = MenuState{};
  hold_close_requests(false);
  hs_name.clear();
  name_pos = 1;
  for (char& c : name_chars) c = 0;
  cursor_blink = 0;
  round_sending = RoundSending{};
  world_server_set = false;
}

// The server the settings name, at start and whenever the options keep another. Telling it
// changes nothing the game shows (the pages learn of it through readings), and a replay has
// no network to tell.
void tell_the_client(const char* url) {
  if (Network* network = platform().network()) network->set_server(url);
}

// The server, and what the outbox kept from earlier sessions.
void reach_the_server() {
  tell_score_server_with(tell_the_client);
  Network* network = platform().network();
  if (!network) return;
  network->set_server(chosen_score_server());
  if (!network->server()[0]) return;
  const std::string data = user_data_folder();
  if (!data.empty()) network->send_outbox((data + "/outbox").c_str());
}

}  // namespace

void start_up() {
  start_fresh();
  use_settings(load_settings());
  reach_the_server();
  // --fullscreen and --window decide this run's screen only; the saved choice stays.
  const ScreenChoice screen = read_screen_choice();
  if (screen != ScreenChoice::Saved) full_screen = screen == ScreenChoice::FullScreen ? 2 : 1;
  open_display_and_create_images(full_screen == 2);
  audio_apply_volume();  // the sound device opens with the display: only now can it take the volumes
  RoundState& rs = round_state;
  menu_state.menu_item = 1;
  menu_state.menu_marker_y = 10;
  rs.speed_factor = 1.2f;
  for (int i = 1; i <= kTrailSlots; ++i) rotation_trail[i].life = 0;
  generate_assets();
  menu_music = find_music("TorvaneMenu.mp3");
  round_music = find_music("Torvane.mp3");
  Image icon;
  draw_icon(icon, 64);
  platform().set_icon(icon);
}

int main_flow(int argc, char** argv) {
  (void)argc;
  (void)argv;
  // With a server set every round is recorded in memory as a session of its own: from "Start
  // New Game" the game starts again straight into the round, so the recording replays from a
  // program's start, as the server replays it.
  Platform& below = platform();
  ReplayRecorder recorder(below, "torvane");
  platform_install(&recorder);
  struct Reinstall {
    Platform& below;
    ~Reinstall() { platform_install(&below); }
  } reinstall{below};
  try {
    for (;;) {
      start_up();
      RoundOpening opening = read_round_opening();
      RoundState& rs = round_state;
      bool again = false;
      while (!again) {
        rs.fade_alpha = 0;
        if (opening != RoundOpening::Menu) {
          // What the menu leaves as "Start New Game" is chosen: a session begun again for the
          // round has lost it.
          rs.glow_pulse = 250;
          rs.glow_pulse_dir = 1;
          reset_game();
        } else {
          audio_stop_music();
          audio_play_music(menu_music);
          run_main_menu();
          if (open_new_round(recorder) != RoundOpening::Menu) {
            again = true;
            continue;
          }
        }
        rs.rotate_dir = 0;
        audio_stop_music();
        audio_play_music(round_music);
        if (run_round() == RoundEnd::Scored) {
          const std::span<const std::uint8_t> recording = recorder.finish_in_memory();
          enter_high_score();
          after_round(opening, recording);
        }
        opening = RoundOpening::Menu;
        // An Escape still held as the game returns must not reach the menu.
        while (key_down(kKeyEscape)) platform().sleep_ms(1);
      }
    }
  } catch (const ProgramExit& exit) {
    return exit.code;
  }
}
