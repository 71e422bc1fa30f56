// The game and a score server of the test's own on 127.0.0.1: a ranked round played by the
// runner's scripted keys reaches the world table with its score; a server that is down, or
// hangs, leaves the round unranked at once and says so, and what could not be sent waits in
// the outbox for the next start.
#include <netinet/in.h>
#include <sys/socket.h>

#include "server/server_support.h"
#include "server/tls_front.h"
#include "tools/png_read.h"

namespace server_test {
namespace {

// The menu's first item at 3 s, then a record taken whenever the round ends (Y, a name,
// ENTER every 2 s), and ENTER leaves every page.
fs::path keys_script(const fs::path& dir) {
  std::ofstream script(dir / "keys.script");
  script << "3000 tap ENTER\n";
  for (int t = 150000; t < 1200000; t += 2000) script << t << " tap Y\n" << t + 500 << " type LOST\n" << t + 1000 << " tap ENTER\n";
  return dir / "keys.script";
}

struct Played {
  ProcessResult run;
  json summary;
};

// The player's own folders, under dir.
std::string player_env(const fs::path& dir) {
  return "XDG_CONFIG_HOME='" + (dir / "config").string() + "' XDG_DATA_HOME='" + (dir / "share").string() + "'";
}

Played play_round(const fs::path& dir, const std::string& server, const std::string& extra = "", int rounds = 1,
                  const std::string& more_env = "") {
  fs::create_directories(dir);
  const std::string env = player_env(dir) + " " + more_env;
  Played p;
  p.run = run_headless_bin("--rounds " + std::to_string(rounds) + " --until-ms 1200000 --script '" + keys_script(dir).string() + "' --workdir '" + dir.string() +
                               "' " + (server.empty() ? "" : "--score-server " + server) + " " + extra,
                           env);
  p.summary = json::parse(p.run.out, nullptr, false);
  return p;
}

std::vector<fs::path> outbox(const fs::path& dir) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(dir / "share" / "torvane" / "outbox", ec)) files.push_back(e.path());
  return files;
}

// The program started again in the menu with the server at port: it sends the outbox. A start
// sends what it can before it ends; on a loaded machine that may take more than one.
void start_again_until_sent(const fs::path& dir, int port, int starts = 5) {
  for (int start = 0; start < starts && !outbox(dir).empty(); ++start) {
    const ProcessResult next = run_headless_bin(
        "--until-ms 2000 --workdir '" + dir.string() + "' --score-server http://127.0.0.1:" + std::to_string(port), player_env(dir));
    ASSERT_EQ(next.exit_code, 0) << next.err;
  }
}

// The notice's colour in the line it takes over the round's first frames.
int notice_pixels(const fs::path& png) {
  const Png page = read_png(png);
  int count = 0;
  for (int y = 440; y < 450 && y < page.height; ++y)
    for (int x = 0; x < page.width; ++x) {
      const png_byte* p = &page.rgba[(static_cast<std::size_t>(y) * page.width + x) * 4];
      if (p[0] == 0xFF && p[1] == 0xD0 && p[2] == 0x40) ++count;
    }
  return count;
}

// The round began as every round does: its energy bar full (green to its right end).
bool full_energy_bar(const fs::path& png) {
  const Png page = read_png(png);
  if (page.width < 640) return false;
  const png_byte* p = &page.rgba[(static_cast<std::size_t>(8) * page.width + 626) * 4];
  return p[0] > 0x40 && p[0] < 0x70 && p[1] > 0xE0 && p[2] < 0x30;
}

// A port that takes connections and never answers.
struct HangingPort {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  int port = 0;
  HangingPort() {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t n = sizeof a;
    if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 && listen(fd, 16) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&a), &n) == 0)
      port = ntohs(a.sin_port);
  }
  ~HangingPort() { ::close(fd); }
};

// Two rounds in one session: the second starts the game again as the first did, and must
// replay on the server as well.
TEST(GameRounds, RankedRoundsReachTheWorldTableWithTheirScores) {
  const fs::path dir = fresh_temp_dir("ranked");
  ServerProcess server(dir.string() + "/s.sqlite", dir, {"--accept-runner-recordings", "--runner-tickets-any-age", "--workers", "1"});
  ASSERT_GT(server.port(), 0) << server.log();
  const Played p = play_round(dir, "http://127.0.0.1:" + std::to_string(server.port()),
                              "--dump-frame 4500:'" + (dir / "first.png").string() + "'", 2);
  ASSERT_EQ(p.run.exit_code, 0) << p.run.err;
  EXPECT_TRUE(full_energy_bar(dir / "first.png"));
  ASSERT_EQ(p.summary["round_results"].size(), 2u) << p.run.out;
  // The second game is sent once the first one's answer is in; if the session ended before
  // that (a slow machine, a slow verifier), it waits in the outbox and the next start sends it.
  start_again_until_sent(dir, server.port());
  auto client = server.client();
  for (int id = 1; id <= 2; ++id) {
    const json game = wait_game(*client, id);
    ASSERT_EQ(game.value("status", ""), "verified") << id << ": " << game.dump() << server.log();
    EXPECT_EQ(game.value("score", -1LL), p.summary["round_results"][id - 1]["final_score"].get<long long>()) << id;
    EXPECT_EQ(game.value("name", ""), "LOST");
    EXPECT_TRUE(game.value("ranked", false)) << id;
  }
  const json table = body_json(client->Get("/api/v1/table"));
  EXPECT_EQ(table["entries"].size(), 2u) << table.dump();
  // Taken by the server: nothing waits in the outbox.
  EXPECT_TRUE(outbox(dir).empty());
  fs::remove_all(dir);
}

