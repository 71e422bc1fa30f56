// The score server's client over libcurl, on a thread of its own: the game hands requests over
// and takes the answers between frames; a request never holds a frame up.
#include "platform/i_curl_net.h"

#include <curl/curl.h>
#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

namespace {

using json = nlohmann::json;

constexpr int kConnectTimeoutMs = 1500;
constexpr int kVerifyWaitSeconds = 20;  // how long a sent game's verification is waited for

struct Reply {
  bool reached = false;  // a whole HTTP answer came back
  long status = 0;
  std::string body;
  std::string error;
};

std::size_t collect(char* data, std::size_t size, std::size_t count, void* out) {
  std::string& body = *static_cast<std::string*>(out);
  if (body.size() + size * count > (std::size_t{1} << 20)) return 0;  // no answer is this large
  body.append(data, size * count);
  return size * count;
}

Reply request(const std::string& url, const char* body, std::size_t size, bool post, int timeout_ms) {
  Reply reply;
  CURL* curl = curl_easy_init();
  if (!curl) {
    reply.error = "no network client";
    return reply;
  }
  curl_slist* headers = curl_slist_append(nullptr, "Content-Type: application/octet-stream");
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(std::min(timeout_ms, kConnectTimeoutMs)));
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(timeout_ms));
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, collect);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reply.body);
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  // HTTPS checks the server against the system's authorities, or those of the file that
  // OpenSSL's own SSL_CERT_FILE names (a server with a certificate of its own making).
  if (const char* authorities = std::getenv("SSL_CERT_FILE"); authorities && authorities[0])
    curl_easy_setopt(curl, CURLOPT_CAINFO, authorities);
  if (post) {
    curl_easy_setopt(curl, CURLOPT_POST, 1L);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body ? body : "");
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(size));
  }
  const CURLcode code = curl_easy_perform(curl);
  if (code == CURLE_OK) {
    reply.reached = true;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &reply.status);
  } else {
    reply.error = curl_easy_strerror(code);
  }
  curl_slist_free_all(headers);
  curl_easy_cleanup(curl);
  return reply;
}

std::string error_of(const Reply& r) {
  const json j = json::parse(r.body, nullptr, false);
  if (j.is_object() && j.contains("error") && j["error"].is_string()) return j["error"].get<std::string>();
  return "the server answered " + std::to_string(r.status);
}

// Kept in the outbox for another try: the server was not reached, or was busy.
bool worth_again(const Reply& r) { return !r.reached || r.status == 429 || r.status >= 500; }

std::string escaped(const std::string& text) {
  std::string out;
  for (char c : text)
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) out += c;
  return out;
}

class CurlNetwork final : public Network {
 public:
  explicit CurlNetwork(std::string server_override) : override_(std::move(server_override)) {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    server_ = override_;
    for (Slot& slot : slots_) slot.body.reserve(kNetMaxBody);
    thread_ = std::thread([this] { run(); });
  }
  ~CurlNetwork() override {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_all();
    // A send or an outbox in hand gets a moment to finish; then the program ends without it
    // (the outbox keeps what was not taken).
    std::unique_lock lock(mutex_);
    const bool ended = done_.wait_for(lock, std::chrono::seconds(3), [&] { return exited_; });
    lock.unlock();
    // Joined once it has ended: this object's memory must outlive the thread's last look at it.
    if (ended) thread_.join();
    else thread_.detach();
  }

  const char* server() const override { return server_.c_str(); }

  void set_server(const char* url) override {
    std::lock_guard lock(mutex_);
    if (override_.empty()) server_ = url ? url : "";
  }

  bool start(NetJob job, const char* body, std::size_t size, const char* name, const char* outbox_file,
             int timeout_ms) override {
    std::lock_guard lock(mutex_);
    Slot& slot = slots_[static_cast<int>(job)];
    if (server_.empty() || size > kNetMaxBody) return false;
    if (slot.state == NetState::Pending) {
      // A game sent while the one before is still on its way waits in the outbox, which is
      // sent through once that one is done.
      if (job == NetJob::Send && outbox_file && outbox_file[0] && !outbox_folder_.empty()) outbox_due_ = true;
      return false;
    }
    slot.state = NetState::Pending;
    slot.body.clear();
    if (body) slot.body.insert(slot.body.end(), body, body + size);
    slot.name = name ? name : "";
    slot.outbox = outbox_file ? outbox_file : "";
    slot.timeout_ms = timeout_ms;
    slot.text.clear();
    slot.queued = true;
    wake_.notify_all();
    return true;
  }

  NetAnswer poll(NetJob job, char* out, std::size_t capacity) override {
    std::lock_guard lock(mutex_);
    if (server_.empty()) return {NetState::NoServer, 0};
    const Slot& slot = slots_[static_cast<int>(job)];
    const std::size_t n = std::min(capacity, slot.text.size());
    if (out) std::memcpy(out, slot.text.data(), n);
    return {slot.state, out ? n : 0};
  }

