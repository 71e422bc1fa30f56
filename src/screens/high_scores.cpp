// The high-score table page and the record question.
#include "screens/high_scores.h"

#include <cstdio>

#include "base/text_buf.h"
#include "display/fades.h"
#include "display/frame_pacing.h"
#include "files/high_score_file.h"
#include "files/score_text.h"
#include "gfx/gfx.h"
#include "gfx/page_flip.h"
#include "round/hud.h"
#include "state/round_state.h"
#include "system/i_platform.h"
#include "system/input.h"
#include "screens/world_table.h"

float hs_scores[5];

namespace {

constexpr Colour kPromptBlue = 0xFF9191FF;
constexpr Colour kTableBlue = 0xFF0275BE;
constexpr float kNoticeX = 176.0f, kNoticeY = 220.0f;

// The table in hs_lines until ENTER, with a notice line under it when there is one.
void show_table(const char* notice);

// The player answers Y or N; false when N declined the record. Closing the window records.
bool ask_to_record() {
  RoundState& rs = round_state;
  while (key_down(kKeyY) && !close_requested()) sleep_ms(1);  // a Y still held from before must not answer
  for (;;) {
    if (close_requested()) return true;
    begin_frame();
    draw_pulsing_background();
    step_glow_pulse();
    TextBuf<48> final_score;
    final_score << " FINAL SCORE: " << pad_score(rs.score) << rs.score;
    gfx_draw_text(nullptr, 240, 180, final_score, kPromptBlue);
    gfx_draw_text(nullptr, 210, 200, "Record your top score (Y/N)?", kPromptBlue);
    if (key_down(kKeyN)) {
      work_page ^= 1;
      fade_out();
      return false;
    }
    fade_in();
    end_frame();
    pace_frame();
    sleep_ms(1);
    if (key_down(kKeyY)) return true;
  }
}

// The score is kept (or was never to be): a close that waited for it ends the game now, and
// from here on one ends it at once.
void let_closes_through() {
  const bool asked = close_requested();
  hold_close_requests(false);
  if (asked) program_exit(0);
}

struct Record {
  std::string name;
  std::int32_t score;
};

// The entry goes in where it now belongs: another game may have saved since the table was read.
void insert_record(void* context) {
  const Record& record = *static_cast<const Record*>(context);
  for (int k = 1; k <= 4; ++k) hs_scores[k] = parse_score_text(hs_lines[4 + k]);
  const int k = high_score_place(record.score);
  if (k != 0) insert_high_score(k, record.name, record.score);
}

// File lines can hold anything: only their printable characters are drawn.
void draw_table_line(float x, float y, const std::string& line, Colour colour) {
  char text[80];
  const std::size_t n = printable_text(line, text, sizeof text);
  gfx_draw_text(nullptr, x, y, std::string_view(text, n), colour);
}

}  // namespace

int high_score_place(std::int32_t score) {
  // The integer score meets the entries in single precision, as the table stores it.
  const float s = static_cast<float>(score);
  for (int k = 1; k <= 4; ++k)
    if (s > hs_scores[k]) return k;
  return 0;
}

void insert_high_score(int k, std::string_view name, std::int32_t score) {
  for (int j = 3; j >= k; --j) {
    hs_lines[j + 1] = hs_lines[j];
    hs_scores[j + 1] = hs_scores[j];
  }
  hs_scores[k] = static_cast<float>(score);
  hs_lines[k] = name;
  for (int j = 1; j <= 4; ++j) {
    char text[kScoreTextCapacity];
    hs_lines[4 + j].assign(text, format_score_text(hs_scores[j], text));
  }
}

namespace {

void offer_record() {
  RoundState& rs = round_state;
  fade_out();
  const TableFile table = read_high_score_file();
  for (int k = 1; k <= 4; ++k) hs_scores[k] = parse_score_text(hs_lines[4 + k]);
  // Only a score above the fourth entry is offered a place, even in a hand-edited table.
  if (static_cast<float>(rs.score) <= hs_scores[4]) return;
  const int k = high_score_place(rs.score);
  if (k == 0) return;
  // A table the player may not read or write is never replaced, so no record is offered.
  if (table == TableFile::Locked) {
    std::fprintf(stderr, "torvane: the high-score table cannot be updated; the score is not recorded\n");
    return;
  }
  if (!ask_to_record()) return;
  enter_name();
  Record record{hs_name.empty() ? "PLAYER" : hs_name, rs.score};
  const bool saved = save_high_score_change(insert_record, &record);
  let_closes_through();
  if (saved) {
    show_high_scores();
    return;
  }
  // The entry stays in the table shown, and the player is told it was not kept.
  fade_out();
  show_table("The table could not be saved to disk");
}

}  // namespace

void enter_high_score() {
  offer_record();
  let_closes_through();  // when no record was offered or the player said no
}

void show_high_scores() {
  fade_out();
  read_high_score_file();
  show_table(nullptr);
}

namespace {

void show_table(const char* notice) {
  RoundState& rs = round_state;
  do {
    begin_frame();
    draw_pulsing_background();
    step_glow_pulse();
    gfx_draw_text(nullptr, 285, 120, "TOP SCORES", kTableBlue);
    const Colour pulse = (static_cast<Colour>(rs.glow_pulse) << 24) | 0x0275BE;
    for (int k = 1; k <= 4; ++k) {
      const float y = static_cast<float>(140 + 12 * k);
      draw_table_line(270, y, hs_lines[k], pulse);
      draw_table_line(340, y, hs_lines[4 + k], pulse);
    }
    if (notice) gfx_draw_text(nullptr, kNoticeX, kNoticeY, notice, kTableBlue);
    gfx_draw_text(nullptr, 190, 270, "Press ENTER to return to main menu", kTableBlue);
    if (world_server_set) gfx_draw_text(nullptr, 190, 290, "Press RIGHT for the world table", kTableBlue);
    fade_in();
    end_frame();
    pace_frame();
    if (world_server_set && key_down(kKeyRight)) {
      show_world_table();
      return;
    }
  } while (!key_down(kKeyEnter));
  fade_out();
}

}  // namespace