// Over HTTPS: the server's certificate is checked, against the authorities the player's
// machine trusts (here the test's own, named by SSL_CERT_FILE).
TEST(GameRounds, HttpsReachesTheTableOnlyWithACertificateTheMachineTrusts) {
  const fs::path dir = fresh_temp_dir("https");
  ServerProcess server(dir.string() + "/s.sqlite", dir, {"--accept-runner-recordings", "--runner-tickets-any-age", "--workers", "1"});
  ASSERT_GT(server.port(), 0) << server.log();
  const fs::path certificates = dir / "tls";
  fs::create_directories(certificates);
  TlsFront front(certificates, server.port());
  ASSERT_GT(front.port(), 0) << "openssl could not make the test's certificates";
  const std::string url = "https://127.0.0.1:" + std::to_string(front.port());
  // Not trusted: no ticket, the round unranked and nothing sent.
  const Played untrusted = play_round(dir / "stranger", url, "--dump-frame 4500:'" + (dir / "untrusted.png").string() + "'");
  ASSERT_EQ(untrusted.run.exit_code, 0) << untrusted.run.err;
  EXPECT_GT(notice_pixels(dir / "untrusted.png"), 50) << "a server with a certificate nobody vouches for was taken";
  auto client = server.client();
  EXPECT_TRUE(body_json(client->Get("/api/v1/table"))["entries"].empty());
  // Trusted: ranked, sent and verified.
  const Played p = play_round(dir / "player", url, "", 1, "SSL_CERT_FILE='" + front.authority().string() + "'");
  ASSERT_EQ(p.run.exit_code, 0) << p.run.err;
  ASSERT_EQ(p.summary["round_results"].size(), 1u) << p.run.out;
  const json game = wait_game(*client, 1);
  ASSERT_EQ(game.value("status", ""), "verified") << game.dump() << server.log();
  EXPECT_TRUE(game.value("ranked", false));
  EXPECT_EQ(game.value("score", -1LL), p.summary["round_results"][0]["final_score"].get<long long>());
  fs::remove_all(dir);
}

// A server of the test's own before the real one, on a free port, serving while it lives.
class Front {
 public:
  Front() = default;
  Front(const Front&) = delete;
  Front& operator=(const Front&) = delete;
  ~Front() {
    server_.stop();
    if (thread_.joinable()) thread_.join();
  }
  int port() const { return port_; }

 protected:
  void listen() {
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
  }
  httplib::Server server_;

 private:
  int port_ = 0;
  std::thread thread_;
};

// Stands before the real server: hands its tickets on, but takes no game (the server gone
// by the round's end).
class TicketsOnly : public Front {
 public:
  explicit TicketsOnly(int real_port) {
    server_.Post("/api/v1/tickets", [real_port](const httplib::Request&, httplib::Response& res) {
      httplib::Client real("127.0.0.1", real_port);
      auto r = real.Post("/api/v1/tickets", "", "application/octet-stream");
      if (!r) return void(res.status = 502);
      res.status = r->status;
      res.set_content(r->body, "application/json");
    });
    server_.Post("/api/v1/games", [](const httplib::Request&, httplib::Response& res) {
      res.status = 503;
      res.set_header("Retry-After", "60");
      res.set_content("{\"error\": \"down\"}", "application/json");
    });
    listen();
  }
};

// Stands before the real server and hands everything on, but never lets a sent game's
// verification be seen: the client waits for it as long as it may.
class VerificationUnseen : public Front {
 public:
  explicit VerificationUnseen(int real_port) {
    const auto pass = [real_port](const httplib::Request& req, httplib::Response& res) {
      httplib::Client real("127.0.0.1", real_port);
      std::string target = req.path;
      for (const auto& [key, value] : req.params) target += (target == req.path ? "?" : "&") + key + "=" + value;
      auto r = req.method == "POST" ? real.Post(target, req.body, "application/octet-stream") : real.Get(target);
      if (!r) return void(res.status = 502);
      res.status = r->status;
      res.set_content(r->body, "application/json");
    };
    server_.Post(R"(/api/v1/.*)", pass);
    server_.Get(R"(/api/v1/table)", pass);
    server_.Get(R"(/api/v1/games/\d+)", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("{\"status\": \"queued\"}", "application/json");
    });
    listen();
  }
};

