// Where the high-score file lives.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "files/high_score_file.h"
#include "system/user_folders.h"

namespace {

bool working_folder_kept = false;

}  // namespace

void keep_high_scores_in_working_folder(bool keep) { working_folder_kept = keep; }

HighScoreLocation high_score_location() {
  const HighScoreLocation portable{"data", "data/hs.dat"};
  std::error_code ec;
  // Anything at all named data/hs.dat counts: a copy that is there but unreadable must not
  // quietly start a second table elsewhere.
  if (working_folder_kept || std::filesystem::symlink_status(portable.file, ec).type() !=
                                 std::filesystem::file_type::not_found)
    return portable;
  const std::string folder = user_data_folder();
  if (folder.empty()) {  // no home to keep it in
    static bool told = false;
    if (!told) std::fputs("torvane: neither XDG_DATA_HOME nor HOME names a folder: the high scores go to data/hs.dat\n", stderr);
    told = true;
    return portable;
  }
  return {folder, folder + "/hs.dat"};
}
