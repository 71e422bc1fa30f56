#pragma once
// The score server's client in the browser page: the page's fetch (the only code that sees it).
#include <memory>

#include "system/network.h"

// The page's own server is the default when the settings name none: the page found one
// answering beside it (Module.torvaneServer) before the session began.
std::unique_ptr<Network> make_web_network();
