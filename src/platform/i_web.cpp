// The browser backend: canvas, events, storage, clock.
#include "platform/i_web.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

#include "gfx/gfx.h"
#include "platform/browser_keys.h"
#include "platform/i_web_audio.h"
#include "platform/i_web_gamepad.h"
#include "platform/letterbox.h"
#include "platform/queued_input.h"
#include "system/input.h"
#include "system/network.h"

namespace {

WebRequest pending_request = WebRequest::None;

// The canvas keeps the page's 640x480 pixels; its shown size is the largest whole multiple
// that fits the stage around it (device pixels), or a smooth shrink when none does, or, when
// the player chose to fill the window, the largest size of the same shape.
EM_JS(void, web_show_page, (const std::uint8_t* rgba, int width, int height), {
  const canvas = Module.canvas;
  if (!Module.torvaneImage) {
    Module.torvaneContext = canvas.getContext('2d', {alpha: false});
    Module.torvaneImage = Module.torvaneContext.createImageData(width, height);
  }
  Module.torvaneImage.data.set(HEAPU8.subarray(rgba, rgba + width * height * 4));
  Module.torvaneContext.putImageData(Module.torvaneImage, 0, 0);
  Module.framesShown = (Module.framesShown | 0) + 1;
  if (Module.onFrameShown) Module.onFrameShown();
});

EM_JS(int, web_stage_width, (), {
  return Math.floor(Module.canvas.parentElement.clientWidth * (window.devicePixelRatio || 1));
});
EM_JS(int, web_stage_height, (), {
  return Math.floor(Module.canvas.parentElement.clientHeight * (window.devicePixelRatio || 1));
});

// 0 whole steps, 1 fill smoothly, 2 fill with square pixels: the page's choice.
EM_JS(int, web_scale_mode, (), { return Module.torvaneScale | 0; });

EM_JS(void, web_place_canvas, (int x, int y, int w, int h, int crisp), {
  const ratio = window.devicePixelRatio || 1, style = Module.canvas.style;
  style.left = (x / ratio) + 'px';
  style.top = (y / ratio) + 'px';
  style.width = (w / ratio) + 'px';
  style.height = (h / ratio) + 'px';
  style.imageRendering = crisp ? 'pixelated' : 'auto';
});

// Alt+Enter: the browser allows full screen only from inside the key's own handler.
EM_JS(void, web_toggle_full_screen, (), {
  const stage = Module.canvas.parentElement;
  const done = document.fullscreenElement ? document.exitFullscreen() : stage.requestFullscreen();
  if (done && done.catch) done.catch(() => {});
});

EM_JS(void, web_pointer_visible, (int visible), {
  Module.canvas.style.cursor = visible ? 'default' : 'none';
});

// The game's icon becomes the page's.
EM_JS(void, web_set_icon, (const std::uint8_t* rgba, int width, int height), {
  const canvas = document.createElement('canvas');
  canvas.width = width;
  canvas.height = height;
  const context = canvas.getContext('2d');
  const image = context.createImageData(width, height);
  image.data.set(HEAPU8.subarray(rgba, rgba + width * height * 4));
  context.putImageData(image, 0, 0);
  let link = document.querySelector('link[rel=icon]');
  if (!link) {
    link = document.createElement('link');
    link.rel = 'icon';
    document.head.appendChild(link);
  }
  link.href = canvas.toDataURL('image/png');
});

// The frame's work (from the end of one sleep to the start of the next, summed until a page
// is shown) for the page to read: Module.frameTimes, the last 4096 in milliseconds.
EM_JS(void, web_note_frame, (double busy_ms), {
  const times = Module.frameTimes || (Module.frameTimes = []);
  if (times.length >= 4096) times.shift();
  times.push(busy_ms);
  if (Module.firstFrameMs === undefined) Module.firstFrameMs = performance.now();
});

EM_JS(void, web_note_stopped, (), { Module.stopped = true; });

// The game's keys as the game reads them after a look at the input (keyboard, on-screen
// controls and controllers alike), for the page's test: Module.keysHeld, their scancodes.
EM_JS(void, web_note_keys, (const int* held, int count), {
  Module.keysHeld = Array.from(HEAP32.subarray(held >> 2, (held >> 2) + count));
});
constexpr int kReportedKeys[] = {kKeyEscape, kKey1, kKey2, kKey3, kKeyY, kKeyEnter, kKeyN,
                                 kKeySpace, kKeyUp, kKeyLeft, kKeyRight, kKeyDown};

// The sound as the page tells the player: both volumes at 0 % is worth a line.
EM_JS(void, web_note_volumes, (int music, int effects), {
  if (Module.torvaneVolumes) Module.torvaneVolumes(music, effects);
});

// The name entry: the page offers the device's keyboard while it is up (Module.typing).
EM_JS(void, web_note_typing, (int wanted), {
  Module.typing = !!wanted;
  if (Module.torvaneTyping) Module.torvaneTyping(!!wanted);
});

// A save's fsync reports success whatever the browser's storage said: the storage hook below
// notes its failures here, so a save can be told from one that only reached memory.
EM_JS(void, web_storage_error_clear, (), { Module.storageError = null; });
EM_JS(int, web_storage_failed, (), { return Module.storageError ? 1 : 0; });

EM_JS(void, web_download, (const char* path, const char* name), {
  const bytes = FS.readFile(UTF8ToString(path));
  const url = URL.createObjectURL(new Blob([bytes], {type: 'application/octet-stream'}));
  const link = document.createElement('a');
  link.href = url;
  link.download = UTF8ToString(name);
  document.body.appendChild(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60000);
});

// Test options from the page's address: ?clock=virtual runs the game flat out on a virtual
// clock that moves only when it sleeps (as the headless runner's, from the same origin), and
// &stop-ms=T stops it at the first page shown at or after T ms.
EM_JS(void, web_page_query, (char* out, int size), {
  stringToUTF8(location.search, out, size);
});

struct PageOptions {
  bool virtual_clock = false;
  std::int64_t stop_us = -1;
};

PageOptions read_page_options() {
  PageOptions options;
  char query[256] = {};
  web_page_query(query, sizeof query);
  const std::string text = query;
  options.virtual_clock = text.find("clock=virtual") != std::string::npos;
  if (const auto at = text.find("stop-ms="); at != std::string::npos)
    options.stop_us = std::atoll(text.c_str() + at + 8) * 1000;
  return options;
}

class WebPlatform final : public Platform {
 public:
  explicit WebPlatform(std::unique_ptr<Network> network);
  ~WebPlatform() override;