  bool wait(NetJob job, int ms) override {
    std::unique_lock lock(mutex_);
    const Slot& slot = slots_[static_cast<int>(job)];
    return done_.wait_for(lock, std::chrono::milliseconds(ms), [&] { return slot.state != NetState::Pending; });
  }

  void send_outbox(const char* folder) override {
    std::lock_guard lock(mutex_);
    outbox_folder_ = folder ? folder : "";
    outbox_due_ = !outbox_folder_.empty();
    wake_.notify_all();
  }

 private:
  struct Slot {
    NetState state = NetState::Idle;
    bool queued = false;
    std::vector<char> body;
    std::string name, outbox, text;
    int timeout_ms = 0;
  };

  bool work_waiting() const {
    return outbox_due_ || std::any_of(slots_, slots_ + kNetJobs, [](const Slot& s) { return s.queued; });
  }

  void run() {
    std::unique_lock lock(mutex_);
    for (;;) {
      // A sent game's verification is looked at every 250 ms, between the other requests: a
      // ticket asked for meanwhile must not wait for it.
      const auto due = [&] { return stopping_ || work_waiting(); };
      if (verifying_.id < 0) wake_.wait(lock, due);
      else wake_.wait_until(lock, verifying_.next, due);
      if (stopping_ && !work_waiting()) {
        exited_ = true;
        done_.notify_all();
        return;
      }
      for (int k = 0; k < kNetJobs; ++k) {
        Slot& slot = slots_[k];
        if (!slot.queued) continue;
        slot.queued = false;
        const std::string server = server_;
        const std::vector<char> body = slot.body;
        const std::string name = slot.name, outbox = slot.outbox;
        const int timeout = slot.timeout_ms;
        busy_ = true;
        lock.unlock();
        std::string text;
        long long sent_id = -1;
        const bool ok = work(static_cast<NetJob>(k), server, body, name, outbox, timeout, text, sent_id);
        lock.lock();
        slot.text = text;
        if (sent_id >= 0) {
          // Taken by the server: the game stays on its way until its verification is in.
          verifying_ = Verifying{sent_id, server, Clock::now() + std::chrono::milliseconds(250),
                                 Clock::now() + std::chrono::seconds(kVerifyWaitSeconds)};
        } else {
          slot.state = ok ? NetState::Done : NetState::Failed;
        }
        busy_ = false;
        done_.notify_all();
      }
      if (outbox_due_) {
        outbox_due_ = false;
        const std::string server = server_, folder = outbox_folder_;
        busy_ = true;
        lock.unlock();
        flush_outbox(server, folder);
        lock.lock();
        busy_ = false;
        done_.notify_all();
      }
      if (verifying_.id >= 0 && Clock::now() >= verifying_.next) {
        const Verifying v = verifying_;
        lock.unlock();
        std::string text;
        const VerifyState state = look_at_verification(v.server, v.id, text);
        lock.lock();
        Slot& slot = slots_[static_cast<int>(NetJob::Send)];
        if (state != VerifyState::Waiting || Clock::now() >= v.give_up) {
          slot.text = state == VerifyState::Waiting ? "sent" : text;  // "sent": the verification is still to come
          slot.state = state == VerifyState::Refused ? NetState::Failed : NetState::Done;
          verifying_.id = -1;
          done_.notify_all();
        } else {
          verifying_.next = Clock::now() + std::chrono::milliseconds(250);
        }
      }
    }
  }

  static std::string base(const std::string& server) {
    std::string b = server;
    while (!b.empty() && b.back() == '/') b.pop_back();
    return b;
  }

