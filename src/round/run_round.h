#pragma once
// One whole round: the frame loop, the abort question, the closing fade and the final score.

enum class RoundEnd {
  Aborted,  // left by the abort question: nothing to record
  Scored,   // lost or finished: the final score was shown and may go into the table
};

RoundEnd run_round();
