#pragma once
// The web backend (WebAssembly in a browser page). Only src/app/web_main.cpp and the i_web
// files know about it.
#include <memory>
#include <string>

#include "frame/i_platform.h"

std::unique_ptr<Platform> make_web_platform();

// Puts the browser's lasting storage under the home folder (settings, high scores) and reads
// it in; returns once it is there.
void web_mount_storage();

// What the page's buttons asked for. The backend ends the running session (program_exit 0)
// as soon as one is waiting.
enum class WebRequest { None, DownloadRecording, PlayRecording };
WebRequest web_take_request();
// The recording the page hands in, written to this file before PlayRecording is asked.
constexpr const char* kWebPlayFile = "/tmp/play.tvr";
// Offers a file to the player as a download under the given name.
void web_offer_download(const std::string& path, const std::string& name);
// A line under the picture (what the page is doing); empty clears it.
void web_status(const std::string& text);