  bool open_display(bool full_screen) override;
  void present(const Image& page) override;
  void pump_events() override;
  double now_seconds() override;
  void sleep_ms(int ms) override;
  void set_mouse(int x, int y, int visible, int clip) override;
  void set_icon(const Image& icon) override;
  void play_sound(int handle) override { audio_.play_sound(handle); }
  void play_music(const char* file_name) override { audio_.play_music(file_name); }
  void stop_music() override { audio_.stop_music(); }
  void set_volumes(int music, int effects) override {
    audio_.set_volumes(music, effects);
    web_note_volumes(music, effects);
  }
  void typing_wanted(bool wanted) override { web_note_typing(wanted ? 1 : 0); }
  Network* network() override { return network_.get(); }

  Reading take_reading(ReadingKind kind, char* out, std::size_t capacity, ReadingWork work, void* context) override;

  bool on_key(int type, const EmscriptenKeyboardEvent& key);
  void on_focus_lost() { queue_.push({QueuedInput::Kind::FocusLost, 0}); }
  void on_gesture() { audio_.start(); }
  // The page's on-screen controls: a key held or let go, a character typed.
  void on_touch_key(int scancode, bool down);
  void on_touch_typed(int code);

 private:
  void place_canvas();
  void sleep_for_real(int ms);

