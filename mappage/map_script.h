// The map page's script, inline in the page and needing nothing else: the
// whole map fitted to the window on open; zoom with the wheel, the + and -
// buttons, the keys + and - or two fingers; pan by dragging or with the
// arrow keys; column and row numbers along the top and the side; the X, Y
// of the hex under the pointer; a hex's whole row on a tap or click, with
// the hex outlined; "Go to X, Y"; an empire's hexes highlighted from the
// legend. Without it the page still shows the whole map.
#ifndef ZELKOR_MAPPAGE_MAP_SCRIPT_H_
#define ZELKOR_MAPPAGE_MAP_SCRIPT_H_

// Reads the object M that the page defines before it: o, the drawing's
// position of hex (0, 0)'s centre; s, the hexagons' size; w and h, the
// drawing's size; x and y, the smallest and largest X and Y; d, the rows of the
// placed hexes, ';' between rows and ',' between the fifteen maphex columns (in
// the webmap reference's order, ID first), each value with any character but
// letters, digits, blank, '.',
// ':' and '-' written as %XX.
extern const char kMapScript[];

#endif  // ZELKOR_MAPPAGE_MAP_SCRIPT_H_
