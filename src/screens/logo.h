#pragma once
// The menu's logo: five flat polygons, outlined and flood-filled in their own colour.
void draw_logo();
