#include "mappage/map_page.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <utility>

#include "mappage/map_layout.h"
#include "mappage/map_script.h"
#include "mappage/map_style.h"
#include "webmap/webmap_reader.h"

namespace {

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

// Whether a column is implied by another column or a constant when a row
// is as the tool writes it.
bool implied(const PageColumn& column) {
  return column.written != nullptr || column.repeats >= 0;
}

// Whether the row is as the tool writes it: every repeated field the same,
// every constant and empty column as written. Such a row is kept short: only
// the columns that nothing implies (ID, X, Y, PoliticalControl,
// TerrainType, PlanetType, StarbaseType, the economic points and the
// victory points).
bool writtenByTheTool(const MapHexRow& r) {
  const std::vector<PageColumn>& columns = pageColumns();
  for (const PageColumn& column : columns) {
    const std::string& value = r.*column.member;
    if (column.written != nullptr && value != column.written) return false;
    if (column.repeats >= 0 && value != r.*columns[column.repeats].member) {
      return false;
    }
  }
  return true;
}

// A row as it is, every column, for the data.
std::string wholeRow(const MapHexRow& r) {
  std::string row;
  bool first = true;
  for (const PageColumn& column : pageColumns()) {
    row += first ? "" : ",";
    row += dataValue(r.*column.member);
    first = false;
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

// Texts as a script array of strings; each text must be safe in one.
std::string quoted(const std::vector<std::string>& texts) {
  std::string list;
  for (const std::string& text : texts) {
    list += (list.empty() ? "\"" : ",\"") + text + "\"";
  }
  return "[" + list + "]";
}

std::string columnNames() {
  std::vector<std::string> names;
  for (const PageColumn& column : pageColumns()) names.push_back(column.name);
  return quoted(names);
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

// The digits of the data's numbers, 62 to a digit.
constexpr char kDigits[] =
    "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

std::string numbers(const std::vector<int>& values) {
  std::string list;
  for (int value : values) {
    list += (list.empty() ? "" : ",") + std::to_string(value);
  }
  return "[" + list + "]";
}

// One short column's values at every place of the map's box: the texts it
// takes, in the order of first use, and per place the text's number.
class PlaceStore {
 public:
  explicit PlaceStore(size_t places) : atPlace_(places, 0) {}

  void set(size_t place, const std::string& text) {
    const auto [entry, added] =
        number_.try_emplace(text, static_cast<int>(texts_.size()));
    if (added) texts_.push_back(text);
    atPlace_[place] = entry->second;
  }

  const std::vector<std::string>& texts() const { return texts_; }

  // As the script reads it: [texts, digits], each place's number in
  // `width` digits of kDigits: none when there is one text (every place
  // takes it), 1 up to 62 texts, 2 up to 3844, 3 beyond (more than a box
  // of 256 x 256 places can need).
  std::string script() const {
    const size_t width = texts_.size() <= 1      ? 0
                         : texts_.size() <= 62   ? 1
                         : texts_.size() <= 3844 ? 2
                                                 : 3;
    std::string digits;
    digits.reserve(atPlace_.size() * width);
    for (int value : atPlace_) {
      for (size_t d = width; d > 0; --d) {
        int divisor = 1;
        for (size_t k = 1; k < d; ++k) divisor *= 62;
        digits += kDigits[value / divisor % 62];
      }
    }
    std::vector<std::string> escaped;
    for (const std::string& text : texts_) escaped.push_back(dataValue(text));
    return "[" + quoted(escaped) + ",\"" + digits + "\"]";
  }

 private:
  std::vector<std::string> texts_;
  std::map<std::string, int> number_;
  std::vector<int> atPlace_;
};

// The page's data about the hexes, written once per place of the map's box:
// row after row (Y from its least, and in a row X from its least), a
// place's number counting them from 0. As script fields:
//   v: per value of a short row, its PlaceStore, or null for X and Y, which
//      the place says; the ID's text "" is the place's number, as the IDs of
//      the tool's rows are on a whole map;
//   p: "" when every place has a row, else per place 1 or 0;
//   d: the rows not as the tool writes them, whole: "place,value,...;...";
// and for the drawing, per text of a store: c, the PoliticalControl's class
// (its place in k, the classes the map uses, in the legend's order, each
// with its fill, "" for the hatched class); t, the TerrainType's glyph (its
// place in g, the glyphs the map uses); e and b, 1 when the PlanetType or
// the StarbaseType shows a marker. Where rows share a place, the last one
// shows, as on the page.
std::string hexData(const MapLayout& layout, LegendEntries& legend) {
  const std::vector<PageColumn>& columns = pageColumns();
  const long across = layout.maxColumn - layout.minColumn + 1;
  const size_t places =
      static_cast<size_t>(across * (layout.maxRow - layout.minRow + 1));
  std::vector<const MapHexRow*> shown(places, nullptr);
  for (const PlacedHex& hex : layout.placed) {
    const MapHexRow& r = *hex.row;
    shown[static_cast<size_t>((hex.y - layout.minRow) * across + hex.x -
                              layout.minColumn)] = &r;
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
  }

  std::string stores;
  std::string presence;
  std::string whole;
  // The stores the drawing reads, found by the row field they hold.
  std::vector<std::pair<std::string MapHexRow::*, const PlaceStore*>> byMember;
  const auto storeOf = [&byMember](std::string MapHexRow::*member) {
    for (const auto& [held, store] : byMember) {
      if (held == member) return store;
    }
    return static_cast<const PlaceStore*>(nullptr);
  };
  std::vector<PlaceStore> kept;
  kept.reserve(columns.size());
  for (const PageColumn& column : columns) {
    if (implied(column)) continue;
    stores += stores.empty() ? "" : ",";
    if (column.member == &MapHexRow::x || column.member == &MapHexRow::y) {
      stores += "null";
      continue;
    }
    PlaceStore& store = kept.emplace_back(places);
    for (size_t place = 0; place < places; ++place) {
      const MapHexRow* r = shown[place];
      if (r == nullptr) continue;
      const std::string& text = r->*column.member;
      const bool numbered =
          column.member == &MapHexRow::id && text == std::to_string(place);
      store.set(place, numbered ? "" : text);
    }
    byMember.emplace_back(column.member, &store);
    stores += store.script();
  }
  for (size_t place = 0; place < places; ++place) {
    const MapHexRow* r = shown[place];
    presence += r != nullptr ? '1' : '0';
    if (r != nullptr && !writtenByTheTool(*r)) {
      whole += (whole.empty() ? "" : ";") + std::to_string(place) + "," +
               wholeRow(*r);
    }
  }
  if (presence.find('0') == std::string::npos) presence.clear();

  std::string k;
  std::map<std::string, int> classPlace;
  for (const std::string& c : controlClasses()) {
    if (legend.controls.count(c) == 0) continue;
    const int place = static_cast<int>(classPlace.size());
    k += std::string(place == 0 ? "" : ",") + "[\"" + c + "\",\"" +
         controlFill(c) + "\"]";
    classPlace[c] = place;
  }
  std::vector<std::string> glyphs;
  std::map<std::string, int> glyphPlace;
  for (const auto& entry : legend.glyphs) {
    glyphPlace[entry.first.second] = static_cast<int>(glyphs.size());
    glyphs.push_back(entry.first.second);
  }
  // Per text of the store of a row field, what the drawing takes from it.
  const auto perText = [&storeOf](std::string MapHexRow::*member,
                                  const auto& drawn) {
    std::vector<int> values;
    for (const std::string& text : storeOf(member)->texts()) {
      values.push_back(drawn(text));
    }
    return numbers(values);
  };
  const auto marker = [](const std::string& text) {
    return showsMarker(text) ? 1 : 0;
  };
  const std::string classOf = perText(
      &MapHexRow::politicalControl,
      [&](const std::string& text) { return classPlace[controlClass(text)]; });
  const std::string glyphOf = perText(
      &MapHexRow::terrainType,
      [&](const std::string& text) { return glyphPlace[terrainGlyph(text)]; });
  return "k:[" + k + "],g:" + quoted(glyphs) + ",c:" + classOf +
         ",t:" + glyphOf + ",e:" + perText(&MapHexRow::planetType, marker) +
         ",b:" + perText(&MapHexRow::starbaseType, marker) + ",v:[" + stores +
         "],p:\"" + presence + "\",d:\"" + whole + "\"";
}

// The drawing: a canvas that the script draws the map on, and over it the
// SVG whose viewBox the script makes the view, with the selected hex's
// outline, whose corners the script gives too.
std::string mapDrawing() {
  return "<canvas id=\"hexes\"></canvas>\n"
         "<svg id=\"map\" xmlns=\"http://www.w3.org/2000/svg\" "
         "preserveAspectRatio=\"xMidYMid meet\">\n"
         "<title>The hex map</title>\n"
         "<defs><polygon id=\"o\"/></defs>\n<use id=\"sel\" href=\"#o\" "
         "visibility=\"hidden\"/>\n"
         "</svg>\n<noscript><p class=\"noscript\">The map is drawn by the "
         "page's script: allow JavaScript for this page to see it.</p>"
         "</noscript>\n";
}

// What one PoliticalControl value holds on the map, as the webmap's rows
// add up: its hexes, those with a planet and with a starbase, and the sums
// of their CurrentEconomicPoints and CurrentVictoryPoints.
struct Standing {
  std::string control;
  long hexes = 0;
  long planets = 0;
  long starbases = 0;
  long long economy = 0;
  long long victory = 0;
};

// A points column's value as a number; a text that is none (only a web page
// or a hand could have written one) adds nothing.
long long pointsOf(const std::string& text) {
  char* end = nullptr;
  const long long value = std::strtoll(text.c_str(), &end, 10);
  return !text.empty() && *end == '\0' ? value : 0;
}

// Every PoliticalControl value of the webmap's rows with what it holds,
// most hexes first (ties in the legend's order, then by value).
std::vector<Standing> standingsOf(const WebmapContent& webmap) {
  std::map<std::string, Standing> byControl;
  for (const MapHexRow& r : webmap.hexes) {
    Standing& s = byControl[r.politicalControl];
    s.control = r.politicalControl;
    ++s.hexes;
    s.planets += showsMarker(r.planetType) ? 1 : 0;
    s.starbases += showsMarker(r.starbaseType) ? 1 : 0;
    s.economy += pointsOf(r.currentEconomicPoints);
    s.victory += pointsOf(r.currentVictoryPoints);
  }
  const std::vector<std::string> order = controlClasses();
  const auto rank = [&order](const std::string& control) {
    return std::find(order.begin(), order.end(), controlClass(control)) -
           order.begin();
  };
  std::vector<Standing> standings;
  for (auto& [control, standing] : byControl) standings.push_back(standing);
  std::stable_sort(standings.begin(), standings.end(),
                   [&rank](const Standing& a, const Standing& b) {
                     if (a.hexes != b.hexes) return a.hexes > b.hexes;
                     return rank(a.control) < rank(b.control);
                   });
  return standings;
}

// The standings beside the legend: one row per control value, whose button
// highlights its hexes as the legend's entry does.
std::string standingsSection(const WebmapContent& webmap) {
  std::string html =
      "<details open id=\"standings\"><summary><h2 "
      "style=\"display:inline\">Standings</h2></summary>\n"
      "<table class=\"standings\"><thead><tr><th scope=\"col\">Control</th>"
      "<th scope=\"col\">Hexes</th><th scope=\"col\">Planets</th>"
      "<th scope=\"col\" title=\"Starbases\">Bases</th><th scope=\"col\" "
      "title=\"Economic points: CurrentEconomicPoints added up\">Econ</th>"
      "<th scope=\"col\" title=\"Victory points: CurrentVictoryPoints added "
      "up\">VP</th></tr></thead><tbody>";
  for (const Standing& s : standingsOf(webmap)) {
    const std::string c = controlClass(s.control);
    const std::string name =
        c == kOtherControlClass
            ? controlName(c) + " " + escapeHtml(s.control)
            : controlName(c);
    html += "<tr><th scope=\"row\"><button type=\"button\" data-c=\"" + c +
            "\" aria-pressed=\"false\"><span class=\"sw " + c +
            "\"></span>" + name + "</button></th><td>" +
            std::to_string(s.hexes) + "</td><td>" + std::to_string(s.planets) +
            "</td><td>" + std::to_string(s.starbases) + "</td><td>" +
            std::to_string(s.economy) + "</td><td>" +
            std::to_string(s.victory) + "</td></tr>";
  }
  return html +
         "</tbody></table>\n<p class=\"small\">Econ and VP add up the hexes' "
         "CurrentEconomicPoints and CurrentVictoryPoints. Choose a row to "
         "see its hexes.</p>\n"
         "</details>\n";
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

  LegendEntries legend;
  const std::string data = hexData(layout, legend);
  const std::string drawing = mapDrawing();

  const std::string title = "Webmap: map of " + escapeHtml(layout.sizeText);
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta "
      "charset=\"utf-8\">\n<meta name=\"viewport\" "
      "content=\"width=device-width,initial-scale=1\">\n<title>" +
      title + "</title>\n<style>" + std::string(kStyle) + controlRules() +
      "</style>\n</head>\n<body>\n<header>\n<h1>" + title + ", " +
      std::to_string(page.hexesDrawn) + " hexes drawn</h1>\n";
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
      standingsSection(webmap) + legendSection(legend) +
      "</aside>\n</main>\n<script>var M={x:[" +
      std::to_string(layout.minColumn) + "," +
      std::to_string(layout.maxColumn) + "],y:[" +
      std::to_string(layout.minRow) + "," + std::to_string(layout.maxRow) +
      "],n:" + columnNames() +
      ",r:" + widening() + "," + data + "};\nvar PAINTER=\"" + painterText() +
      "\";\n" + kMapScript + "\n</script>\n</body>\n</html>\n";
  page.html = std::move(html);
  return page;
}
