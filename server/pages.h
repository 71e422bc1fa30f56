#pragma once
// What the server shows people and monitors: the world table page and the metrics text.
#include <string>
#include <string_view>
#include <vector>

#include "store.h"

// &, <, >, " and ' as entities: a name can never become markup.
std::string html_escape(std::string_view text);
// "2026-12-07" for a time in Unix milliseconds (UTC).
std::string iso_date(std::int64_t ms);
// The whole page: ranked games, then unranked ones; every entry links to its recording, and
// with the browser build served (play_served) the page links to it.
std::string table_page(const std::vector<GameRow>& ranked, const std::vector<GameRow>& unranked, bool play_served);
// Prometheus' text format.
std::string metrics_text(const Counts& counts);
