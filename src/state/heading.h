#pragma once
// Headings in whole or single-precision degrees, clockwise from straight up.
// The turn rule that homing shots and kamikazes share: one step of `step` degrees toward the
// bearing t, the short way round, wrapped into 0..359. Within a step of the bearing the two
// corrections cancel.
int turn_heading_toward(int heading, double t, int step);

// Clockwise degrees from straight up of the direction from (x, y) to the pivot (320, 220).
float direction_to_pivot_deg(float x, float y);
