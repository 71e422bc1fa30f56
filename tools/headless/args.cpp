// The command line of torvane-headless.
#include "headless/args.h"

#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>

#include "files/settings_file.h"
#include "headless/parse_number.h"

namespace {

constexpr double kMaxClockOrigin = 1e9;

// A plain decimal number ([-]digits[.digits][e[sign]digits]), read by strtod: no spaces, no
// '+' in front, no hexadecimal, no "inf" or "nan".
bool parse_seconds(std::string_view word, double& seconds) {
  if (word.empty() || word.front() == '+') return false;
  for (const char c : word)
    if (!((c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-')) return false;
  const std::string text(word);
  char* end = nullptr;
  seconds = std::strtod(text.c_str(), &end);
  return end == text.c_str() + text.size() && std::isfinite(seconds);
}

}  // namespace

const char* usage_text() {
  return
      "usage: torvane-headless [options]\n"
      "Runs the game without a window on a virtual clock that moves only when the game sleeps,\n"
      "driven by a script of keys. At the end prints one JSON line with the run's figures.\n"
      "\n"
      "  --script FILE        key script (below)\n"
      "  --until-ms T         stop when the virtual clock reaches T ms (exit code 0);\n"
      "                       otherwise run until the game exits\n"
      "  --dump-frame T:PATH  write the page shown first at or after T ms as PNG (repeatable)\n"
      "  --workdir DIR        run in DIR (the high-score file is DIR/data/hs.dat); without it\n"
      "                       the table is data/hs.dat when that file is there, otherwise\n"
      "                       $XDG_DATA_HOME/torvane/hs.dat, as in the game\n"
      "  --clock-origin S     the clock's reading at start, in seconds from 0 to 1e9\n"
      "                       (default 1000.0)\n"
      "  --dump-assets DIR    generate the assets, write background_1..4.png, ball_1..10.png\n"
      "                       and powerup_1..10.png into DIR, and exit\n"
      "  --dump-icon N FILE   write the game's icon, N x N pixels (16..1024), as PNG and exit\n"
      "  --autoplay           a built-in player plays: menu, rounds, final score, records\n"
      "                       its score as AUTO; ends (exit code 0) in the menu after the\n"
      "                       last round\n"
      "  --rounds N           end (exit code 0) in the menu once N rounds are over, played\n"
      "                       or scripted (with --autoplay the default is 1)\n"
      "  --record FILE        record the session (every clock reading and key) into FILE\n"
      "  --play FILE          replay a recording as fast as the CPU allows; exit code 3\n"
      "                       if it plays differently, 2 if the file is bad\n"
      "  --score-server URL   ask this score server for tickets and send it the rounds\n"
      "  --controls           with --play: the viewer's keys (SPACE pause, PERIOD a frame,\n"
      "                       MINUS / PLUS speed, LEFT / RIGHT 10 s, HOME / END) and the\n"
      "                       progress bar, pressed by a --script; --until-ms allowed\n"
      "  --help               this text\n"
      "\n"
      "Script lines, times in virtual ms since start, '#' starts a comment:\n"
      "  <ms> down KEY    press and hold KEY (a key that types also types its character)\n"
      "  <ms> up KEY      release KEY\n"
      "  <ms> tap KEY     down, then up 100 ms later\n"
      "  <ms> type TEXT   put each character of TEXT (after one space) in the typed-key buffer\n"
      "  <ms> close       the window's close button\n"
      "  <ms> signal SIG  send the runner the signal SIG: HUP, TERM or INT\n"
      "KEY: ESC ENTER SPACE LEFT RIGHT UP DOWN BACKSPACE HOME END MINUS PLUS PERIOD F1..F10,\n"
      "a digit or a letter.\n"
      "\n"
      "Signals: SIGHUP, SIGTERM and SIGINT are the window's close button: after a finished\n"
      "game the score is recorded first (under the name typed so far, or PLAYER), then the\n"
      "run ends with exit code 0 and its JSON line.\n"
      "\n"
      "Exit code: the game's own, 0 when --until-ms ends the run, 2 for bad input.\n";
}

ArgsParse parse_args(int argc, const char* const* argv) {
  ArgsParse result;
  RunnerOptions& o = result.options;
  bool seen_script = false, seen_until = false, seen_workdir = false, seen_origin = false,
       seen_assets = false, seen_rounds = false, seen_record = false, seen_play = false;

  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      o.help = true;
      continue;
    }
    if (arg == "--autoplay") {
      o.autoplay = true;
      continue;
    }
    if (arg == "--controls") {
      o.playback_controls = true;
      continue;
    }
    if (arg == "--dump-icon") {
      std::int64_t size = 0;
      if (i + 2 >= argc || !parse_whole_ms(argv[i + 1], size) || size < 16 || size > 1024 || !*argv[i + 2]) {
        result.error = "--dump-icon needs a size from 16 to 1024 and a file name";
        return result;
      }
      if (o.icon_size > 0) {
        result.error = "option --dump-icon given twice";
        return result;
      }
      o.icon_size = static_cast<int>(size);
      o.icon_path = argv[i + 2];
      i += 2;
      continue;
    }
    const bool takes_value = arg == "--script" || arg == "--until-ms" || arg == "--dump-frame" ||
                             arg == "--workdir" || arg == "--clock-origin" || arg == "--dump-assets" ||
                             arg == "--rounds" || arg == "--record" || arg == "--play" || arg == "--score-server";
    if (!takes_value) {
      result.error = arg.starts_with("-") ? "unknown option '" + std::string(arg) + "'"
                                          : "unexpected argument '" + std::string(arg) + "'";
      return result;
    }
    if (i + 1 >= argc) {
      result.error = "option " + std::string(arg) + " needs a value";
      return result;
    }
    const std::string_view value = argv[++i];
    // "--record --help" is a slip, not a file to be named --help.
    if (value.starts_with("--")) {
      result.error = "option " + std::string(arg) + " needs a value, not the option '" + std::string(value) + "'";
      return result;
    }
    auto once = [&](bool& seen) {
      if (seen) result.error = "option " + std::string(arg) + " given twice";
      seen = true;
      return result.error.empty();
    };

    if (arg == "--script") {
      if (!once(seen_script)) return result;
      if (value.empty()) { result.error = "--script needs a file name"; return result; }
      o.script_path = value;
    } else if (arg == "--until-ms") {
      if (!once(seen_until)) return result;
      if (!parse_whole_ms(value, o.until_ms)) {
        result.error = "--until-ms '" + std::string(value) + "' is not a non-negative whole number of milliseconds";
        return result;
      }
    } else if (arg == "--dump-frame") {
      const std::size_t colon = value.find(':');
      FrameDump dump{};
      if (colon == std::string_view::npos || !parse_whole_ms(value.substr(0, colon), dump.at_ms) ||
          colon + 1 == value.size()) {
        result.error = "--dump-frame '" + std::string(value) + "' is not T:PATH (T in whole ms, PATH not empty)";
        return result;
      }
      dump.path = value.substr(colon + 1);
      o.frame_dumps.push_back(dump);
    } else if (arg == "--workdir") {
      if (!once(seen_workdir)) return result;
      if (value.empty()) { result.error = "--workdir needs a directory"; return result; }
      o.workdir = value;
    } else if (arg == "--clock-origin") {
      if (!once(seen_origin)) return result;
      // Readings from far out would no longer be whole microseconds apart, which a recording
      // needs them to be.
      if (!parse_seconds(value, o.clock_origin) || o.clock_origin < 0.0 || o.clock_origin > kMaxClockOrigin) {
        result.error = "--clock-origin '" + std::string(value) + "' is not a number of seconds from 0 to 1e9";
        return result;
      }
    } else if (arg == "--rounds") {
      if (!once(seen_rounds)) return result;
      std::int64_t rounds = 0;
      if (!parse_whole_ms(value, rounds) || rounds < 1 || rounds > 100000) {
        result.error = "--rounds '" + std::string(value) + "' is not a whole number from 1 to 100000";
        return result;
      }
      o.rounds = static_cast<int>(rounds);
    } else if (arg == "--score-server") {
      if (!valid_score_server(value)) {
        result.error = "--score-server '" + std::string(value) + "' is not an http:// or https:// address";
        return result;
      }
      o.score_server = value;
    } else if (arg == "--record" || arg == "--play") {
      if (!once(arg == "--record" ? seen_record : seen_play)) return result;
      if (value.empty()) { result.error = std::string(arg) + " needs a file name"; return result; }
      (arg == "--record" ? o.record_path : o.play_path) = value;
    } else {
      if (!once(seen_assets)) return result;
      if (value.empty()) { result.error = "--dump-assets needs a directory"; return result; }
      o.dump_assets_dir = value;
    }
  }
  // A replay takes everything it reads from the recording.
  if (!o.play_path.empty()) {
    // The viewer's keys come from a script, and a paused playback may need a time limit.
    const bool viewer = o.playback_controls;
    const char* clash = !o.record_path.empty()  ? "--record"
                        : seen_script && !viewer ? "--script"
                        : o.autoplay             ? "--autoplay"
                        : seen_until && !viewer  ? "--until-ms"
                        : seen_rounds            ? "--rounds"
                        : seen_origin            ? "--clock-origin"
                        : seen_assets            ? "--dump-assets"
                        : !o.score_server.empty() ? "--score-server"
                                                 : nullptr;
    if (clash) result.error = std::string("--play cannot go with ") + clash;
  } else if (o.playback_controls) {
    result.error = "--controls goes only with --play";
  }
  return result;
}
