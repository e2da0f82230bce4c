// Where the map page draws a hex: flat-topped hexagons in columns, odd
// columns half a hex lower ("odd-q" columns), X the column and Y the row.
// Coordinates are signed; hex (0, 0) has its centre at (0, 0).
#ifndef ZELKOR_MAPPAGE_HEX_GEOMETRY_H_
#define ZELKOR_MAPPAGE_HEX_GEOMETRY_H_

#include <string>

struct Point {
  double x;
  double y;
};

// Centre to corner, in page pixels.
constexpr double kHexSize = 16.0;

// The centre of the hex at column x and row y:
// (size * 3/2 * x, size * sqrt(3) * (y + 0.5 * (x odd))).
Point hexCentre(int x, int y, double size = kHexSize);

// The hexagon's six corners around (0, 0), at 0, 60, ... 300 degrees, as the
// points attribute of an SVG polygon ("12,0 6,10.4 ...").
std::string hexagonPoints(double size = kHexSize);

#endif  // ZELKOR_MAPPAGE_HEX_GEOMETRY_H_
