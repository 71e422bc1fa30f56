// --dump-frame: the visible page at requested times as PNG.
#include "headless/frame_dump.h"

#include "headless/png_writer.h"

void frame_dumps_start(FrameDumps& dumps, std::vector<FrameDump> requests) {
  dumps.requests = std::move(requests);
  dumps.written.assign(dumps.requests.size(), false);
  dumps.errors.clear();
}

void frame_dumps_on_present(FrameDumps& dumps, const Image& page, std::int64_t now_us) {
  for (std::size_t i = 0; i < dumps.requests.size(); ++i) {
    if (dumps.written[i] || dumps.requests[i].at_ms * 1000 > now_us) continue;
    dumps.written[i] = true;
    const std::string error = write_png(dumps.requests[i].path, page);
    if (!error.empty()) dumps.errors.push_back(error);
  }
}

std::vector<std::string> frame_dumps_problems(const FrameDumps& dumps, std::int64_t end_us) {
  std::vector<std::string> problems = dumps.errors;
  for (std::size_t i = 0; i < dumps.requests.size(); ++i) {
    if (dumps.written[i]) continue;
    problems.push_back("no frame was shown at or after " + std::to_string(dumps.requests[i].at_ms) +
                       " ms (the run ended at " + std::to_string(end_us / 1000) + " ms); '" +
                       dumps.requests[i].path + "' not written");
  }
  return problems;
}
