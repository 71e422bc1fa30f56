#pragma once
// One whole game: the frame loop, the abort dialog and the end of the round.
void run_round();
