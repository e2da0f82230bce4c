#include "mappage/map_page.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <utility>

#include "mappage/map_layout.h"
#include "mappage/map_style.h"

namespace {

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

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

// What the legend lists: what this map uses.
struct LegendEntries {
  std::set<std::string> controls;
  // glyph -> terrain codes, by the glyph's number ("?" last)
  std::map<std::pair<int, std::string>, std::set<std::string>> glyphs;
  bool planets = false;
  bool starbases = false;
};

// One group per placed hex, at its centre; notes what it uses in legend.
std::string hexElements(const MapLayout& layout, LegendEntries& legend) {
  // The terrain's number below the centre, the markers above it, so that the
  // centre shows the control colour.
  const std::string kGlyphY = number(kHexSize * 0.62);
  const std::string kMarkerOffset = number(kHexSize * 0.42);
  std::string hexes;
  hexes.reserve(layout.placed.size() * 220);
  for (const PlacedHex& hex : layout.placed) {
    const MapHexRow& r = *hex.row;
    const std::string control = controlClass(r.politicalControl);
    const std::string glyph = terrainGlyph(r.terrainType);
    legend.controls.insert(control);
    legend.glyphs[{glyph == "?" ? 99 : std::atoi(glyph.c_str()), glyph}].insert(
        r.terrainType);
    // Each hex is a group placed at its centre; its parts sit around (0, 0).
    hexes += "<g class=\"" + control + "\" transform=\"translate(" +
             number(layout.origin.x + hex.centre.x) + " " +
             number(layout.origin.y + hex.centre.y) + ")\"><title>" +
             escapeHtml(hoverText(r)) + "</title><use href=\"#h\"/><text y=\"" +
             kGlyphY + "\">" + escapeHtml(glyph) + "</text>";
    if (showsMarker(r.planetType)) {
      legend.planets = true;
      hexes += "<use href=\"#planet\" x=\"-" + kMarkerOffset + "\" y=\"-" +
               kMarkerOffset + "\"/>";
    }
    if (showsMarker(r.starbaseType)) {
      legend.starbases = true;
      hexes += "<use href=\"#starbase\" x=\"" + kMarkerOffset + "\" y=\"-" +
               kMarkerOffset + "\"/>";
    }
    hexes += "</g>\n";
  }
  return hexes;
}

// The drawing: the shapes every hex uses, then the hexes.
std::string mapDrawing(const MapLayout& layout, const std::string& hexes) {
  return "<svg class=\"map\" xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
         number(layout.drawingWidth) + "\" height=\"" +
         number(layout.drawingHeight) + "\" viewBox=\"0 0 " +
         number(layout.drawingWidth) + " " + number(layout.drawingHeight) +
         "\">\n<defs><polygon id=\"h\" class=\"hex\" "
         "points=\"" +
         hexagonPoints(kHexSize) +
         "\"/><circle id=\"planet\" class=\"planet\" r=\"3.2\"/>"
         "<rect id=\"starbase\" class=\"starbase\" x=\"-3\" y=\"-3\" "
         "width=\"6\" height=\"6\"/></defs>\n" +
         hexes + "</svg>\n";
}

// The legend of the colours, terrain numbers and markers the map uses.
std::string legendSection(const LegendEntries& legend) {
  std::string html =
      "<section>\n<h2>Political control</h2>\n<ul class=\"legend\">";
  for (const char* c :
       {"p0", "p1", "p2", "p3", "p4", "p5", "p6", "p7", "p8", "p15", "pu"}) {
    if (legend.controls.count(c) == 0) continue;
    html += "<li><span class=\"sw " + std::string(c) + "\"></span>" +
            controlName(c) + "</li>";
  }
  html +=
      "</ul>\n<h2>Terrain (the number on each hex)</h2>\n<ul class=\"legend\">";
  for (const auto& [key, codes] : legend.glyphs) {
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
  if (legend.planets || legend.starbases) {
    html += "<h2>Markers</h2>\n<ul class=\"legend\">";
    if (legend.planets) {
      html +=
          "<li><svg width=\"14\" height=\"14\" viewBox=\"-7 -7 14 14\">"
          "<circle class=\"planet\" r=\"4\"/></svg> a planet (PlanetType "
          "not 0)</li>";
    }
    if (legend.starbases) {
      html +=
          "<li><svg width=\"14\" height=\"14\" viewBox=\"-7 -7 14 14\">"
          "<rect class=\"starbase\" x=\"-4\" y=\"-4\" width=\"8\" "
          "height=\"8\"/></svg> a starbase (StarbaseType not 0)</li>";
    }
    html += "</ul>\n";
  }
  return html +
         "<p>Layout: flat-topped hexes in columns. X counts the columns from "
         "left to right, Y the rows from top to bottom; odd columns sit half a "
         "hex lower. Hover over a hex to see its whole row.</p>\n"
         "</section>\n";
}

}  // namespace

MapPage renderMapPage(const WebmapContent& webmap) {
  const MapLayout layout = layOutMap(webmap);
  MapPage page;
  page.warnings = layout.warnings;
  page.hexesDrawn = static_cast<int>(layout.placed.size());
  page.origin = layout.origin;

  LegendEntries legend;
  const std::string hexes = hexElements(layout, legend);
  const std::string title = "Webmap: map of " + escapeHtml(layout.sizeText);
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<title>" +
      title + "</title>\n<style>" + std::string(kStyle) + controlRules() +
      "</style>\n</head>\n<body>\n<header>\n<h1>" + title + ", " +
      std::to_string(page.hexesDrawn) + " hexes drawn</h1>\n";
  for (const std::string& warning : page.warnings) {
    html += "<p class=\"warning\">Warning: " + escapeHtml(warning) + "</p>\n";
  }
  html += "</header>\n" + mapDrawing(layout, hexes) + legendSection(legend) +
          "</body>\n</html>\n";
  page.html = std::move(html);
  return page;
}
