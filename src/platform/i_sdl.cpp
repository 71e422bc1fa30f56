// The SDL2 backend: window, page presentation, events, clock.
#include "platform/i_sdl.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <thread>

#include "gfx/gfx.h"
#include "platform/i_sdl_audio.h"
#include "platform/i_sdl_gamepad.h"
#include "platform/i_sdl_keys.h"
#include "platform/letterbox.h"
#include "system/input.h"

namespace {

// Eight pages each way is more than any screen; far larger windows cost gigabytes or abort.
constexpr int kMaxWindowWidth = kScreenWidth * 8, kMaxWindowHeight = kScreenHeight * 8;

class SdlPlatform final : public Platform {
 public:
  SdlPlatform(bool allow_hidden_display, std::unique_ptr<Network> network)
      : allow_hidden_display_(allow_hidden_display), network_(std::move(network)) {
    frequency_ = SDL_GetPerformanceFrequency();
    pump_interval_ = std::max<std::uint64_t>(1, frequency_ / 1000);
  }
  ~SdlPlatform() override { close(); }

  bool open_display(bool full_screen) override;
  void present(const Image& page) override;
  void pump_events() override;
  double now_seconds() override;
  void sleep_ms(int ms) override;
  void set_icon(const Image& icon) override;
  void set_mouse(int x, int y, int visible, int clip) override;
  void shutdown(int exit_code) override {
    (void)exit_code;
    close();
  }
  Network* network() override { return network_.get(); }
  void play_sound(int handle) override {
    if (audio_) audio_->play_sound(handle);
  }
  void play_music(const char* file_name) override {
    if (audio_) audio_->play_music(file_name);
  }
  void stop_music() override {
    if (audio_) audio_->stop_music();
  }
  void set_volumes(int music, int effects) override {
    if (audio_) audio_->set_volumes(music, effects);
  }

 private:
  bool create_window(bool full_screen);
  void poll_all();
  void handle_key(const SDL_KeyboardEvent& key);
  void close();

  const bool allow_hidden_display_;
  std::unique_ptr<Network> network_;
  bool video_ready_ = false;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  std::unique_ptr<SdlAudio> audio_;
  std::unique_ptr<SdlGamepads> gamepads_;
  std::uint64_t frequency_ = 1;
  std::uint64_t pump_interval_ = 1;
  std::uint64_t last_pump_ = 0;
};

bool SdlPlatform::open_display(bool full_screen) {
  if (window_) {
    // Desktop full screen keeps the monitor's mode; the picture is scaled like in a window.
    return SDL_SetWindowFullscreen(window_, full_screen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) == 0;
  }
  if (create_window(full_screen)) return true;
  // Without its window the game would run on unseen and could never be closed.
  std::fprintf(stderr, "Torvane: cannot open the window: %s\n", SDL_GetError());
  close();
  program_exit(1);
}

bool SdlPlatform::create_window(bool full_screen) {
  if (!video_ready_) {
    // The game paces itself at 41 frames a second with its own sleeps; waiting for the
    // monitor's refresh on top of them would drop frames.
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
    video_ready_ = true;
    // Sound and controllers are extras: the game runs the same without either.
    audio_ = std::make_unique<SdlAudio>();
    gamepads_ = std::make_unique<SdlGamepads>();
    // With no display SDL falls back to drivers that draw nowhere; the headless runner is the
    // way to run without a screen.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!allow_hidden_display_ && driver && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0)) {
      SDL_SetError("no display to open a window on");
      return false;
    }
  }
  Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
  if (full_screen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  window_ = SDL_CreateWindow("Torvane", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kScreenWidth,
                             kScreenHeight, flags);
  if (!window_) return false;
  SDL_SetWindowMinimumSize(window_, kScreenWidth / 4, kScreenHeight / 4);
  SDL_SetWindowMaximumSize(window_, kMaxWindowWidth, kMaxWindowHeight);
  renderer_ = SDL_CreateRenderer(window_, -1, 0);
  if (!renderer_) return false;
  texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                               kScreenWidth, kScreenHeight);
  if (!texture_) return false;
  SDL_SetTextureBlendMode(texture_, SDL_BLENDMODE_NONE);
  SDL_StartTextInput();
  last_pump_ = SDL_GetPerformanceCounter();
  return true;
}