  PageOptions options_;
  std::unique_ptr<Network> network_;
  InputQueue queue_;
  WebGamepads gamepads_;
  WebAudio audio_;
  int scale_mode_ = -1;
  unsigned reported_keys_ = ~0u;
  std::vector<std::uint8_t> rgba_;
  int stage_w_ = -1, stage_h_ = -1;
  std::int64_t virtual_us_ = 0;
  double busy_since_ms_ = 0.0, busy_ms_ = 0.0;
  double last_yield_ms_ = 0.0;
  double last_drawn_ms_ = -1e9;
  double last_pad_poll_ms_ = -1e9;
};

WebPlatform* active = nullptr;

const char* kWindow = EMSCRIPTEN_EVENT_TARGET_WINDOW;

EM_BOOL key_callback(int type, const EmscriptenKeyboardEvent* key, void*) {
  return active && active->on_key(type, *key) ? EM_TRUE : EM_FALSE;
}

EM_BOOL blur_callback(int, const EmscriptenFocusEvent*, void*) {
  if (active) active->on_focus_lost();
  return EM_FALSE;
}

EM_BOOL visibility_callback(int, const EmscriptenVisibilityChangeEvent* change, void*) {
  if (active && change->hidden) active->on_focus_lost();
  return EM_FALSE;
}

EM_BOOL mouse_callback(int, const EmscriptenMouseEvent*, void*) {
  if (active) active->on_gesture();
  return EM_FALSE;
}

WebPlatform::WebPlatform(std::unique_ptr<Network> network)
    : options_(read_page_options()), network_(std::move(network)) {
  active = this;
  emscripten_set_keydown_callback(kWindow, nullptr, EM_FALSE, key_callback);
  emscripten_set_keyup_callback(kWindow, nullptr, EM_FALSE, key_callback);
  emscripten_set_blur_callback(kWindow, nullptr, EM_FALSE, blur_callback);
  emscripten_set_visibilitychange_callback(nullptr, EM_FALSE, visibility_callback);
  emscripten_set_mousedown_callback(kWindow, nullptr, EM_FALSE, mouse_callback);
  busy_since_ms_ = emscripten_get_now();
}

WebPlatform::~WebPlatform() {
  if (active == this) active = nullptr;
}

bool WebPlatform::on_key(int type, const EmscriptenKeyboardEvent& key) {
  // Browser shortcuts (Ctrl+R, Ctrl+W and the like) stay the browser's.
  if (key.ctrlKey || key.metaKey) return false;
  const bool down = type == EMSCRIPTEN_EVENT_KEYDOWN;
  if (down) audio_.start();
  const bool enter = std::strcmp(key.code, "Enter") == 0 || std::strcmp(key.code, "NumpadEnter") == 0;
  if (enter && key.altKey) {
    // Alt+Enter belongs to the page: it switches full screen and is no Enter for the game.
    if (down && !key.repeat) {
      web_toggle_full_screen();
      queue_.push({QueuedInput::Kind::FullScreenSwitch, 0});
    }
    return true;
  }
  const int scancode = browser_key_to_set1(key.code);
  if (scancode >= 0 && !key.repeat)
    queue_.push({down ? QueuedInput::Kind::Down : QueuedInput::Kind::Up, static_cast<std::uint16_t>(scancode)});
  // Typed keys repeat like a keyboard buffer.
  if (down) {
    if (const int typed = browser_key_to_typed(key.code, key.key); typed != 0)
      queue_.push({QueuedInput::Kind::Typed, static_cast<std::uint16_t>(typed)});
  }
  // The game's keys must not scroll the page or move the focus; F-keys stay the browser's.
  return scancode >= 0 && key.code[0] != 'F';
}

void WebPlatform::on_touch_key(int scancode, bool down) {
  if (scancode <= 0 || scancode >= 128) return;
  if (down) audio_.start();
  queue_.push({down ? QueuedInput::Kind::Down : QueuedInput::Kind::Up, static_cast<std::uint16_t>(scancode)});
}

void WebPlatform::on_touch_typed(int code) {
  // A character, or a key without one as 0xFF00 | its scancode (the playback's buttons).
  const bool key = code > 0xFF00 && code < 0xFF80;
  if ((code > 0 && code < 256) || key) queue_.push({QueuedInput::Kind::Typed, static_cast<std::uint16_t>(code)});
}

Reading WebPlatform::take_reading(ReadingKind kind, char* out, std::size_t capacity, ReadingWork work, void* context) {
  const bool save = kind == ReadingKind::SettingsSaved || kind == ReadingKind::HighScoresSaved;
  if (save) web_storage_error_clear();
  Reading reading = work(context, out, capacity);
  // Kept in memory only: the game says it could not be saved, as it would on a full disk.
  if (save && reading.outcome == 1 && web_storage_failed()) reading.outcome = 0;
  return reading;
}

bool WebPlatform::open_display(bool full_screen) {
  // Full screen follows Alt+Enter inside its handler; the page opens in its window.
  (void)full_screen;
  rgba_.assign(static_cast<std::size_t>(kScreenWidth) * kScreenHeight * 4, 0);
  stage_w_ = stage_h_ = -1;
  return true;
}

void WebPlatform::place_canvas() {
  const int w = web_stage_width(), h = web_stage_height(), mode = web_scale_mode();
  if (w == stage_w_ && h == stage_h_ && mode == scale_mode_) return;
  stage_w_ = w;
  stage_h_ = h;
  scale_mode_ = mode;
  const LetterboxRect box = mode == 0 ? letterbox_rect(w, h, kScreenWidth, kScreenHeight)
                                      : fill_rect(w, h, kScreenWidth, kScreenHeight);
  web_place_canvas(box.x, box.y, box.w, box.h, box.integer_scale || mode == 2 ? 1 : 0);
}

void WebPlatform::present(const Image& page) {
  if (page.width != kScreenWidth || page.height != kScreenHeight || rgba_.empty()) return;
  busy_ms_ += emscripten_get_now() - busy_since_ms_;
  web_note_frame(busy_ms_);
  busy_ms_ = 0.0;
  const bool stop = options_.virtual_clock && options_.stop_us >= 0 && virtual_us_ >= options_.stop_us;
  // Flat out on the virtual clock the game makes pages far faster than the browser shows them
  // (it gets its turn every 10 ms): only the pages it can show are drawn.
  if (!options_.virtual_clock || stop || emscripten_get_now() - last_drawn_ms_ >= 10.0) {
    last_drawn_ms_ = emscripten_get_now();
    // Pages are ARGB words with translucent top bytes from blending: the canvas takes opaque
    // RGBA bytes.
    std::uint8_t* out = rgba_.data();
    for (int y = 0; y < kScreenHeight; ++y) {
      const Colour* row = page.row(y);
      for (int x = 0; x < kScreenWidth; ++x, out += 4) {
        const Colour c = row[x];
        out[0] = static_cast<std::uint8_t>(c >> 16);
        out[1] = static_cast<std::uint8_t>(c >> 8);
        out[2] = static_cast<std::uint8_t>(c);
        out[3] = 255;
      }
    }
    place_canvas();
    web_show_page(rgba_.data(), kScreenWidth, kScreenHeight);
  }
  queue_.frame_shown();
  if (stop) {
    // The first page at or after the stop stays on the canvas, as the runner's --dump-frame
    // takes it.
    web_note_stopped();
    for (;;) emscripten_sleep(1000);
  }
  busy_since_ms_ = emscripten_get_now();
}

void WebPlatform::pump_events() {
  // The game looks at the keys many times a frame; a controller is asked at most every 4 ms.
  if (const double now = emscripten_get_now(); now - last_pad_poll_ms_ >= 4.0) {
    last_pad_poll_ms_ = now;
    gamepads_.poll();
  }
  queue_.apply();
  unsigned keys = 0;
  int held[std::size(kReportedKeys)];
  int count = 0;
  for (std::size_t i = 0; i < std::size(kReportedKeys); ++i)
    if (input_key_held(kReportedKeys[i])) keys |= 1u << i, held[count++] = kReportedKeys[i];
  if (keys != reported_keys_) {
    reported_keys_ = keys;
    web_note_keys(held, count);
  }
  if (pending_request != WebRequest::None) program_exit(0);
}

double WebPlatform::now_seconds() {
  // The virtual clock starts where the headless runner's does.
  if (options_.virtual_clock) return 1000.0 + static_cast<double>(virtual_us_) * 1e-6;
  return emscripten_get_now() / 1000.0;
}

void WebPlatform::sleep_for_real(int ms) {
  busy_ms_ += emscripten_get_now() - busy_since_ms_;
  emscripten_sleep(static_cast<unsigned>(ms));
  busy_since_ms_ = emscripten_get_now();
}

void WebPlatform::sleep_ms(int ms) {
  if (ms <= 0) return;
  if (!options_.virtual_clock) {
    sleep_for_real(ms);
  } else {
    virtual_us_ += static_cast<std::int64_t>(ms) * 1000;
    // Flat out, with the browser's turn (events, drawing) every 10 ms of real time.
    if (emscripten_get_now() - last_yield_ms_ >= 10.0) {
      sleep_for_real(0);
      last_yield_ms_ = emscripten_get_now();
    }
  }
  pump_events();
}

void WebPlatform::set_mouse(int, int, int visible, int) {
  if (visible >= 0) web_pointer_visible(visible);
}

void WebPlatform::set_icon(const Image& icon) {
  if (icon.width < 1 || icon.height < 1) return;
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(icon.width) * icon.height * 4);
  for (int y = 0; y < icon.height; ++y)
    for (int x = 0; x < icon.width; ++x) {
      const Colour c = icon.row(y)[x];
      std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * icon.width + x) * 4];
      p[0] = static_cast<std::uint8_t>(c >> 16);
      p[1] = static_cast<std::uint8_t>(c >> 8);
      p[2] = static_cast<std::uint8_t>(c);
      p[3] = static_cast<std::uint8_t>(c >> 24);
    }
  web_set_icon(rgba.data(), icon.width, icon.height);
}

}  // namespace

