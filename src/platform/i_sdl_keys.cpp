// SDL's keys to the game's scancodes and typed characters.
#include "platform/i_sdl_keys.h"

int sdl_key_to_set1(SDL_Scancode key) {
  if (key >= SDL_SCANCODE_1 && key <= SDL_SCANCODE_0) return 2 + (key - SDL_SCANCODE_1);
  if (key >= SDL_SCANCODE_F1 && key <= SDL_SCANCODE_F10) return 59 + (key - SDL_SCANCODE_F1);
  switch (key) {
    case SDL_SCANCODE_ESCAPE: return 1;
    case SDL_SCANCODE_MINUS: return 12;
    case SDL_SCANCODE_EQUALS: return 13;
    case SDL_SCANCODE_BACKSPACE: return 14;
    case SDL_SCANCODE_TAB: return 15;
    case SDL_SCANCODE_Q: return 16;
    case SDL_SCANCODE_W: return 17;
    case SDL_SCANCODE_E: return 18;
    case SDL_SCANCODE_R: return 19;
    case SDL_SCANCODE_T: return 20;
    case SDL_SCANCODE_Y: return 21;
    case SDL_SCANCODE_U: return 22;
    case SDL_SCANCODE_I: return 23;
    case SDL_SCANCODE_O: return 24;
    case SDL_SCANCODE_P: return 25;
    case SDL_SCANCODE_LEFTBRACKET: return 26;
    case SDL_SCANCODE_RIGHTBRACKET: return 27;
    case SDL_SCANCODE_RETURN: return 28;
    case SDL_SCANCODE_KP_ENTER: return 28;
    case SDL_SCANCODE_LCTRL: return 29;
    case SDL_SCANCODE_A: return 30;
    case SDL_SCANCODE_S: return 31;
    case SDL_SCANCODE_D: return 32;
    case SDL_SCANCODE_F: return 33;
    case SDL_SCANCODE_G: return 34;
    case SDL_SCANCODE_H: return 35;
    case SDL_SCANCODE_J: return 36;
    case SDL_SCANCODE_K: return 37;
    case SDL_SCANCODE_L: return 38;
    case SDL_SCANCODE_SEMICOLON: return 39;
    case SDL_SCANCODE_APOSTROPHE: return 40;
    case SDL_SCANCODE_GRAVE: return 41;
    case SDL_SCANCODE_LSHIFT: return 42;
    case SDL_SCANCODE_BACKSLASH: return 43;
    case SDL_SCANCODE_Z: return 44;
    case SDL_SCANCODE_X: return 45;
    case SDL_SCANCODE_C: return 46;
    case SDL_SCANCODE_V: return 47;
    case SDL_SCANCODE_B: return 48;
    case SDL_SCANCODE_N: return 49;
    case SDL_SCANCODE_M: return 50;
    case SDL_SCANCODE_COMMA: return 51;
    case SDL_SCANCODE_PERIOD: return 52;
    case SDL_SCANCODE_SLASH: return 53;
    case SDL_SCANCODE_RSHIFT: return 54;
    case SDL_SCANCODE_LALT: return 56;
    case SDL_SCANCODE_SPACE: return 57;
    case SDL_SCANCODE_CAPSLOCK: return 58;
    case SDL_SCANCODE_HOME: case SDL_SCANCODE_KP_7: return 71;
    case SDL_SCANCODE_UP: case SDL_SCANCODE_KP_8: return 72;
    case SDL_SCANCODE_PAGEUP: case SDL_SCANCODE_KP_9: return 73;
    case SDL_SCANCODE_LEFT: case SDL_SCANCODE_KP_4: return 75;
    case SDL_SCANCODE_KP_5: return 76;
    case SDL_SCANCODE_RIGHT: case SDL_SCANCODE_KP_6: return 77;
    case SDL_SCANCODE_END: case SDL_SCANCODE_KP_1: return 79;
    case SDL_SCANCODE_DOWN: case SDL_SCANCODE_KP_2: return 80;
    case SDL_SCANCODE_PAGEDOWN: case SDL_SCANCODE_KP_3: return 81;
    case SDL_SCANCODE_INSERT: case SDL_SCANCODE_KP_0: return 82;
    case SDL_SCANCODE_DELETE: case SDL_SCANCODE_KP_PERIOD: return 83;
    case SDL_SCANCODE_F11: return 87;
    case SDL_SCANCODE_F12: return 88;
    default: return -1;
  }
}

int sdl_key_to_typed(SDL_Scancode key, bool num_lock) {
  switch (key) {
    case SDL_SCANCODE_BACKSPACE: return 8;
    case SDL_SCANCODE_RETURN: case SDL_SCANCODE_KP_ENTER: return 13;
    case SDL_SCANCODE_ESCAPE: return 27;
    case SDL_SCANCODE_UP: case SDL_SCANCODE_DOWN: case SDL_SCANCODE_LEFT: case SDL_SCANCODE_RIGHT:
    case SDL_SCANCODE_INSERT: case SDL_SCANCODE_DELETE: case SDL_SCANCODE_HOME:
    case SDL_SCANCODE_END: case SDL_SCANCODE_PAGEUP: case SDL_SCANCODE_PAGEDOWN:
      return 0xFF00 | sdl_key_to_set1(key);
    case SDL_SCANCODE_KP_0: case SDL_SCANCODE_KP_1: case SDL_SCANCODE_KP_2: case SDL_SCANCODE_KP_3:
    case SDL_SCANCODE_KP_4: case SDL_SCANCODE_KP_6: case SDL_SCANCODE_KP_7: case SDL_SCANCODE_KP_8:
    case SDL_SCANCODE_KP_9: case SDL_SCANCODE_KP_PERIOD:
      return num_lock ? 0 : 0xFF00 | sdl_key_to_set1(key);
    default:
      if (key >= SDL_SCANCODE_F1 && key <= SDL_SCANCODE_F10) return 0xFF00 | sdl_key_to_set1(key);
      return 0;
  }
}
