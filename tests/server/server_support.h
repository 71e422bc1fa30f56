#pragma once
// The score server as its clients see it: the built torvane-scores started on a free port of
// 127.0.0.1 over SQLite or a PostgreSQL of the test's own, recordings to send it, and waits on
// what it answers.
#include <gtest/gtest.h>
#include <httplib.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <thread>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "db.h"
#include "replay/replay_format.h"
#include "replay/replay_mutator.h"
#include "store.h"
#include "tools/runner_process.h"

namespace server_test {

namespace fs = std::filesystem;
using nlohmann::json;

inline std::string replays_dir() { return std::string(TORVANE_SOURCE_DIR) + "/tests/replays/"; }
// A pinned recording as a player's game reaches the server. One the runner recorded carries its
// mark, which the door refuses; a player could cut the mark out by hand (the server cannot
// tell), and so does this: the same records under a header without it.
inline std::string recording(const std::string& name) {
  const std::string bytes = read_file(replays_dir() + name + ".tvr");
  const ReplayParse parse = parse_replay(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  if (!parse.error.empty() || !parse.data.runner_made) return bytes;
  const std::vector<std::uint8_t> played = encode(to_edit(parse.data));
  return {played.begin(), played.end()};
}

// A whole round the game records by itself: lost at about 196 s with 1205 points, the name
// LOST typed at the record prompt (tests/replays/lost_round.script, every key late_ms later),
// from this clock origin. The runner marks what it records; each is recorded once per program.
inline const std::string& runner_lost_round(int origin, int late_ms = 0) {
  static std::map<std::pair<int, int>, std::string> made;
  auto it = made.find({origin, late_ms});
  if (it != made.end()) return it->second;
  const fs::path dir = fresh_temp_dir("lost_" + std::to_string(origin));
  std::ifstream in(replays_dir() + "lost_round.script");
  std::ofstream script(dir / "keys.script");
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    script << std::stol(line) + late_ms << line.substr(line.find(' ')) << "\n";
  }
  script.close();
  const std::string file = (dir / "r.tvr").string();
  const ProcessResult run = run_headless_bin("--rounds 1 --until-ms 400000 --clock-origin " + std::to_string(origin) +
                                             " --script '" + (dir / "keys.script").string() + "' --workdir '" +
                                             dir.string() + "' --record '" + file + "'");
  EXPECT_EQ(run.exit_code, 0) << run.err;
  std::string bytes = read_file(file);
  fs::remove_all(dir);
  return made.emplace(std::make_pair(origin, late_ms), std::move(bytes)).first->second;
}

// A short session in the menus, recorded by the runner (no round in it).
inline std::string runner_menus(int origin) {
  const fs::path dir = fresh_temp_dir("menus_" + std::to_string(origin));
  const std::string file = (dir / "r.tvr").string();
  const ProcessResult run = run_headless_bin("--clock-origin " + std::to_string(origin) + " --script '" + replays_dir() +
                                             "menus.script' --workdir '" + dir.string() + "' --record '" + file + "'");
  EXPECT_EQ(run.exit_code, 0) << run.err;
  std::string bytes = read_file(file);
  fs::remove_all(dir);
  return bytes;
}

// A PostgreSQL cluster in a temporary folder, run by an unprivileged user (it refuses root) on
// a socket in that folder: no port, nothing shared with the machine's own.
class PostgresCluster {
 public:
  static PostgresCluster& get() {
    static PostgresCluster cluster;
    return cluster;
  }
  const std::string& error() const { return error_; }
  // A new, empty database; its address for --db.
  std::string fresh_database() {
    const std::string name = "scores" + std::to_string(++databases_);
    auto admin = open_postgres(address("postgres"));
    admin->query("CREATE DATABASE " + name);  // a name of ours: nothing from outside
    return address(name);
  }
  ~PostgresCluster() {
    if (started_) run_as_owner("pg_ctl -D '" + dir_ + "/data' -m immediate -w stop >/dev/null 2>&1");
    if (!dir_.empty()) fs::remove_all(dir_);
  }