std::unique_ptr<Platform> make_web_platform(std::unique_ptr<Network> network) {
  return std::make_unique<WebPlatform>(std::move(network));
}

bool web_virtual_clock() { return read_page_options().virtual_clock; }

// The home folder (settings, high scores) lives in the browser's IndexedDB: emscripten's fsync
// of any file or folder of it writes the copy there and waits until it is written, and the
// game syncs after every save, so a dying tab loses none. A browser that gives the page no
// storage (private windows, blocked site data) leaves the folder in memory, carried from one
// session of the page to the next by the page itself, and the page says once that nothing is
// kept. Returns 1 when the storage is the browser's.
//
// Emscripten's IDBFS passes the errors that come as events (a request's, a transaction's) on
// as no error at all, and never answers for a transaction that aborts (a full quota at commit):
// a save would look kept, or the game would wait for ever. Each of its transactions is
// therefore watched here: its first error or abort ends the sync in flight as failed. IDBFS's
// own error handlers are kept from running: they would go on as if nothing had failed.
EM_ASYNC_JS(int, web_mount_storage_js, (), {
  const home = '/home/web_user';  // HOME as emscripten sets it
  FS.mkdirTree(home);
  let kept = false;
  try {
    // Reading the property throws where site data is blocked; emscripten would abort without it.
    if (typeof indexedDB === 'undefined' || !indexedDB) throw new Error('no IndexedDB');
    let inFlight = null;  // the running sync's end
    const watch = (transaction, end) => {
      const failed = (event) => end(transaction.error || (event.target && event.target.error) ||
                                    new Error('the storage refused the write'));
      transaction.addEventListener('error', (event) => {
        event.stopImmediatePropagation();
        failed(event);
      });
      transaction.addEventListener('abort', failed);
    };
    const getDB = IDBFS.getDB;
    IDBFS.getDB = (name, callback) => getDB(name, (error, db) => {
      if (db && !db.torvaneWatched) {
        db.torvaneWatched = true;
        db.transaction = function () {
          const transaction = Object.getPrototypeOf(this).transaction.apply(this, arguments);
          if (inFlight) watch(transaction, inFlight);
          return transaction;
        };
      }
      callback(error, db);
    });
    // One sync at a time: each compares the whole folder with the stored copy, and the score
    // server's client removes sent games from the outbox while the game may be saving.
    const sync = IDBFS.syncfs;
    let syncs = Promise.resolve();
    IDBFS.syncfs = (mount, populate, done) => {
      syncs = syncs.then(() => new Promise((next) => {
        let finished = false;
        const end = (error) => {
          if (finished) return;
          finished = true;
          if (inFlight === end) inFlight = null;
          if (error) Module.storageError = String(error.message || error.name || error);
          next();
          done(error);
        };
        inFlight = end;
        try { sync(mount, populate, end); } catch (e) { end(e || new Error('storage refused')); }
      }));
    };
    FS.mount(IDBFS, {}, home);
    await new Promise((ok, refused) => FS.syncfs(true, (error) => error ? refused(error) : ok()));
    kept = true;
    Module.torvaneSyncHome = () => {
      if (!Module.torvaneEnded) IDBFS.syncfs(FS.lookupPath(home).node.mount, false, () => {});
    };
  } catch (e) {
    try { FS.unmount(home); } catch (ignored) {}
    const carried = Module.torvaneCarried || {};
    for (const path of Object.keys(carried)) {
      FS.mkdirTree(path.slice(0, path.lastIndexOf('/')));
      FS.writeFile(path, carried[path]);
    }
  }
  Module.storageKept = kept;
  if (Module.torvaneStorage) Module.torvaneStorage(kept);
  return kept ? 1 : 0;
});

