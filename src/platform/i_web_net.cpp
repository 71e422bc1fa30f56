// The score server's client in the page: the browser's fetch, one queue of requests in the
// page's own event loop, answers taken by the game between frames.
#include "platform/i_web_net.h"

#include <emscripten.h>

#include <string>

namespace {

// The requests as the desktop's client makes them, in one queue so that an outbox being sent
// and a round's game never go out at once (the same file could go twice). A session that is
// over touches the file system no more: the next session's program owns the storage.
EM_JS(void, web_net_install, (), {
  const ended = () => !!Module.torvaneEnded;
  const base = (server) => { let b = server; while (b.endsWith('/')) b = b.slice(0, -1); return b; };
  const letters = (text) => String(text).replace(/[^A-Za-z0-9]/g, "");
  const sleep = (ms) => new Promise((done) => setTimeout(done, ms));
  // One request, bounded whole by timeoutMs; no answer is larger than 1 MB.
  async function request(url, body, timeoutMs) {
    const control = new AbortController();
    const timer = setTimeout(() => control.abort(), timeoutMs);
    const how = {signal: control.signal, cache: 'no-store'};
    if (body !== null) Object.assign(how, {method: 'POST', body, headers: {'Content-Type': 'application/octet-stream'}});
    try {
      const response = await fetch(url, how);
      const bytes = await response.arrayBuffer();
      let json = null;
      if (bytes.byteLength <= 1 << 20) {
        try { json = JSON.parse(new TextDecoder().decode(bytes)); } catch (e) {}
      }
      return {reached: true, status: response.status, json: json && typeof json === 'object' ? json : null};
    } catch (e) {
      return {reached: false, status: 0, json: null};
    } finally {
      clearTimeout(timer);
    }
  }
  const errorOf = (r) => r.json && typeof r.json.error === 'string' ? r.json.error : 'the server answered ' + r.status;
  // Kept in the outbox for another try: the server was not reached, or was busy.
  const worthAgain = (r) => !r.reached || r.status === 429 || r.status >= 500;

  // An outbox file: "<ticket or -> <name or ->" on its first line, then the recording.
  function readOutbox(path) {
    let bytes;
    try { bytes = FS.readFile(path); } catch (e) { return null; }
    const eol = bytes.subarray(0, 101).indexOf(10);
    if (eol < 0) return {junk: true};
    const [ticket = '-', name = '-'] = new TextDecoder().decode(bytes.subarray(0, eol)).split(' ');
    return {ticket, name, recording: bytes.slice(eol + 1)};
  }
  function removeOutbox(path) {
    if (ended()) return;
    try { FS.unlink(path); } catch (e) { return; }
    if (Module.torvaneSyncHome) Module.torvaneSyncHome();
  }
  function post(server, recording, ticket, name, timeoutMs) {
    let url = base(server) + '/api/v1/games?x=1';
    if (ticket && ticket !== '-') url += '&ticket=' + letters(ticket);
    if (name && name !== '-') url += '&name=' + letters(name);
    return request(url, recording, timeoutMs);
  }

  async function ticket(server, body, name, outbox, timeoutMs) {
    const r = await request(base(server) + '/api/v1/tickets', new Uint8Array(0), timeoutMs);
    const j = r.json;
    if (!r.reached || r.status !== 201 || !j || typeof j.ticket !== 'string' || typeof j.origin !== 'number')
      return [false, r.reached ? errorOf(r) : 'cannot reach the server'];
    return [true, j.ticket + ' ' + j.origin];
  }
  async function table(server, body, name, outbox, timeoutMs) {
    const r = await request(base(server) + '/api/v1/table?limit=10', null, timeoutMs);
    if (!r.reached || r.status !== 200 || !r.json || !Array.isArray(r.json.entries))
      return [false, r.reached ? errorOf(r) : 'cannot reach the server'];
    let text = "";
    for (const g of r.json.entries) {
      if (!g || typeof g !== 'object') continue;
      text += String(typeof g.name === 'string' ? g.name : '?').slice(0, 16) + ' ' + (Number.isInteger(g.score) ? g.score : 0) + '\n';
    }
    return [true, text];
  }
  async function send(server, body, name, outbox, timeoutMs) {
    const kept = outbox ? readOutbox(outbox) : null;
    if (kept && kept.junk) {
      removeOutbox(outbox);  // not ours to send
      return [false, 'the server answered 400'];
    }
    const r = kept ? await post(server, kept.recording, kept.ticket, kept.name, timeoutMs)
                   : await post(server, body, '-', name, timeoutMs);
    if (!r.reached) return [false, 'cannot reach the server: kept to send later'];
    if (kept && !worthAgain(r)) removeOutbox(outbox);
    if ((r.status !== 202 && r.status !== 200) || !r.json || !Number.isInteger(r.json.id))
      return [false, errorOf(r) + (worthAgain(r) ? ': kept to send later' : "")];
    return [true, 'sent', r.json.id];
  }
  // The fate of a game the server took, looked at every 250 ms for 20 s outside the queue: a
  // ticket asked for meanwhile must not wait for it.
  async function verification(server, id) {
    for (let tries = 0; tries < 80; ++tries) {
      await sleep(250);
      const g = await request(base(server) + '/api/v1/games/' + id, null, 3000);
      if (!g.reached || !g.json) continue;
      if (g.json.status === 'rejected')
        return [false, 'refused: ' + (typeof g.json.reason === 'string' ? g.json.reason : 'no reason given')];
      if (g.json.status !== 'verified') continue;
      const ranked = g.json.ranked === true;
      const t = await request(base(server) + '/api/v1/table?limit=100' + (ranked ? "" : '&ranked=no'), null, 3000);
      let rank = 0;
      if (t.json && Array.isArray(t.json.entries))
        for (const e of t.json.entries) if (e && e.id === id && Number.isInteger(e.rank)) rank = e.rank;
      return [true, (ranked ? 'verified: world rank ' : 'verified, unranked: rank ') + (rank > 0 ? rank : 'over 100')];
    }
    return [true, 'sent'];  // the verification is still to come
  }
  async function flush(server, folder) {
    let names = [];
    try { names = FS.readdir(folder).filter((n) => n.length > 4 && n.endsWith('.tvo')).sort(); } catch (e) { return; }
    for (const n of names) {
      if (ended()) return;
      const path = folder + '/' + n, kept = readOutbox(path);
      if (!kept) continue;
      if (kept.junk) {
        removeOutbox(path);
        continue;
      }
      const r = await post(server, kept.recording, kept.ticket, kept.name, 10000);
      if (!r.reached) return;  // down: the rest waits for the next start too
      if (!worthAgain(r)) removeOutbox(path);
    }
  }

  const jobs = [ticket, send, table];
  let queue = Promise.resolve();
  const net = {
    slots: jobs.map(() => ({state: 0, text: ""})),
    start(job, server, body, name, outbox, timeoutMs) {
      const slot = net.slots[job];
      slot.state = 1;
      slot.text = "";
      queue = queue.then(() => jobs[job](server, body, name, outbox, timeoutMs)).then(([ok, text, sentId]) => {
        slot.text = text;
        if (sentId === undefined) return void (slot.state = ok ? 2 : 3);
        verification(server, sentId).then(([verified, fate]) => {
          slot.state = verified ? 2 : 3;
          slot.text = fate;
        });
      }, () => {
        slot.state = 3;
        slot.text = 'cannot reach the server';
      });
    },
    flush(server, folder) {
      queue = queue.then(() => flush(server, folder)).catch(() => {});
    },
  };
  Module.torvaneNet = net;
});

EM_JS(void, web_net_start, (int job, const char* server, const char* body, int size, const char* name,
                             const char* outbox, int timeout_ms), {
  Module.torvaneNet.start(job, UTF8ToString(server), body ? HEAPU8.slice(body, body + size) : new Uint8Array(0),
                          UTF8ToString(name), UTF8ToString(outbox), timeout_ms);
});

// Queued behind whatever is on its way.
EM_JS(void, web_net_flush, (const char* server, const char* folder), {
  Module.torvaneNet.flush(UTF8ToString(server), UTF8ToString(folder));
});

EM_JS(int, web_net_state, (int job), { return Module.torvaneNet.slots[job].state; });

EM_JS(int, web_net_text, (int job, char* out, int capacity), {
  const bytes = new TextEncoder().encode(Module.torvaneNet.slots[job].text);
  const n = Math.min(bytes.length, capacity);
  HEAPU8.set(bytes.subarray(0, n), out);
  return n;
});

// The server the page found beside it, or "".
EM_JS(int, web_net_page_server, (char* out, int capacity), {
  const server = typeof Module.torvaneServer === 'string' ? Module.torvaneServer : "";
  if (lengthBytesUTF8(server) >= capacity) return 0;
  stringToUTF8(server, out, capacity);
  return 1;
});

class WebNetwork final : public Network {
 public:
  WebNetwork() {
    web_net_install();
    char page[256] = "";
    if (web_net_page_server(page, sizeof page)) page_server_ = page;
    server_ = page_server_;
  }

