#pragma once
// The HTTP side: routes, limits and answers. Verification itself is the workers'.
#include <httplib.h>

#include <functional>

#include "options.h"
#include "rate_limit.h"
#include "store.h"

struct ApiContext {
  const ServerOptions& options;
  Store& store;                  // the HTTP side's own connection
  RateLimit& rate;
  std::function<void()> queued;  // wakes a worker
};

void install_routes(httplib::Server& server, ApiContext& context);
