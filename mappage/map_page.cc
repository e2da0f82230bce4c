#include "mappage/map_page.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <utility>

#include "mappage/map_style.h"

namespace {

// Room around the hexes, in pixels.
constexpr double kMargin = 4.0;

// A whole number in the text (an optional sign and digits, nothing else).
bool readInt(const std::string& text, long& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtol(text.c_str(), &end, 10);
  return *end == '\0' && value > -100000 && value < 100000;
}

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

struct PlacedHex {
  const MapHexRow* row;
  Point centre;  // in the drawing
};

// "Hex 7 at X 3, Y 4" and every other column of the row.
std::string hoverText(const MapHexRow& r) {
  const auto orNone = [](const std::string& text) {
    return text.empty() ? std::string("none") : text;
  };
  return "Hex " + r.id + " at X " + r.x + ", Y " + r.y + "\nPoliticalControl " +
         r.politicalControl + ", TerrainType " + r.terrainType +
         "\nPlanetType " + r.planetType + ", StarbaseType " + r.starbaseType +
         "\nEconomicPoints " + r.baseEconomicPoints + "/" +
         r.currentEconomicPoints + ", VictoryPoints " + r.baseVictoryPoints +
         "/" + r.currentVictoryPoints + "\nSpeedPoints " + r.baseSpeedPoints +
         "/" + r.currentSpeedPoints + ", LOCKED " + orNone(r.locked) +
         ", LOCKID " + orNone(r.lockId);
}

const char kStyle[] =
    "body{margin:0;font:14px/1.4 sans-serif;color:#222;background:#fff}"
    "header{box-sizing:border-box;height:96px;overflow:auto;padding:6px 12px;"
    "border-bottom:1px solid #ccc}"
    "h1{font-size:18px;margin:0 0 4px}"
    ".warning{margin:0;color:#a00;font-weight:bold}"
    "svg.map{display:block}"
    ".hex{stroke:#fff;stroke-width:1}"
    "svg.map text{font:bold 9px "
    "sans-serif;fill:#000;stroke:#fff;stroke-width:2px;"
    "paint-order:stroke;text-anchor:middle}"
    ".planet{fill:#fff;stroke:#000;stroke-width:0.8}"
    ".starbase{fill:#000}"
    "section{padding:8px 12px}"
    "h2{font-size:15px;margin:8px 0 4px}"
    "ul.legend{list-style:none;padding:0;margin:0;columns:3 16em}"
    ".sw{display:inline-block;width:14px;height:14px;vertical-align:middle;"
    "margin-right:6px;border:1px solid #999}";

}  // namespace