  const char* server() const override { return server_.c_str(); }

  void set_server(const char* url) override { server_ = url && url[0] ? url : page_server_; }

  bool start(NetJob job, const char* body, std::size_t size, const char* name, const char* outbox_file,
             int timeout_ms) override {
    const int k = static_cast<int>(job);
    if (server_.empty() || size > kNetMaxBody) return false;
    if (web_net_state(k) == static_cast<int>(NetState::Pending)) {
      // A game sent while the one before is still on its way (or its verification awaited)
      // goes with the outbox, queued behind it.
      if (job == NetJob::Send && outbox_file && outbox_file[0] && !outbox_folder_.empty())
        web_net_flush(server_.c_str(), outbox_folder_.c_str());
      return false;
    }
    web_net_start(k, server_.c_str(), body, static_cast<int>(size), name ? name : "", outbox_file ? outbox_file : "",
                  timeout_ms);
    return true;
  }

  NetAnswer poll(NetJob job, char* out, std::size_t capacity) override {
    if (server_.empty()) return {NetState::NoServer, 0};
    const int k = static_cast<int>(job);
    const auto state = static_cast<NetState>(web_net_state(k));
    const int n = out ? web_net_text(k, out, static_cast<int>(capacity)) : 0;
    return {state, static_cast<std::size_t>(n)};
  }

  bool wait(NetJob job, int ms) override {
    // The page's turn comes only while the game sleeps: the answer arrives during these sleeps.
    const double until = emscripten_get_now() + ms;
    while (web_net_state(static_cast<int>(job)) == static_cast<int>(NetState::Pending)) {
      if (emscripten_get_now() >= until) return false;
      emscripten_sleep(5);
    }
    return true;
  }

  void send_outbox(const char* folder) override {
    outbox_folder_ = folder ? folder : "";
    if (!server_.empty() && !outbox_folder_.empty()) web_net_flush(server_.c_str(), outbox_folder_.c_str());
  }

 private:
  std::string page_server_, server_, outbox_folder_;
};

}  // namespace

std::unique_ptr<Network> make_web_network() { return std::make_unique<WebNetwork>(); }
