// Turning toward a bearing and the bearing to the pivot.
#include "state/heading.h"

#include "base/game_math.h"

int turn_heading_toward(int heading, double t, int step) {
  int h = heading;
  if (h > t) {
    if (360.0 - h + t >= h - t) h -= step;
    if (360.0 - h + t < h - t) h += step;
  }
  if (h < t) {
    if (h - t + 360.0 >= t - h) h += step;
    if (h - t + 360.0 < t - h) h -= step;
  }
  if (h < 0) h += 360;
  if (h > 359) h -= 360;
  return h;
}

float direction_to_pivot_deg(float x, float y) {
  // The game's own decimal constants, not full-precision pi.
  float a = static_cast<float>(gmath::atan2(static_cast<double>(y) - 220.0, static_cast<double>(x) - 320.0) -
                               1.5707965);
  if (a < 0.0f) a = static_cast<float>(a + 6.283186);
  return static_cast<float>(180.0 * a / 3.141593);
}
