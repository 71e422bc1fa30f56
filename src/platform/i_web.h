#pragma once
// The web backend (WebAssembly in a browser page). Only src/app/web_main.cpp and the i_web
// files know about it.
#include <memory>
#include <string>

#include "system/i_platform.h"

std::unique_ptr<Platform> make_web_platform();

// Puts the browser's lasting storage under the home folder (settings, high scores) and reads
// it in; returns once it is there.
void web_mount_storage();

// What the page's buttons asked for. The backend ends the running session (program_exit 0)
// as soon as one is waiting.
enum class WebRequest { None, DownloadRecording, PlayRecording };
WebRequest web_take_request();
// Where a recording handed in by the page is put for this page load.
constexpr const char* kWebPlayFile = "/tmp/play.tvr";
// True when the page handed in a recording to play on this load (now in kWebPlayFile).
bool web_take_recording_to_play();
// Offers a file to the player as a download under the given name.
void web_offer_download(const std::string& path, const std::string& name);
// Keeps a line for under the picture, shown after the next load.
void web_status_after_reload(const std::string& text);
// Loads the page afresh: every session starts from a new program, as a recording expects.
[[noreturn]] void web_reload();
