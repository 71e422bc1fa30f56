// Load on 127.0.0.1, bounded: 20 clients send 200 recordings between them and read the table
// after each, while the workers replay every distinct one. Prints verifications per
// core-minute and the table's p99 latency under that load. TORVANE_LOAD_DISTINCT=N makes N
// of the 200 distinct (default 2 besides the three recorded games under tests/replays).
#include <algorithm>
#include <atomic>
#include <mutex>
#include <set>
#include <thread>

#include "server/server_support.h"

namespace server_test {
namespace {

double metric(const std::string& text, const std::string& name) {
  const std::size_t at = text.find("\n" + name + " ");
  return at == std::string::npos ? -1.0 : std::stod(text.substr(at + name.size() + 2));
}

TEST(Load, TwentyClientsSendTwoHundredRecordingsAndReadTheTable) {
  constexpr int kClients = 20, kSends = 200;
  const char* wanted = std::getenv("TORVANE_LOAD_DISTINCT");
  const int made = wanted ? std::clamp(std::atoi(wanted), 0, kSends) : 2;
  std::vector<std::string> pool = {recording("lost_round"), recording("round_keys"), recording("menus")};
  for (int i = 0; i < made; ++i) pool.push_back(runner_menus(8000 + i));

  const fs::path dir = fresh_temp_dir("load");
  const int workers = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  ServerProcess server((dir / "scores.sqlite").string(), dir,
                       {"--rate", "0", "--workers", std::to_string(workers), "--accept-runner-recordings"});
  ASSERT_GT(server.port(), 0) << server.log();

  std::mutex mutex;
  std::vector<double> table_ms;
  std::set<long long> ids;
  std::atomic<int> next{0}, bad{0};
  const auto started = Clock::now();
  auto timed_table = [&](httplib::Client& c) {
    const auto t0 = Clock::now();
    auto r = c.Get("/api/v1/table?ranked=no&limit=20");
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    if (!r || r->status != 200) ++bad;
    std::lock_guard<std::mutex> hold(mutex);
    table_ms.push_back(ms);
  };
  std::vector<std::thread> clients;
  for (int k = 0; k < kClients; ++k) {
    clients.emplace_back([&] {
      auto c = server.client();
      for (int i; (i = next++) < kSends;) {
        auto r = post_game(*c, pool[static_cast<std::size_t>(i) % pool.size()]);
        if (!r || (r->status != 202 && r->status != 200)) {
          ADD_FAILURE() << (r ? std::to_string(r->status) + " " + r->body : httplib::to_string(r.error()))
                        << " send " << i << " after " << std::chrono::duration<double>(Clock::now() - started).count() << " s";
          ++bad;
          continue;
        }
        {
          std::lock_guard<std::mutex> hold(mutex);
          ids.insert(body_json(r)["id"].get<long long>());
        }
        timed_table(*c);
      }
    });
  }
  for (std::thread& t : clients) t.join();
  EXPECT_EQ(bad.load(), 0);
  EXPECT_EQ(ids.size(), pool.size()) << "one game per distinct recording";

  // The table is read on while the queue drains.
  auto c = server.client();
  std::string metrics;
  ASSERT_TRUE(wait_for([&] {
    timed_table(*c);
    metrics = get(*c, "/metrics").body;
    return metric(metrics, "torvane_queue_length") == 0 && metric(metrics, "torvane_verifications_running") == 0;
  }));
  const double wall = std::chrono::duration<double>(Clock::now() - started).count();
  const double done = metric(metrics, "torvane_verification_seconds_count");
  const double replay_seconds = metric(metrics, "torvane_verification_seconds_sum");
  const double cpu_seconds = metric(metrics, "torvane_verification_cpu_seconds_total");
  EXPECT_EQ(done, static_cast<double>(pool.size()));
  EXPECT_EQ(metric(metrics, "torvane_games{status=\"verified\"}"), 1.0);

  std::sort(table_ms.begin(), table_ms.end());
  const double p99 = table_ms[static_cast<std::size_t>(0.99 * static_cast<double>(table_ms.size() - 1))];
  // Per minute of a core's time: the verifiers' own CPU time, whatever else the machine runs.
  const double per_core_minute = done / (cpu_seconds / 60.0);
  std::printf("load: %d sends by %d clients, %zu distinct recordings verified in %.1f s on %d workers; "
              "%.0f verifications per core-minute (%.2f CPU s each, %.2f s wall); table p99 %.1f ms over %zu "
              "reads\n",
              kSends, kClients, pool.size(), wall, workers, per_core_minute, cpu_seconds / done,
              replay_seconds / done, p99, table_ms.size());
  RecordProperty("verifications_per_core_minute", static_cast<int>(per_core_minute));
  RecordProperty("table_p99_us", static_cast<int>(p99 * 1000));
  // Reading the table never waits behind the replays, which run in other processes.
  EXPECT_LT(p99, 1000.0);
  if (HasFailure()) std::fprintf(stderr, "server log:\n%s\n", server.log().c_str());
  fs::remove_all(dir);
}

}  // namespace
}  // namespace server_test
