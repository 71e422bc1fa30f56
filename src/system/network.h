#pragma once
// The score server as the game reaches it: a few kinds of request, each run in the background
// by the backend (a thread of its own on the desktop, fetch in the page), one of a kind at a
// time. Nothing here waits except wait(), which the game calls between frames only. Answers
// come back as short texts the game shows as they are.
#include <cstddef>
#include <cstdint>

enum class NetJob : std::uint8_t {
  Ticket,  // POST /api/v1/tickets; the answer: "<ticket id> <origin>"
  Send,    // POST /api/v1/games; the answer: "sent", "verified: world rank N" or the server's reason
  Table,   // GET /api/v1/table; the answer: up to ten lines "NAME SCORE"
};
inline constexpr int kNetJobs = 3;

enum class NetState : std::uint8_t {
  Idle = 0,        // nothing asked
  Pending = 1,     // on its way (for Send: sent, the verification awaited)
  Done = 2,        // the answer is in
  Failed = 3,      // the server could not be reached, or refused; the text says which
  NoServer = 4,    // no score server set
};

struct NetAnswer {
  NetState state = NetState::Idle;
  std::size_t size = 0;  // bytes of text put in out
};

class Network {
 public:
  virtual ~Network() = default;
  // The server in use; "" when none is set.
  virtual const char* server() const = 0;
  // The server the settings name; a server given for this run on the command line stays.
  virtual void set_server(const char* url) = 0;
  // Starts a request unless one of that kind is on its way; body is copied (a recording at most
  // kNetMaxBody bytes). For Send, outbox_file (may be empty) is removed once the server took the
  // game. timeout_ms bounds the whole request.
  virtual bool start(NetJob job, const char* body, std::size_t size, const char* name, const char* outbox_file,
                     int timeout_ms) = 0;
  // The request's state; its text into out.
  virtual NetAnswer poll(NetJob job, char* out, std::size_t capacity) = 0;
  // Waits up to ms of real time for the request to end; true when it has.
  virtual bool wait(NetJob job, int ms) = 0;
  // Sends every recording in the outbox folder, one after another, in the background.
  virtual void send_outbox(const char* folder) = 0;
};

inline constexpr std::size_t kNetMaxBody = 512 * 1024;
inline constexpr std::size_t kNetMaxText = 1024;