MapPage renderMapPage(const WebmapContent& webmap) {
  MapPage page;
  const double size = kHexSize;
  const double halfHeight = size * std::sqrt(3.0) / 2;

  // The map size, from the one mapdescription row.
  long width = 0;
  long height = 0;
  const bool sized = webmap.descriptions.size() == 1 &&
                     readInt(webmap.descriptions[0].width, width) &&
                     readInt(webmap.descriptions[0].height, height);
  if (webmap.descriptions.size() != 1) {
    page.warnings.push_back(
        "The webmap has " + std::to_string(webmap.descriptions.size()) +
        " mapdescription rows; a complete webmap has exactly one.");
  }
  if (sized && static_cast<long>(webmap.hexes.size()) != width * height) {
    page.warnings.push_back(
        "The webmap holds " + std::to_string(webmap.hexes.size()) +
        " hex rows, but its map of " + std::to_string(width) + " x " +
        std::to_string(height) + " has " + std::to_string(width * height) +
        " hexes.");
  }

  // Place every row whose X and Y are numbers.
  std::vector<PlacedHex> placed;
  std::set<std::pair<long, long>> seen;
  int unplaced = 0;
  int shared = 0;
  double minX = 0, minY = 0, maxX = 0, maxY = 0;
  for (const MapHexRow& row : webmap.hexes) {
    long x = 0;
    long y = 0;
    if (!readInt(row.x, x) || !readInt(row.y, y)) {
      ++unplaced;
      continue;
    }
    if (!seen.insert({x, y}).second) ++shared;
    const Point c = hexCentre(static_cast<int>(x), static_cast<int>(y), size);
    if (placed.empty()) {
      minX = maxX = c.x;
      minY = maxY = c.y;
    }
    minX = std::min(minX, c.x);
    maxX = std::max(maxX, c.x);
    minY = std::min(minY, c.y);
    maxY = std::max(maxY, c.y);
    placed.push_back({&row, c});
  }
  if (shared > 0) {
    page.warnings.push_back(std::to_string(shared) +
                            " hex rows share their X and Y with another row; "
                            "only the last one drawn there shows.");
  }
  if (unplaced > 0) {
    page.warnings.push_back(std::to_string(unplaced) +
                            " hex rows have an X or Y that is not a number "
                            "and are not drawn.");
  }
  page.hexesDrawn = static_cast<int>(placed.size());
  page.origin = {kMargin + size - minX, kMargin + halfHeight - minY};
  const double drawingWidth =
      placed.empty() ? 0 : maxX - minX + 2 * size + 2 * kMargin;
  const double drawingHeight =
      placed.empty() ? 0 : maxY - minY + 2 * halfHeight + 2 * kMargin;

  // The legend's entries: what this map uses.
  std::set<std::string> controls;
  // glyph -> terrain codes, by the glyph's number ("?" last)
  std::map<std::pair<int, std::string>, std::set<std::string>> glyphs;
  bool planets = false;
  bool starbases = false;

  // The terrain's number below the centre, the markers above it, so that the
  // centre shows the control colour.
  const std::string kGlyphY = number(size * 0.62);
  const std::string kMarkerOffset = number(size * 0.42);
  std::string hexes;
  hexes.reserve(placed.size() * 220);
  for (const PlacedHex& hex : placed) {
    const MapHexRow& r = *hex.row;
    const std::string control = controlClass(r.politicalControl);
    const std::string glyph = terrainGlyph(r.terrainType);
    controls.insert(control);
    glyphs[{glyph == "?" ? 99 : std::atoi(glyph.c_str()), glyph}].insert(
        r.terrainType);
    // Each hex is a group placed at its centre; its parts sit around (0, 0).
    hexes += "<g class=\"" + control + "\" transform=\"translate(" +
             number(page.origin.x + hex.centre.x) + " " +
             number(page.origin.y + hex.centre.y) + ")\"><title>" +
             escapeHtml(hoverText(r)) + "</title><use href=\"#h\"/><text y=\"" +
             kGlyphY + "\">" + escapeHtml(glyph) + "</text>";
    if (showsMarker(r.planetType)) {
      planets = true;
      hexes += "<use href=\"#planet\" x=\"-" + kMarkerOffset + "\" y=\"-" +
               kMarkerOffset + "\"/>";
    }
    if (showsMarker(r.starbaseType)) {
      starbases = true;
      hexes += "<use href=\"#starbase\" x=\"" + kMarkerOffset + "\" y=\"-" +
               kMarkerOffset + "\"/>";
    }
    hexes += "</g>\n";
  }

  std::string html =
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
  const std::string sizeText = sized ? std::to_string(width) + " columns x " +
                                           std::to_string(height) + " rows"
                                     : "unknown size";
  html += "<title>Webmap: map of " + escapeHtml(sizeText) + "</title>\n";
  html += "<style>" + std::string(kStyle) + controlRules() +
          "</style>\n</head>\n<body>\n";
  html += "<header>\n<h1>Webmap: map of " + escapeHtml(sizeText) + ", " +
          std::to_string(page.hexesDrawn) + " hexes drawn</h1>\n";
  for (const std::string& warning : page.warnings) {
    html += "<p class=\"warning\">Warning: " + escapeHtml(warning) + "</p>\n";
  }
  html += "</header>\n";
  html += "<svg class=\"map\" xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
          number(drawingWidth) + "\" height=\"" + number(drawingHeight) +
          "\" viewBox=\"0 0 " + number(drawingWidth) + " " +
          number(drawingHeight) +
          "\">\n<defs><polygon id=\"h\" class=\"hex\" "
          "points=\"" +
          hexagonPoints(size) +
          "\"/><circle id=\"planet\" class=\"planet\" r=\"3.2\"/>"
          "<rect id=\"starbase\" class=\"starbase\" x=\"-3\" y=\"-3\" "
          "width=\"6\" height=\"6\"/></defs>\n";
  html += hexes;
  html +=
      "</svg>\n<section>\n<h2>Political control</h2>\n<ul class=\"legend\">";
  for (const char* c :
       {"p0", "p1", "p2", "p3", "p4", "p5", "p6", "p7", "p8", "p15", "pu"}) {
    if (controls.count(c) == 0) continue;
    html += "<li><span class=\"sw " + std::string(c) + "\"></span>" +
            controlName(c) + "</li>";
  }
  html +=
      "</ul>\n<h2>Terrain (the number on each hex)</h2>\n<ul class=\"legend\">";
  for (const auto& [key, codes] : glyphs) {
    const std::string& glyph = key.second;
    std::string list;
    for (const std::string& code : codes) {
      list += (list.empty() ? "" : ", ") + code;
    }
    html += "<li><b>" + escapeHtml(glyph) + "</b>: TerrainType " +
            escapeHtml(list) + (glyph == "?" ? " (unknown terrain)" : "") +
            "</li>";
  }
  html += "</ul>\n";
  if (planets || starbases) {
    html += "<h2>Markers</h2>\n<ul class=\"legend\">";
    if (planets) {
      html +=
          "<li><svg width=\"14\" height=\"14\" viewBox=\"-7 -7 14 14\">"
          "<circle class=\"planet\" r=\"4\"/></svg> a planet (PlanetType "
          "not 0)</li>";
    }
    if (starbases) {
      html +=
          "<li><svg width=\"14\" height=\"14\" viewBox=\"-7 -7 14 14\">"
          "<rect class=\"starbase\" x=\"-4\" y=\"-4\" width=\"8\" "
          "height=\"8\"/></svg> a starbase (StarbaseType not 0)</li>";
    }
    html += "</ul>\n";
  }
  html +=
      "<p>Layout: flat-topped hexes in columns. X counts the columns from "
      "left to right, Y the rows from top to bottom; odd columns sit half a "
      "hex lower. Hover over a hex to see its whole row.</p>\n"
      "</section>\n</body>\n</html>\n";
  page.html = std::move(html);
  return page;
}
