#pragma once
// The round's timetable: phases, waves, messages, bonuses and backgrounds.
void run_phase_script();
void setup_wave(int wave);
