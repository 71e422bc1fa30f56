#pragma once
// The score server's client on the desktop and in the headless runner: libcurl on a thread of
// its own (the only code that sees libcurl).
#include <memory>
#include <string>

#include "system/network.h"

// server_override: the server for this run whatever the settings say ("" to follow them).
std::unique_ptr<Network> make_curl_network(const std::string& server_override);
