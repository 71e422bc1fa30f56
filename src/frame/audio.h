#pragma once
// Audio hooks. The game calls them and relies on nothing they do.
#include <cstdint>
#include <string_view>

// One handle per sound the game plays.
enum SoundHandle : std::int32_t {
  snd_cannon = 1,
  snd_blasters,
  snd_turn,
  snd_laser,
  snd_line_hit,
  snd_tag,
  snd_tag_bonus,
  snd_explosion_1,
  snd_explosion_2,
  snd_powerup_good,
  snd_powerup_bad,
  snd_tally,
  snd_tally_done,
};

void audio_play_sound(std::int32_t sound);
void audio_play_music(std::string_view file_name);
void audio_stop_music();
void audio_apply_volume();
