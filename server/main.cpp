// torvane-scores: the world table. Takes recordings over HTTP, has each replayed by a verifier
// process, and keeps what they prove in SQLite or PostgreSQL.
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "api.h"
#include "options.h"
#include "store.h"
#include "workers.h"

namespace {

// The verifier: beside this program in a build folder, else where an installed copy keeps it
// (PREFIX/lib/torvane-scores/ beside PREFIX/sbin/), found from where this program is so that an
// unpacked copy anywhere finds its own.
std::string find_verifier() {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return "torvane-verify";
  const std::filesystem::path beside = self.parent_path() / "torvane-verify";
  const std::filesystem::path installed = self.parent_path().parent_path() / "lib" / "torvane-scores" / "torvane-verify";
  return (access(beside.c_str(), X_OK) == 0 || access(installed.c_str(), X_OK) != 0 ? beside : installed).string();
}

// The HTTP library listens with a backlog of 5: twenty clients connecting at once would have
// their connections dropped and retried a second later, or reset. Listening again on the same
// socket widens the queue.
void widen_backlog(int port) {
  for (int fd = 3; fd < 1024; ++fd) {
    int listening = 0;
    socklen_t size = sizeof listening;
    sockaddr_storage at{};
    socklen_t at_size = sizeof at;
    if (getsockopt(fd, SOL_SOCKET, SO_ACCEPTCONN, &listening, &size) != 0 || !listening) continue;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&at), &at_size) != 0) continue;
    const int bound = at.ss_family == AF_INET6 ? ntohs(reinterpret_cast<sockaddr_in6*>(&at)->sin6_port)
                                               : ntohs(reinterpret_cast<sockaddr_in*>(&at)->sin_port);
    if (bound == port) ::listen(fd, SOMAXCONN);
  }
}

int fail(const std::string& message) {
  std::fprintf(stderr, "torvane-scores: %s\n", message.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const OptionsParse parse = parse_server_options(argc, argv);
  if (!parse.error.empty()) return fail(parse.error + " (see --help)");
  const ServerOptions& options = parse.options;
  if (options.help) {
    std::fputs(server_usage(), stdout);
    return 0;
  }

  // SIGTERM and SIGINT are taken by one thread (below); every other thread has them blocked.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGTERM);
  sigaddset(&stop_signals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  std::unique_ptr<Db> db;
  try {
    db = open_db(options.db);
    Store store(*db);
    store.migrate();
    // One SQLite file has one server: what its previous life left running is queued again.
    // PostgreSQL's servers share the queue, and a silent worker's jobs return as its lease ends.
    if (db->dialect() == Dialect::Sqlite) {
      if (const int n = store.requeue_running(); n > 0)
        std::fprintf(stderr, "torvane-scores: %d interrupted verifications queued again\n", n);
    }
  } catch (const DbError& e) {
    return fail(e.what());
  }
  Store store(*db);
  RateLimit rate(options.rate_per_minute, options.rate_burst);

  WorkerOptions w;
  w.count = options.workers > 0 ? options.workers : std::max(1u, std::thread::hardware_concurrency());
  w.limits.verifier = options.verifier.empty() ? find_verifier() : options.verifier;
  // Without a verifier every game sent would be rejected as unproven: better not to start.
  if (access(w.limits.verifier.c_str(), X_OK) != 0) return fail("cannot run the verifier " + w.limits.verifier + " (see --verifier)");
  w.limits.cpu_seconds = options.cpu_seconds;
  w.limits.max_frames = options.max_frames;
  w.limits.wall_seconds = options.cpu_seconds * 10;
  w.lease_ms = std::int64_t{options.lease_seconds} * 1000;
  w.accept_runner_recordings = options.accept_runner_recordings;
  w.runner_tickets_any_age = options.runner_tickets_any_age;
  char host[HOST_NAME_MAX + 1] = "";
  gethostname(host, sizeof host);
  w.name = std::string(host) + ":" + std::to_string(getpid());
  const std::string where = options.db;
  Workers workers([where] { return open_db(where); }, w);

  httplib::Server server;
  server.new_task_queue = [] { return new httplib::ThreadPool(32); };
  // The library's default shares the port (SO_REUSEPORT): a second server started by mistake
  // would quietly take half the requests with its own database. Only a restart's lingering
  // connections may share it.
  server.set_socket_options([](socket_t sock) {
    int yes = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
  server.set_payload_max_length(options.body_limit);
  server.set_read_timeout(options.read_timeout_seconds, 0);
  server.set_write_timeout(options.read_timeout_seconds, 0);
  server.set_keep_alive_timeout(options.read_timeout_seconds);
  server.set_keep_alive_max_count(100);
  // The browser build comes from a build of its own (tools/build-web.sh): a server installed
  // without it still keeps the table, and says where the build goes.
  if (!options.web.empty() && !server.set_mount_point("/play", options.web))
    std::fprintf(stderr,
                 "torvane-scores: no browser build in %s: copy the files of the browser build there "
                 "(index.html, torvane.js, torvane.wasm) and restart; until then /play/ answers 404\n",
                 options.web.c_str());
  // The page tells by this that its own origin keeps the world table.
  server.set_file_request_handler([](const httplib::Request&, httplib::Response& res) {
    res.set_header("X-Score-Server", "here");
  });
  ApiContext context{options, store, rate, [&workers] { workers.poke(); }};
  install_routes(server, context);

  const int port = options.port == 0 ? server.bind_to_any_port(options.host) :
                   (server.bind_to_port(options.host, options.port) ? options.port : -1);
  if (port < 0) return fail("cannot listen on " + options.host + ":" + std::to_string(options.port));
  widen_backlog(port);
  std::printf("torvane-scores: listening on http://%s:%d/ with %d workers\n", options.host.c_str(), port, w.count);
  std::fflush(stdout);

  workers.start();
  std::atomic<bool> signalled{false};
  std::thread stopper([&] {
    int sig = 0;
    sigwait(&stop_signals, &sig);
    signalled = true;
    std::fprintf(stderr, "torvane-scores: stopping: no new requests; verifications in hand finish first\n");
    server.stop();
  });
  server.listen_after_bind();
  // The listener may also have ended on its own; the stopper must not outlive main.
  if (!signalled) pthread_kill(stopper.native_handle(), SIGTERM);
  stopper.join();
  workers.drain();
  std::fprintf(stderr, "torvane-scores: stopped\n");
  return 0;
}
