#pragma once
// "G A M E" / "O V E R" or "R O U N D" / "O V E R" sliding in once the round is decided; its
// position end_anim also times the end of the round.
void draw_end_banner();