 private:
  PostgresCluster() {
    char pattern[] = "/tmp/torvane-pg-XXXXXX";
    if (!mkdtemp(pattern)) {
      error_ = "no temporary folder";
      return;
    }
    dir_ = pattern;
    if (geteuid() == 0) {
      owner_ = "nobody";
      if (std::system(("chown nobody '" + dir_ + "'").c_str()) != 0) error_ = "cannot give the folder to nobody";
    }
    fs::create_directories(dir_ + "/sock");
    if (!owner_.empty() && std::system(("chown nobody '" + dir_ + "/sock'").c_str()) != 0)
      error_ = "cannot give the socket folder to nobody";
    if (error_.empty() && run_as_owner("initdb -N -D '" + dir_ + "/data' -U torvane -A trust >'" + dir_ +
                                       "/initdb.log' 2>&1") != 0)
      error_ = "initdb failed: " + read_file(dir_ + "/initdb.log");
    if (error_.empty() &&
        run_as_owner("pg_ctl -D '" + dir_ + "/data' -l '" + dir_ + "/server.log' -w -o \"-k '" + dir_ +
                     "/sock' -c listen_addresses='' -c fsync=off -c max_connections=200\" start >/dev/null 2>&1") != 0)
      error_ = "pg_ctl start failed: " + read_file(dir_ + "/server.log");
    started_ = error_.empty();
  }
  int run_as_owner(const std::string& command) {
    const std::string bin = "/usr/lib/postgresql/15/bin/";
    // The log and data files are written by the owner, in its own folder.
    const std::string full = bin + command;
    if (owner_.empty()) return std::system(full.c_str());
    return std::system(("runuser -u " + owner_ + " -- sh -c \"cd /tmp && " + escape_quotes(full) + "\"").c_str());
  }
  static std::string escape_quotes(const std::string& text) {
    std::string out;
    for (char c : text) {
      if (c == '"' || c == '\\' || c == '$') out += '\\';
      out += c;
    }
    return out;
  }
  std::string address(const std::string& database) const {
    return "postgresql:///" + database + "?host=" + dir_ + "/sock&user=torvane";
  }

