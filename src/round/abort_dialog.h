#pragma once
// The pause that Escape opens over a frozen copy of the last frame, and the fade that closes a
// round over that copy.

enum class AbortAnswer { Resume, Abort };

// Takes the snapshot, dims it, asks "Abort(Y/N)?" and, on N, brightens it back.
AbortAnswer run_abort_dialog();
// Fades snapshot_image out from the current fade_alpha to black.
void run_closing_fade();
// One frame of the black box with snapshot_image blended at fade_alpha.
void show_snapshot_frame(bool with_question);
