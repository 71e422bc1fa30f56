#pragma once
// The autoplayer's choice within one frame of a round, made from what the page shows: the
// enemies, powerups and shots in the tables and the HUD's energy, weapon and ammunition in
// round_state. Nothing here allocates: it runs while the round forbids the heap.

struct SteerChoice {
  int turn = 0;        // +1 Left (raises angle_deg), -1 Right (lowers it), 0 hold still
  bool fire = false;
  int weapon_key = 0;  // 1..3 to select that weapon this frame, 0 to leave it
  int target_angle = 0;  // the angle_deg the line is heading for (for tests and tuning)
};

SteerChoice autoplay_steer();
