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
  const char* name;
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
      PageColumn p{column.name, column.readAs, nullptr, -1};
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

// How the script widens a short row to every column, as a script array:
// per column, the position of its value in a short row, or the text it holds
// ("1", "" for NULL). And the columns' names, as the row panel shows them.
std::string widening() {
  const std::vector<PageColumn>& columns = pageColumns();
  std::vector<int> shortPosition(columns.size(), -1);
  int shortCount = 0;
  std::string recipe;
  for (size_t i = 0; i < columns.size(); ++i) {
    const PageColumn& column = columns[i];
    recipe += i > 0 ? "," : "";
    if (column.written != nullptr) {
      recipe += "\"" + std::string(column.written) + "\"";
    } else if (column.repeats >= 0) {
      recipe += std::to_string(shortPosition[column.repeats]);
    } else {
      shortPosition[i] = shortCount++;
      recipe += std::to_string(shortPosition[i]);
    }
  }
  return "[" + recipe + "]";
}

std::string columnNames() {
  std::string names;
  for (const PageColumn& column : pageColumns()) {
    names += (names.empty() ? "\"" : ",\"") + std::string(column.name) + "\"";
  }
  return "[" + names + "]";
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

// What the map uses, for the legend, and the script's tables of it: per
// PoliticalControl value its class and fill ({"3":["p3","#117733"],...},
// "" for the hatched other values, which the script draws), per TerrainType
// its glyph ({"8192":"13",...}). Keys are written as the data writes the
// values.
struct MapTables {
  std::string controls;
  std::string glyphs;
};

MapTables mapTables(const MapLayout& layout, LegendEntries& legend) {
  std::map<std::string, std::string> controls;
  std::map<std::string, std::string> glyphs;
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
    legend.planets = legend.planets || showsMarker(r.planetType);
    legend.starbases = legend.starbases || showsMarker(r.starbaseType);
    controls[dataValue(r.politicalControl)] =
        "[\"" + control + "\",\"" + controlFill(control) + "\"]";
    glyphs[dataValue(r.terrainType)] = "\"" + glyph + "\"";
  }
  MapTables tables;
  for (const auto& [key, entry] : controls) {
    tables.controls += (tables.controls.empty() ? "\"" : ",\"") + key +
                       "\":" + entry;
  }
  for (const auto& [key, glyph] : glyphs) {
    tables.glyphs +=
        (tables.glyphs.empty() ? "\"" : ",\"") + key + "\":" + glyph;
  }
  tables.controls = "{" + tables.controls + "}";
  tables.glyphs = "{" + tables.glyphs + "}";
  return tables;
}

// The drawing: a canvas that the script draws the map on, and over it the
// SVG whose viewBox is the view, with the selected hex's outline.
std::string mapDrawing(const MapLayout& layout) {
  return "<canvas id=\"hexes\"></canvas>\n"
         "<svg id=\"map\" xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " +
         number(layout.drawingWidth) + " " + number(layout.drawingHeight) +
         "\" preserveAspectRatio=\"xMidYMid meet\">\n"
         "<title>The hex map</title>\n"
         "<defs><polygon id=\"o\" points=\"" +
         hexagonPoints(kHexSize) +
         "\"/></defs>\n<use id=\"sel\" href=\"#o\" visibility=\"hidden\"/>\n"
         "</svg>\n<noscript><p class=\"noscript\">The map is drawn by the "
         "page's script: allow JavaScript for this page to see it.</p>"
         "</noscript>\n";
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
  const MapTables tables = mapTables(layout, legend);
  const std::string drawing = mapDrawing(layout);
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
      "</style>\n</head>\n<body>\n<header>\n<h1>" + title +
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
      ",h:" + number(layout.drawingHeight) + ",n:" + columnNames() +
      ",r:" + widening() + ",c:" + tables.controls + ",g:" + tables.glyphs +
      ",d:\"" + data + "\"};\n" +
      kMapScript + "\n</script>\n</body>\n</html>\n";
  page.html = std::move(html);
  return page;
}