bool web_mount_storage() { return web_mount_storage_js() != 0; }

WebRequest web_take_request() {
  const WebRequest request = pending_request;
  pending_request = WebRequest::None;
  return request;
}

// Called by the page's buttons and on-screen controls.
extern "C" EMSCRIPTEN_KEEPALIVE void web_request(int what) {
  pending_request = what == 1 ? WebRequest::DownloadRecording : what == 2 ? WebRequest::PlayRecording : WebRequest::None;
}

extern "C" EMSCRIPTEN_KEEPALIVE void web_touch_key(int scancode, int down) {
  if (active) active->on_touch_key(scancode, down != 0);
}

extern "C" EMSCRIPTEN_KEEPALIVE void web_touch_typed(int code) {
  if (active) active->on_touch_typed(code);
}

void web_offer_download(const std::string& path, const std::string& name) { web_download(path.c_str(), name.c_str()); }

// The page hands a recording to a fresh session as bytes; it goes to the file system, whatever
// its size.
EM_JS(int, web_handed_recording, (const char* path), {
  const bytes = Module.torvaneRecording;
  if (!bytes) return 0;
  Module.torvaneRecording = null;
  FS.writeFile(UTF8ToString(path), bytes);
  return 1;
});

bool web_take_recording_to_play() { return web_handed_recording(kWebPlayFile) != 0; }

EM_JS(void, web_note_recording_limit, (double bytes), { Module.recordingLimit = bytes; });

void web_set_recording_limit(std::size_t bytes) { web_note_recording_limit(static_cast<double>(bytes)); }

EM_JS(void, web_session_over, (const char* text), {
  Module.torvaneEnded = true;  // requests still on their way leave the storage alone
  if (Module.torvaneAudio) Module.torvaneAudio.close().catch(() => {});
  if (Module.torvaneMusic) Module.torvaneMusic.pause();
  for (const name of Object.keys(IDBFS.dbs)) {
    try { IDBFS.dbs[name].close(); } catch (e) {}
  }
  IDBFS.dbs = {};
  if (Module.torvaneSessionOver) Module.torvaneSessionOver(UTF8ToString(text));
});

void web_end_session(const std::string& status) {
  // The next session's program takes the keys, the controllers and the sound from here on.
  emscripten_html5_remove_all_event_listeners();
  web_session_over(status.c_str());
}
