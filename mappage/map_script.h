// The map page's script, inline in the page and needing nothing else: the
// map drawn on a canvas and fitted to the window on open; zoom with the
// wheel, the + and - buttons, the keys + and - or two fingers; pan by
// dragging or with the arrow keys; column and row numbers on the map's top
// and left edges; the X, Y of the hex under the pointer; a hex's whole row
// on a tap or click, with the hex outlined; "Go to X, Y"; an empire's hexes
// highlighted from the legend, the other hexes and their numbers faded.
// Without it the page says that the map needs it.
#ifndef ZELKOR_MAPPAGE_MAP_SCRIPT_H_
#define ZELKOR_MAPPAGE_MAP_SCRIPT_H_

#include <string>
#include <string_view>

// Reads the object M that the page defines before it: o, the drawing's
// position of hex (0, 0)'s centre; s, the hexagons' size; w and h, the
// drawing's size; x and y, the smallest and largest X and Y; n, the maphex
// columns' names (the webmap reference's order, ID first); r, how a short
// row widens to them all (per column the position of its value in the short
// row, or its text); then the hexes' data (v, p, d, k, g, c, t, e and b;
// see hexData in map_page.cc). And the text PAINTER, painterText().
extern const char kMapScript[];

// The painter the script runs to paint views of many hexes
// (mappage/map_painter.c built for WebAssembly), in base 64.
std::string painterText();

// bytes in base 64 (RFC 4648: its alphabet, '=' padding to 4 characters).
std::string base64(std::string_view bytes);

#endif  // ZELKOR_MAPPAGE_MAP_SCRIPT_H_