void SdlPlatform::set_icon(const Image& icon) {
  if (!window_ || icon.width < 1 || icon.height < 1) return;
  // SDL copies the pixels, so the surface may borrow the image's.
  SDL_Surface* surface = SDL_CreateRGBSurfaceFrom(const_cast<Colour*>(icon.pixels.data()), icon.width, icon.height, 32,
                                                  icon.stride * 4, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
  if (!surface) return;
  SDL_SetWindowIcon(window_, surface);
  SDL_FreeSurface(surface);
}

void SdlPlatform::present(const Image& page) {
  if (!texture_ || page.width != kScreenWidth || page.height != kScreenHeight) return;
  void* pixels = nullptr;
  int pitch = 0;
  if (SDL_LockTexture(texture_, nullptr, &pixels, &pitch) != 0) return;
  // Pages carry translucent top bytes from blended drawing; the screen shows only their
  // colour, so every pixel goes out opaque.
  for (int y = 0; y < kScreenHeight; ++y) {
    const Colour* src = page.row(y);
    auto* dst = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(pixels) + y * pitch);
    for (int x = 0; x < kScreenWidth; ++x) dst[x] = src[x] | 0xFF000000u;
  }
  SDL_UnlockTexture(texture_);

  int out_w = 0, out_h = 0;
  SDL_GetRendererOutputSize(renderer_, &out_w, &out_h);
  const LetterboxRect box = letterbox_rect(out_w, out_h, kScreenWidth, kScreenHeight);
  SDL_SetTextureScaleMode(texture_, box.integer_scale ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  const SDL_Rect dst{box.x, box.y, box.w, box.h};
  SDL_RenderCopy(renderer_, texture_, nullptr, &dst);
  SDL_RenderPresent(renderer_);
}

void SdlPlatform::pump_events() {
  // key_down pumps on every call, many times a frame and inside spin-waits: the event queue
  // is looked at no more than once a millisecond.
  const std::uint64_t now = SDL_GetPerformanceCounter();
  if (now - last_pump_ < pump_interval_) return;
  last_pump_ = now;
  poll_all();
}

void SdlPlatform::poll_all() {
  // A hang-up or a termination request is the close button, before the window is there too.
  pass_close_signals();
  if (!video_ready_) return;
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (gamepads_ && gamepads_->handle(event)) continue;
    switch (event.type) {
      case SDL_QUIT:
        input_close_request();
        break;
      case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) input_close_request();
        // Not every window manager keeps to the largest size asked for: a window resized far
        // beyond it is brought back before anything is drawn at that size.
        if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED &&
            (event.window.data1 > kMaxWindowWidth || event.window.data2 > kMaxWindowHeight))
          SDL_SetWindowSize(window_, std::min(event.window.data1, kMaxWindowWidth),
                            std::min(event.window.data2, kMaxWindowHeight));
        // Key-ups that happen while another window has focus never arrive.
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
          input_release_all_keys();
          input_focus_lost();
        }
        break;
      case SDL_KEYDOWN:
      case SDL_KEYUP:
        handle_key(event.key);
        break;
      case SDL_TEXTINPUT:
        for (const char* c = event.text.text; *c; ++c) {
          const auto byte = static_cast<unsigned char>(*c);
          if (byte >= 32 && byte <= 126) input_typed_key(byte);
        }
        break;
      default:
        break;
    }
  }
}

void SdlPlatform::handle_key(const SDL_KeyboardEvent& key) {
  const bool down = key.type == SDL_KEYDOWN;
  // Alt+Enter belongs to the window: it switches the screen and is no Enter for the game.
  const bool enter = key.keysym.scancode == SDL_SCANCODE_RETURN || key.keysym.scancode == SDL_SCANCODE_KP_ENTER;
  if (enter && (key.keysym.mod & KMOD_ALT) != 0) {
    if (down && !key.repeat) input_full_screen_switch();
    return;
  }
  if (!key.repeat) {
    const int scancode = sdl_key_to_set1(key.keysym.scancode);
    if (scancode >= 0) input_key_event(scancode, down);
  }
  // Typed keys repeat like a keyboard buffer.
  if (down) {
    const bool num_lock = (key.keysym.mod & KMOD_NUM) != 0;
    const int typed = sdl_key_to_typed(key.keysym.scancode, num_lock);
    if (typed != 0) input_typed_key(static_cast<std::uint16_t>(typed));
  }
}

double SdlPlatform::now_seconds() {
  const std::uint64_t counter = SDL_GetPerformanceCounter();
  // Split so that a large counter keeps its sub-microsecond part.
  return static_cast<double>(counter / frequency_) +
         static_cast<double>(counter % frequency_) / static_cast<double>(frequency_);
}

void SdlPlatform::sleep_ms(int ms) {
  if (ms <= 0) return;
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(ms);
  // Short slices with the event queue served between them keep the window responsive.
  constexpr auto kSlice = std::chrono::milliseconds(2);
  for (;;) {
    pump_events();
    const Clock::time_point now = Clock::now();
    if (now >= deadline) return;
    std::this_thread::sleep_for(std::min<Clock::duration>(kSlice, deadline - now));
  }
}

void SdlPlatform::set_mouse(int x, int y, int visible, int clip) {
  if (!window_) return;
  if (visible >= 0) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
  if (x >= 0) {
    int win_w = 0, win_h = 0, out_w = 0, out_h = 0;
    SDL_GetWindowSize(window_, &win_w, &win_h);
    SDL_GetRendererOutputSize(renderer_, &out_w, &out_h);
    const LetterboxPoint p = letterbox_page_to_window(x, y, win_w, win_h, out_w, out_h);
    SDL_WarpMouseInWindow(window_, p.x, p.y);
  }
  if (clip >= 0) SDL_SetWindowGrab(window_, clip ? SDL_TRUE : SDL_FALSE);
}

void SdlPlatform::close() {
  gamepads_.reset();
  audio_.reset();
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
  texture_ = nullptr;
  renderer_ = nullptr;
  window_ = nullptr;
  if (video_ready_) SDL_Quit();
  video_ready_ = false;
}

}  // namespace

std::unique_ptr<Platform> make_sdl_platform(bool allow_hidden_display, std::unique_ptr<Network> network) {
  return std::make_unique<SdlPlatform>(allow_hidden_display, std::move(network));
}