// The next round's ticket does not wait behind the last game's verification.
TEST(GameRounds, ATicketIsNotHeldUpByTheLastGamesVerification) {
  const fs::path dir = fresh_temp_dir("unseen");
  ServerProcess server(dir.string() + "/s.sqlite", dir, {"--accept-runner-recordings", "--runner-tickets-any-age", "--workers", "1"});
  ASSERT_GT(server.port(), 0) << server.log();
  VerificationUnseen front(server.port());
  const Played p = play_round(dir, "http://127.0.0.1:" + std::to_string(front.port()), "", 2);
  ASSERT_EQ(p.run.exit_code, 0) << p.run.err;
  ASSERT_EQ(p.summary["round_results"].size(), 2u) << p.run.out;
  start_again_until_sent(dir, server.port());
  auto client = server.client();
  for (int id = 1; id <= 2; ++id) {
    const json game = wait_game(*client, id);
    EXPECT_TRUE(game.value("ranked", false)) << id << ": " << game.dump();
  }
  fs::remove_all(dir);
}

TEST(GameRounds, ARoundTheServerCannotTakeWaitsInTheOutboxUntilTheNextStart) {
  const fs::path dir = fresh_temp_dir("outbox");
  ServerProcess server(dir.string() + "/s.sqlite", dir, {"--accept-runner-recordings", "--runner-tickets-any-age", "--workers", "1"});
  ASSERT_GT(server.port(), 0) << server.log();
  long long score = -1;
  {
    TicketsOnly front(server.port());
    const Played p = play_round(dir, "http://127.0.0.1:" + std::to_string(front.port()));
    ASSERT_EQ(p.run.exit_code, 0) << p.run.err;
    ASSERT_EQ(p.summary["round_results"].size(), 1u);
    score = p.summary["round_results"][0]["final_score"];
  }
  ASSERT_EQ(outbox(dir).size(), 1u) << "the round is not kept to be sent later";
  auto client = server.client();
  EXPECT_TRUE(body_json(client->Get("/api/v1/table"))["entries"].empty());
  // The next start, in the menu only, sends it with its ticket: ranked.
  start_again_until_sent(dir, server.port(), 1);
  // The first game this server was given: verified, or why not.
  const json game = wait_game(*client, 1);
  ASSERT_EQ(game.value("status", ""), "verified") << game.dump() << server.log();
  const json table = body_json(client->Get("/api/v1/table"));
  ASSERT_EQ(table["entries"].size(), 1u) << table.dump();
  const json entry = table["entries"][0];
  EXPECT_EQ(entry.value("score", -2LL), score);
  EXPECT_TRUE(entry.value("ranked", false));
  EXPECT_TRUE(outbox(dir).empty());
  fs::remove_all(dir);
}

// A server down at the start, or one that takes the connection and never answers: the round
// goes on unranked at once and says so, and nothing waits to be sent.
TEST(GameRounds, AServerDownOrHangingLeavesTheRoundUnrankedAtOnceAndSaysSo) {
  const fs::path dir = fresh_temp_dir("down");
  int down = 0;
  {
    ServerProcess gone(dir.string() + "/s.sqlite", dir, {"--accept-runner-recordings"});
    down = gone.port();
    gone.stop(SIGKILL);
  }
  HangingPort hanging;
  ASSERT_GT(down, 0);
  ASSERT_GT(hanging.port, 0);
  const Played plain = play_round(dir / "plain", "");
  for (const int port : {down, hanging.port}) {
    SCOPED_TRACE(port == down ? "down" : "hanging");
    const fs::path player = dir / std::to_string(port);
    const auto start = Clock::now();
    const Played p = play_round(player, "http://127.0.0.1:" + std::to_string(port),
                                "--dump-frame 4500:'" + (player / "first.png").string() + "'");
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    ASSERT_EQ(p.run.exit_code, 0) << p.run.err;
    EXPECT_EQ(p.summary["round_results"].size(), 1u);
    EXPECT_GT(notice_pixels(player / "first.png"), 50) << "no notice of an unranked round";
    EXPECT_TRUE(full_energy_bar(player / "first.png"));
    EXPECT_TRUE(outbox(player).empty()) << "an unranked round is sent only when asked";
    // The ticket is given up on between frames, once: the frames' own figures stay those of a
    // round without a server.
    EXPECT_LT(p.summary.value("cpu_us_p50", 1e9), 3 * plain.summary.value("cpu_us_p50", 0.0) + 100);
    EXPECT_LT(seconds, 60.0);
  }
  fs::remove_all(dir);
}

}  // namespace
}  // namespace server_test
