#include "mappage/map_page.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <utility>

#include "mappage/map_layout.h"
#include "mappage/map_script.h"
#include "mappage/map_style.h"
#include "webmap/webmap_reader.h"

namespace {

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

// A value of a row for the script's data: letters, digits, blank, '.', ':'
// and '-' as they are, every other byte as %XX, so that no value can end
// the string, the row or the script.
std::string dataValue(const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                       (c >= '0' && c <= '9') || c == ' ' || c == '.' ||
                       c == ':' || c == '-';
    if (plain) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

// How the page writes each maphex column, in the order the reader reads
// them (the webmap reference's order), worked out once from the column
// table.
struct PageColumn {
  std::string MapHexRow::*member;
  // The column's text when the tool wrote the row: a constant, or nothing
  // for a column left for web pages (nullptr: any).
  const char* written;
  // The column before it that takes the same hex field (Current points as
  // Base), whose text it repeats, or -1.
  int repeats;
};

const std::vector<PageColumn>& pageColumns() {
  static const std::vector<PageColumn> columns = [] {
    const std::vector<const MapHexColumn*>& read = mapHexColumnsRead();
    std::vector<PageColumn> page;
    for (size_t i = 0; i < read.size(); ++i) {
      const MapHexColumn& column = *read[i];
      PageColumn p{column.readAs, nullptr, -1};
      if (column.value == ColumnValue::kConstant) p.written = column.constant;
      if (column.value == ColumnValue::kLeftForWebPages) p.written = "";
      for (size_t j = 0; j < i && column.value == ColumnValue::kHexField; ++j) {
        if (read[j]->value == ColumnValue::kHexField &&
            read[j]->field == column.field && p.repeats < 0) {
          p.repeats = static_cast<int>(j);
        }
      }
      page.push_back(p);
    }
    return page;
  }();
  return columns;
}

// The maphex columns of the row at position among the rows. A row as the
// tool writes it (every repeated field the same, every constant and empty
// column as written) is written short: only the columns that no other column
// or constant implies (ID, X, Y, PoliticalControl, TerrainType, PlanetType,
// StarbaseType, the economic points and the victory points).
std::string dataRow(const MapHexRow& r, size_t position) {
  const std::vector<PageColumn>& columns = pageColumns();
  bool usual = true;
  for (const PageColumn& column : columns) {
    const std::string& value = r.*column.member;
    if (column.written != nullptr) usual = usual && value == column.written;
    if (column.repeats >= 0) {
      usual = usual && value == r.*columns[column.repeats].member;
    }
  }
  std::vector<const std::string*> values;
  for (const PageColumn& column : columns) {
    const bool implied = column.written != nullptr || column.repeats >= 0;
    if (usual && implied) continue;
    values.push_back(&(r.*column.member));
  }
  std::string row;
  for (const std::string* value : values) {
    if (value != values.front()) row += ',';
    // The ID is left out when it is the row's position, as it is when the
    // IDs run from 0 without a gap.
    if (value == &r.id && r.id == std::to_string(position)) continue;
    row += dataValue(*value);
  }
  return row;
}

// The page's style sheet is mappage/map_page.css, made into a definition of
// kStyle at build time (cmake/embed_text.cmake).
#include "mappage/map_page_css.inc"

// Hexes of the other classes fade while the legend highlights one.
std::string highlightRules() {
  std::string rules = "#map[data-hl] #hexes use{opacity:.2}";
  for (const std::string& c : controlClasses()) {
    rules +=
        "#map[data-hl=" + c + "] #hexes use[href=\"#" + c + "\"]{opacity:1}";
  }
  return rules;
}

// What the legend lists: what this map uses.
struct LegendEntries {
  std::set<std::string> controls;
  // The PoliticalControl values that are neither an empire nor 15.
  std::set<std::string> otherControls;
  // glyph -> terrain codes, by the glyph's number ("?" last)
  std::map<std::pair<int, std::string>, std::set<std::string>> glyphs;
  bool planets = false;
  bool starbases = false;
};

// The drawing: one group per column; in it, per hex, its control's hexagon, the
// terrain's number below the centre and the markers above it, so that the
// centre shows the colour. Notes what the map uses in legend. (Each element
// stands on its own: references to shared groups would be smaller, but Chromium
// draws them far more slowly.)
std::string mapDrawing(const MapLayout& layout, LegendEntries& legend) {
  const double kGlyphY = kHexSize * 0.62;
  const double kMarkerOffset = kHexSize * 0.42;
  // column's x -> the hexes' elements, by y
  std::map<double, std::string> columns;
  for (const PlacedHex& hex : layout.placed) {
    const MapHexRow& r = *hex.row;
    const std::string control = controlClass(r.politicalControl);
    const std::string glyph = terrainGlyph(r.terrainType);
    legend.controls.insert(control);
    if (control == kOtherControlClass) {
      legend.otherControls.insert(r.politicalControl);
    }
    legend.glyphs[{glyph == "?" ? 99 : std::atoi(glyph.c_str()), glyph}].insert(
        r.terrainType);
    const double y = layout.origin.y + hex.centre.y;
    std::string& column = columns[layout.origin.x + hex.centre.x];
    column += "<use href=\"#" + control + "\" y=\"" + number(y) +
              "\"/><text y=\"" + number(y + kGlyphY) + "\">" +
              escapeHtml(glyph) + "</text>";
    // The markers sit above the centre, left and right (their shapes carry
    // the offset).
    if (showsMarker(r.planetType)) {
      legend.planets = true;
      column += "<use href=\"#pl\" y=\"" + number(y) + "\"/>";
    }
    if (showsMarker(r.starbaseType)) {
      legend.starbases = true;
      column += "<use href=\"#sb\" y=\"" + number(y) + "\"/>";
    }
  }
  // One hexagon per control class, which every hex of that control uses.
  std::string shapes;
  for (const std::string& c : controlClasses()) {
    shapes += "<polygon id=\"" + c + "\" class=\"hex " + c + "\" points=\"" +
              hexagonPoints(kHexSize) + "\"/>";
  }
  std::string hexes;
  hexes.reserve(layout.placed.size() * 60);
  for (const auto& [x, column] : columns) {
    hexes +=
        "<g transform=\"translate(" + number(x) + " 0)\">" + column + "</g>\n";
  }
  return "<svg id=\"map\" xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " +
         number(layout.drawingWidth) + " " + number(layout.drawingHeight) +
         "\" preserveAspectRatio=\"xMidYMid meet\">\n"
         "<title>The hex map. Zoom, pan, coordinates and the row of each hex "
         "need the page's script.</title>\n"
         "<defs><polygon id=\"o\" points=\"" +
         hexagonPoints(kHexSize) +
         "\"/><pattern id=\"other\" width=\"6\" height=\"6\" "
         "patternUnits=\"userSpaceOnUse\" patternTransform=\"rotate(45)\">"
         "<rect width=\"6\" height=\"6\" fill=\"#fff\"/><rect width=\"2\" "
         "height=\"6\" fill=\"#444\"/></pattern>"
         "<circle id=\"pl\" class=\"planet\" cx=\"" +
         number(-kMarkerOffset) + "\" cy=\"" + number(-kMarkerOffset) +
         "\" r=\"3.2\"/><rect id=\"sb\" class=\"starbase\" x=\"" +
         number(kMarkerOffset - 3) + "\" y=\"" + number(-kMarkerOffset - 3) +
         "\" width=\"6\" height=\"6\"/>" + shapes +
         "</defs>\n<g id=\"hexes\">\n" + hexes +
         "</g>\n<use id=\"sel\" href=\"#o\" visibility=\"hidden\"/>\n</svg>\n";
}

// The legend of the colours, terrain numbers and markers the map uses; an
// empire's entry highlights its hexes.
std::string legendSection(const LegendEntries& legend) {
  std::string html =
      "<details open id=\"legend\"><summary><h2 "
      "style=\"display:inline\">Legend</h2></summary>\n"
      "<h2>Political control</h2>\n<ul class=\"legend\">";
  for (const std::string& c : controlClasses()) {
    if (legend.controls.count(c) == 0) continue;
    std::string name = controlName(c);
    if (c == kOtherControlClass) {
      std::string values;
      for (const std::string& v : legend.otherControls) {
        values += (values.empty() ? "" : ", ") + v;
      }
      name += " (" + escapeHtml(values) + ")";
    }
    html += "<li><button type=\"button\" data-c=\"" + c +
            "\" aria-pressed=\"false\"><span class=\"sw " + c + "\"></span>" +
            name + "</button></li>";
  }
  html +=
      "</ul>\n<h2>Terrain (the number on each hex)</h2>\n<ul "
      "class=\"legend\">";
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
         "<p>Flat-topped hexes in columns. X counts the columns from left to "
         "right, Y the rows from top to bottom; odd columns sit half a hex "
         "lower.</p>\n</details>\n";
}

}  // namespace

MapPage renderMapPage(const WebmapContent& webmap) {
  const MapLayout layout = layOutMap(webmap);
  MapPage page;
  page.warnings = layout.warnings;
  page.hexesDrawn = static_cast<int>(layout.placed.size());
  page.origin = layout.origin;

  LegendEntries legend;
  const std::string drawing = mapDrawing(layout, legend);
  std::string data;
  data.reserve(layout.placed.size() * 40);
  for (size_t i = 0; i < layout.placed.size(); ++i) {
    if (i > 0) data += ';';
    data += dataRow(*layout.placed[i].row, i);
  }

  const std::string title = "Webmap: map of " + escapeHtml(layout.sizeText);
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta "
      "charset=\"utf-8\">\n<meta name=\"viewport\" "
      "content=\"width=device-width,initial-scale=1\">\n<title>" +
      title + "</title>\n<style>" + std::string(kStyle) + controlRules() +
      highlightRules() + "</style>\n</head>\n<body>\n<header>\n<h1>" + title +
      ", " + std::to_string(page.hexesDrawn) + " hexes drawn</h1>\n";
  html +=
      "<span class=\"tools\"><button type=\"button\" id=\"zin\" "
      "aria-label=\"Zoom in\">+</button><button type=\"button\" id=\"zout\" "
      "aria-label=\"Zoom out\">&minus;</button><button type=\"button\" "
      "id=\"fit\">Whole map</button></span>\n"
      "<form id=\"goto\" class=\"tools\"><label for=\"gx\">Go to X</label>"
      "<input id=\"gx\" type=\"number\" inputmode=\"numeric\"><label "
      "for=\"gy\">Y</label><input id=\"gy\" type=\"number\" "
      "inputmode=\"numeric\"><button type=\"submit\">Go</button></form>\n"
      "<output id=\"at\" class=\"tools\" aria-live=\"polite\"></output>\n";
  for (const std::string& warning : page.warnings) {
    html += "<p class=\"warning\">Warning: " + escapeHtml(warning) + "</p>\n";
  }
  html +=
      "</header>\n<main>\n<div id=\"view\" tabindex=\"0\" "
      "aria-label=\"The map: drag to pan, + and - to zoom\">\n" +
      drawing +
      "<div id=\"top\" class=\"ruler\"></div><div id=\"left\" "
      "class=\"ruler\"></div>\n</div>\n<aside>\n<section "
      "id=\"details\"><h2>Hex</h2><p id=\"note\">Tap or click a hex to "
      "see its row.</p><dl id=\"row\"></dl></section>\n" +
      legendSection(legend) + "</aside>\n</main>\n<script>var M={o:[" +
      number(layout.origin.x) + "," + number(layout.origin.y) +
      "],s:" + number(kHexSize) + ",x:[" + std::to_string(layout.minColumn) +
      "," + std::to_string(layout.maxColumn) + "],y:[" +
      std::to_string(layout.minRow) + "," + std::to_string(layout.maxRow) +
      "],w:" + number(layout.drawingWidth) +
      ",h:" + number(layout.drawingHeight) + ",d:\"" + data + "\"};\n" +
      kMapScript + "\n</script>\n</body>\n</html>\n";
  page.html = std::move(html);
  return page;
}
