#pragma once
void show_instructions();
