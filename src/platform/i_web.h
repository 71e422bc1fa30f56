#pragma once
// The web backend (WebAssembly in a browser page). Only src/app/web_main.cpp and the i_web
// files know about it.
#include <cstddef>
#include <memory>
#include <string>

#include "system/i_platform.h"
#include "system/network.h"

// network: the score server's client the backend hands the game (may be null).
std::unique_ptr<Platform> make_web_platform(std::unique_ptr<Network> network = nullptr);
// The page runs the game on a virtual clock (a test's ?clock=virtual): its games are not played
// at a player's pace, and the score server is told so by the runner's mark.
bool web_virtual_clock();

// Puts the browser's lasting storage under the home folder (settings, high scores) and reads
// it in; returns once it is there. False when the browser gives the page no storage: the folder
// is then kept in memory, for as long as the page is open.
bool web_mount_storage();

// What the page's buttons asked for. The backend ends the running session (program_exit 0)
// as soon as one is waiting.
enum class WebRequest { None, DownloadRecording, PlayRecording };
WebRequest web_take_request();
// Where a recording handed in by the page is put for this session.
constexpr const char* kWebPlayFile = "/tmp/play.tvr";
// True when the page handed in a recording for this session to play (now in kWebPlayFile).
bool web_take_recording_to_play();
// The largest recording the page hands in; a larger one is refused by the page itself.
void web_set_recording_limit(std::size_t bytes);
// Offers a file to the player as a download under the given name.
void web_offer_download(const std::string& path, const std::string& name);
// Ends this session: the page shows the line under the picture and starts a fresh program, so
// every session starts from a new one, as a recording expects.
void web_end_session(const std::string& status);
