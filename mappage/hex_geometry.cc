#include "mappage/hex_geometry.h"

#include <cmath>
#include <cstdio>

Point hexCentre(int x, int y, double size) {
  const double sqrt3 = std::sqrt(3.0);
  // x & 1 is 1 for odd columns, negative ones included.
  return {size * 1.5 * x, size * sqrt3 * (y + 0.5 * (x & 1))};
}

namespace {

// Not every C library defines M_PI.
constexpr double kPi = 3.14159265358979323846;

}  // namespace

std::string hexagonPoints(double size) {
  std::string points;
  for (int corner = 0; corner < 6; ++corner) {
    const double angle = kPi / 3.0 * corner;
    char pair[48];
    std::snprintf(pair, sizeof pair, "%s%.2f,%.2f", corner > 0 ? " " : "",
                  size * std::cos(angle) + 0.0, size * std::sin(angle) + 0.0);
    points += pair;
  }
  return points;
}
