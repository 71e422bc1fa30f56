#include "round/heading.h"

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
