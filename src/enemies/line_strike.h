#pragma once
// What an enemy striking the ordinary line costs: 30 points, the no-hit bonus and energy of
// its kind, then the kind's adjustment (never below 0 energy).
void charge_line_strike(int kind, double energy_adjustment);