  // One outbox file: the recording after a first line "<ticket or -> <name or ->".
  static Reply send_file(const std::string& server, const std::string& path, int timeout_ms) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    Reply r;
    if (!f) return r;
    std::string bytes;
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0 && bytes.size() <= kNetMaxBody + 200;) bytes.append(buffer, n);
    std::fclose(f);
    const std::size_t eol = bytes.find('\n');
    if (eol == std::string::npos || eol > 100) {
      r.reached = true;  // not ours to send: removed
      r.status = 400;
      return r;
    }
    char ticket[64] = "", name[64] = "";
    std::sscanf(bytes.substr(0, eol).c_str(), "%63s %63s", ticket, name);
    std::string url = base(server) + "/api/v1/games?x=1";
    if (std::strcmp(ticket, "-") != 0) url += "&ticket=" + escaped(ticket);
    if (std::strcmp(name, "-") != 0) url += "&name=" + escaped(name);
    return request(url, bytes.data() + eol + 1, bytes.size() - eol - 1, true, timeout_ms);
  }

  static void flush_outbox(const std::string& server, const std::string& folder) {
    if (server.empty()) return;
    std::vector<std::string> files;
    if (DIR* dir = ::opendir(folder.c_str())) {
      while (const dirent* e = ::readdir(dir)) {
        const std::string n = e->d_name;
        if (n.size() > 4 && n.compare(n.size() - 4, 4, ".tvo") == 0) files.push_back(folder + "/" + n);
      }
      ::closedir(dir);
    }
    std::sort(files.begin(), files.end());
    for (const std::string& file : files) {
      const Reply r = send_file(server, file, 10000);
      if (!r.reached) return;  // down: the rest waits for the next start too
      if (!worth_again(r)) ::unlink(file.c_str());
    }
  }

  // One request. A game the server took gives its id in sent_id: its verification follows.
  static bool work(NetJob job, const std::string& server, const std::vector<char>& body, const std::string& name,
                   const std::string& outbox, int timeout_ms, std::string& text, long long& sent_id) {
    const std::string b = base(server);
    if (job == NetJob::Ticket) {
      const Reply r = request(b + "/api/v1/tickets", "", 0, true, timeout_ms);
      const json j = json::parse(r.body, nullptr, false);
      if (!r.reached || r.status != 201 || !j.is_object() || !j.contains("ticket") || !j.contains("origin")) {
        text = r.reached ? error_of(r) : "cannot reach the server";
        return false;
      }
      text = j["ticket"].get<std::string>() + " " + std::to_string(j["origin"].get<long long>());
      return true;
    }
    if (job == NetJob::Table) {
      const Reply r = request(b + "/api/v1/table?limit=10", nullptr, 0, false, timeout_ms);
      const json j = json::parse(r.body, nullptr, false);
      if (!r.reached || r.status != 200 || !j.is_object() || !j.contains("entries") || !j["entries"].is_array()) {
        text = r.reached ? error_of(r) : "cannot reach the server";
        return false;
      }
      for (const json& g : j["entries"]) {
        if (!g.is_object()) continue;
        text += g.value("name", std::string("?")).substr(0, 16) + " " + std::to_string(g.value("score", 0LL)) + "\n";
      }
      return true;
    }
    // Send: the outbox file holds the game until the server has it.
    Reply r = outbox.empty() ? request(b + "/api/v1/games?name=" + escaped(name), body.data(), body.size(), true, timeout_ms)
                             : send_file(server, outbox, timeout_ms);
    if (!r.reached) {
      text = "cannot reach the server: kept to send later";
      return false;
    }
    if (!outbox.empty() && !worth_again(r)) ::unlink(outbox.c_str());
    const json j = json::parse(r.body, nullptr, false);
    if ((r.status != 202 && r.status != 200) || !j.is_object() || !j.contains("id") || !j["id"].is_number_integer()) {
      text = error_of(r);
      if (worth_again(r)) text += ": kept to send later";
      return false;
    }
    sent_id = j["id"].get<long long>();
    text = "sent";
    return true;
  }

  enum class VerifyState { Waiting, Verified, Refused };

  // The fate of a sent game as the server tells it now; the text the game shows once it is in.
  static VerifyState look_at_verification(const std::string& server, long long id, std::string& text) {
    const std::string b = base(server);
    const Reply g = request(b + "/api/v1/games/" + std::to_string(id), nullptr, 0, false, 3000);
    const json gj = json::parse(g.body, nullptr, false);
    if (!g.reached || !gj.is_object()) return VerifyState::Waiting;
    const std::string status = gj.value("status", std::string());
    if (status == "rejected") {
      text = "refused: " + gj.value("reason", std::string("no reason given"));
      return VerifyState::Refused;
    }
    if (status != "verified") return VerifyState::Waiting;
    const bool ranked = gj.value("ranked", false);
    const Reply t = request(b + "/api/v1/table?limit=100" + std::string(ranked ? "" : "&ranked=no"), nullptr, 0, false, 3000);
    const json tj = json::parse(t.body, nullptr, false);
    long long rank = 0;
    if (tj.is_object() && tj.contains("entries") && tj["entries"].is_array())
      for (const json& e : tj["entries"])
        if (e.is_object() && e.value("id", -1LL) == id) rank = e.value("rank", 0LL);
    text = std::string(ranked ? "verified: world rank " : "verified, unranked: rank ") +
           (rank > 0 ? std::to_string(rank) : std::string("over 100"));
    return VerifyState::Verified;
  }

  std::string override_, server_;
  std::mutex mutex_;
  std::condition_variable wake_, done_;
  Slot slots_[kNetJobs];
  bool stopping_ = false;
  bool busy_ = false;
  bool exited_ = false;  // run() has returned
  using Clock = std::chrono::steady_clock;
  struct Verifying {
    long long id = -1;  // -1: none
    std::string server;
    Clock::time_point next, give_up;
  };
  Verifying verifying_;
  std::string outbox_folder_;
  bool outbox_due_ = false;
  std::thread thread_;
};

}  // namespace

std::unique_ptr<Network> make_curl_network(const std::string& server_override) {
  return std::make_unique<CurlNetwork>(server_override);
}