  std::string dir_, owner_, error_;
  bool started_ = false;
  int databases_ = 0;
};

enum class Backend { Sqlite, Postgres };
inline const char* backend_name(const testing::TestParamInfo<Backend>& info) {
  return info.param == Backend::Sqlite ? "Sqlite" : "Postgres";
}

// A fresh database of either kind: an SQLite file in dir, or a new PostgreSQL database.
inline std::string fresh_db(Backend backend, const fs::path& dir) {
  if (backend == Backend::Sqlite) return (dir / "scores.sqlite").string();
  return PostgresCluster::get().fresh_database();
}

// One torvane-scores process. Its stderr goes to a file in dir, kept for failure messages.
class ServerProcess {
 public:
  ServerProcess(const std::string& db, const fs::path& dir, std::vector<std::string> extra = {}) : dir_(dir) {
    std::vector<std::string> args = {TORVANE_SCORES_BIN, "--db", db, "--listen", "127.0.0.1:0"};
    args.insert(args.end(), extra.begin(), extra.end());
    int out[2];
    if (pipe(out) != 0) return;
    const std::string err = (dir / ("server" + std::to_string(++launches_) + ".err")).string();
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], 1);
      const int fd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      if (fd >= 0) dup2(fd, 2);
      ::close(out[0]);
      std::vector<char*> argv;
      for (std::string& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    ::close(out[1]);
    err_path_ = err;
    // The first line says where it listens, once it does.
    std::string line;
    char c;
    while (::read(out[0], &c, 1) == 1 && c != '\n') line += c;
    out_ = out[0];
    const std::size_t colon = line.rfind(':');
    if (line.find("listening on http://127.0.0.1:") != std::string::npos && colon != std::string::npos)
      port_ = std::atoi(line.c_str() + colon + 1);
  }
  ~ServerProcess() {
    if (pid_ > 0 && !exited_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) ::close(out_);
  }
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  int port() const { return port_; }
  pid_t pid() const { return pid_; }
  std::string log() const { return read_file(err_path_); }
  // Sends the signal and waits for the end; the exit status, or 128 + the signal.
  int stop(int sig) {
    kill(pid_, sig);
    int status = 0;
    waitpid(pid_, &status, 0);
    exited_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  std::unique_ptr<httplib::Client> client() const {
    auto c = std::make_unique<httplib::Client>("127.0.0.1", port_);
    c->set_read_timeout(60, 0);
    c->set_write_timeout(60, 0);
    return c;
  }
  // The verifier processes running now.
  std::vector<pid_t> verifiers() const {
    std::vector<pid_t> found;
    for (const auto& entry : fs::directory_iterator("/proc")) {
      const std::string stat = read_file(entry.path() / "stat");
      const std::size_t close = stat.rfind(')');
      if (close == std::string::npos || stat.find("(torvane-verify)") == std::string::npos) continue;
      int ppid = 0;
      char state = 0;
      if (std::sscanf(stat.c_str() + close + 1, " %c %d", &state, &ppid) == 2 && ppid == pid_ && state != 'Z')
        found.push_back(std::stoi(entry.path().filename().string()));
    }
    return found;
  }

 private:
  fs::path dir_;
  std::string err_path_;
  pid_t pid_ = -1;
  int port_ = 0;
  int out_ = -1;
  bool exited_ = false;
  static inline int launches_ = 0;
};

// A test's own folder and server; the server's log is shown when the test fails.
template <typename Base>
class ServerTest : public Base {
 protected:
  void TearDown() override {
    if (Base::HasFailure() && server) std::fprintf(stderr, "server log:\n%s\n", server->log().c_str());
    server.reset();
    fs::remove_all(dir);
  }
  void start_on(const std::string& db, const std::vector<std::string>& extra) {
    server = std::make_unique<ServerProcess>(db, dir, extra);
    ASSERT_GT(server->port(), 0) << server->log();
    client = server->client();
  }

  fs::path dir;
  std::unique_ptr<ServerProcess> server;
  std::unique_ptr<httplib::Client> client;
};

using Clock = std::chrono::steady_clock;
// Long enough for a whole round replayed under the sanitizers on a busy machine.
constexpr auto kPatience = std::chrono::seconds(240);

inline json body_json(const httplib::Result& r) {
  if (!r) return json();
  return json::parse(r->body, nullptr, false);
}

// An answer to a GET; a failure (and an empty answer) when none came.
inline httplib::Response get(httplib::Client& c, const std::string& path) {
  auto r = c.Get(path.c_str());
  if (r) return *r;
  ADD_FAILURE() << path << ": no answer (" << httplib::to_string(r.error()) << ")";
  return httplib::Response{};
}

inline httplib::Result post_game(httplib::Client& c, const std::string& bytes, const std::string& query = "") {
  return c.Post(("/api/v1/games" + query).c_str(), bytes, "application/octet-stream");
}

// Asks until the game is no longer queued; its last answer.
inline json wait_game(httplib::Client& c, long long id) {
  const auto until = Clock::now() + kPatience;
  json last;
  while (Clock::now() < until) {
    last = body_json(c.Get(("/api/v1/games/" + std::to_string(id)).c_str()));
    if (last.is_object() && last.value("status", "") != "queued") return last;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return last;
}

// Waits until cond holds; false if it never did.
template <typename Cond>
bool wait_for(Cond cond) {
  const auto until = Clock::now() + kPatience;
  while (Clock::now() < until) {
    if (cond()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

// The test's own look into the database (what the API does not show: how often a game was
// verified, and by which worker).
inline GameRow game_row(const std::string& db, long long id) {
  auto conn = open_db(db);
  Store store(*conn);
  return store.game(id).value_or(GameRow{});
}

}  // namespace server_test
