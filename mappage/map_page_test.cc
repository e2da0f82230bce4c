// The map page without a server: where hexes go, how codes are shown, what
// is escaped, and what the page says about an incomplete webmap.
#include "mappage/map_page.h"

#include <gtest/gtest.h>

#include <cmath>

#include "mappage/hex_geometry.h"
#include "mappage/map_script.h"
#include "mappage/map_style.h"
#include "test_support/temp_dir.h"
#include "webmap/webmap_reader.h"

namespace {

TEST(HexGeometryTest, CentresOfEvenAndOddColumnsAndNegativeCoordinates) {
  const double h = std::sqrt(3.0);  // a hex's height for size 1
  const struct {
    int x, y;
    double cx, cy;
  } kCases[] = {
      {0, 0, 0, 0},     {1, 0, 1.5, h / 2},       {2, 0, 3, 0},
      {0, 1, 0, h},     {3, 2, 4.5, 2.5 * h},     {-1, 0, -1.5, h / 2},
      {-2, -1, -3, -h}, {-3, -2, -4.5, -1.5 * h},
  };
  for (const auto& c : kCases) {
    const Point p = hexCentre(c.x, c.y, 1.0);
    EXPECT_NEAR(c.cx, p.x, 1e-9) << c.x << "," << c.y;
    EXPECT_NEAR(c.cy, p.y, 1e-9) << c.x << "," << c.y;
  }
  EXPECT_EQ("2.00,0.00 1.00,1.73 -1.00,1.73 -2.00,0.00 -1.00,-1.73 1.00,-1.73",
            hexagonPoints(2.0));
}

TEST(MapStyleTest, ColourAndClassOfEveryPoliticalControlCode) {
  const struct {
    const char* code;
    const char* cssClass;
    const char* colour;
    const char* name;
  } kCases[] = {
      {"0", "p0", "#332288", "Empire 0"},
      {"1", "p1", "#88CCEE", "Empire 1"},
      {"2", "p2", "#44AA99", "Empire 2"},
      {"3", "p3", "#117733", "Empire 3"},
      {"4", "p4", "#999933", "Empire 4"},
      {"5", "p5", "#DDCC77", "Empire 5"},
      {"6", "p6", "#CC6677", "Empire 6"},
      {"7", "p7", "#882255", "Empire 7"},
      {"8", "p8", "#AA4499", "Empire 8"},
      {"15", "p15", "#DDDDDD", "No control"},
      // Any other value is hatched, never white like the page.
      {"9", "pu", "url(#other)", "Other value"},
      {"-1", "pu", "url(#other)", "Other value"},
      {"", "pu", "url(#other)", "Other value"},
      {"03", "pu", "url(#other)", "Other value"},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(c.cssClass, controlClass(c.code)) << c.code;
    EXPECT_EQ(c.colour, controlFill(controlClass(c.code))) << c.code;
    EXPECT_EQ(c.name, controlName(controlClass(c.code))) << c.code;
  }
  // The page's style sheet gives each class its fill, and its legend
  // swatch the same colour (a hatch for other values).
  const std::string html = renderMapPage(WebmapContent{}).html;
  for (const auto& c : kCases) {
    const std::string fill =
        std::string(".") + c.cssClass + "{fill:" + c.colour + "}";
    EXPECT_NE(std::string::npos, html.find(fill)) << fill;
    if (c.colour[0] == '#') {
      const std::string swatch =
          std::string(".sw.") + c.cssClass + "{background:" + c.colour + "}";
      EXPECT_NE(std::string::npos, html.find(swatch)) << swatch;
    }
  }
  EXPECT_NE(std::string::npos,
            html.find(".sw.pu{background:repeating-linear-gradient(45deg,#fff "
                      "0 3px,#444 3px 5px)}"));
  EXPECT_NE(std::string::npos, html.find("<pattern id=\"other\""));
}

TEST(MapStyleTest, GlyphOfEveryTerrainCodeAndMarkers) {
  const struct {
    const char* code;
    const char* glyph;
  } kCases[] = {
      {"64", "6"},       {"256", "8"},      {"512", "9"},
      {"4096", "12"},    {"8192", "13"},    {"16384", "14"},
      {"262144", "18"},  {"524288", "19"},  {"2097152", "21"},
      {"4194304", "22"}, {"8388608", "23"}, {"67108864", "?"},
      {"0", "?"},        {"<b>", "?"},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(c.glyph, terrainGlyph(c.code)) << c.code;
  }
  EXPECT_FALSE(showsMarker("0"));
  EXPECT_TRUE(showsMarker("1"));
  EXPECT_TRUE(showsMarker("2048"));
}

TEST(MapStyleTest, EscapesEverySpecialCharacter) {
  EXPECT_EQ("&lt;script&gt;&amp;&quot;&#39;x", escapeHtml("<script>&\"'x"));
  EXPECT_EQ("plain 12", escapeHtml("plain 12"));
}

MapHexRow hexRow(int id, int x, int y, const std::string& control) {
  return {std::to_string(id),
          std::to_string(x),
          std::to_string(y),
          control,
          "4096",
          "0",
          "0",
          "5",
          "5",
          "10",
          "10",
          "1",
          "1",
          "",
          ""};
}

// A complete 2 x 2 webmap.
WebmapContent twoByTwo() {
  WebmapContent w;
  w.descriptions = {{"777777", "2", "2"}};
  w.hexes = {hexRow(0, 0, 0, "0"), hexRow(1, 1, 0, "3"), hexRow(2, 0, 1, "15"),
             hexRow(3, 1, 1, "8")};
  return w;
}

TEST(MapPageTest, CompleteWebmapDrawsEveryHexWithoutWarnings) {
  const MapPage page = renderMapPage(twoByTwo());
  EXPECT_EQ(4, page.hexesDrawn);
  EXPECT_TRUE(page.warnings.empty());
  // Per hex its control's hexagon and its terrain number, one column per
  // group.
  for (const char* hex :
       {"<g transform=\"translate(20.0 0)\"><use href=\"#p0\" y=\"17.9\"/>"
        "<text y=\"27.8\">12</text><use href=\"#p15\" y=\"45.6\"/>"
        "<text y=\"55.5\">12</text></g>",
        "<g transform=\"translate(44.0 0)\"><use href=\"#p3\" y=\"31.7\"/>"
        "<text y=\"41.6\">12</text><use href=\"#p8\" y=\"59.4\"/>"
        "<text y=\"69.3\">12</text></g>"}) {
    EXPECT_NE(std::string::npos, page.html.find(hex)) << hex;
  }
  EXPECT_EQ(4u, occurrences(page.html, "<text y="));
  EXPECT_NE(std::string::npos,
            page.html.find("<h1>Webmap: map of 2 columns x 2 rows, 4 hexes "
                           "drawn</h1>"));
  EXPECT_EQ(std::string::npos, page.html.find("class=\"warning\""));
  // The legend names what the map uses, and nothing else.
  for (const char* used : {"Empire 0", "Empire 3", "Empire 8", "No control",
                           "<b>12</b>: TerrainType 4096"}) {
    EXPECT_NE(std::string::npos, page.html.find(used)) << used;
  }
  EXPECT_EQ(std::string::npos, page.html.find("Empire 4"));
  EXPECT_EQ(std::string::npos, page.html.find("a planet"));
  // Every column of each row, for the script's details panel, in the
  // webmap reference's order, short where the rows are as the tool writes
  // them (IDs from 0, Current = Base, speed 1, LOCKED and LOCKID NULL); one
  // fallback text instead of a title per hex.
  EXPECT_NE(std::string::npos,
            page.html.find("d:\",0,0,0,4096,0,0,5,10;,1,0,3,4096,0,0,5,10;"
                           ",0,1,15,4096,0,0,5,10;,1,1,8,4096,0,0,5,10\"}"));
  EXPECT_EQ(1u, occurrences(page.html, "<title>The hex map."));
  // Its own script, nothing fetched.
  EXPECT_EQ(1u, occurrences(page.html, "<script>"));
  EXPECT_EQ(std::string::npos, page.html.find("src="));
  EXPECT_EQ(std::string::npos, page.html.find("<link"));
}

TEST(MapPageTest, IncompleteWebmapsStillDrawWithAWarning) {
  const struct {
    const char* name;
    void (*damage)(WebmapContent&);
    const char* warning;
    int drawn;
  } kCases[] = {
      {"a row missing", [](WebmapContent& w) { w.hexes.pop_back(); },
       "The webmap holds 3 hex rows, but its map of 2 x 2 has 4 hexes.", 3},
      {"two rows at one place",
       [](WebmapContent& w) { w.hexes[3] = hexRow(3, 0, 0, "8"); },
       "1 hex rows share their X and Y with another row; only the last one "
       "drawn there shows.",
       4},
      {"no map description", [](WebmapContent& w) { w.descriptions.clear(); },
       "The webmap has 0 mapdescription rows; a complete webmap has exactly "
       "one.",
       4},
      {"two map descriptions",
       [](WebmapContent& w) {
         w.descriptions.push_back({"1", "2", "2"});
       },
       "The webmap has 2 mapdescription rows; a complete webmap has exactly "
       "one.",
       4},
      {"an X that is no number", [](WebmapContent& w) { w.hexes[0].x = "x"; },
       "1 hex row has an X or Y outside -128 ... 127, or no number there, "
       "and is not drawn: ID 0 (X x, Y 0).",
       3},
      // Written by a web page or by hand: not placed far away, but listed.
      {"rows outside the webmap's range",
       [](WebmapContent& w) {
         w.hexes[0].x = "200";
         w.hexes[0].y = "-300";
         w.hexes[1].x = "100000";
         w.hexes[2].y = "-129";
       },
       "3 hex rows have an X or Y outside -128 ... 127, or no number there, "
       "and are not drawn: ID 0 (X 200, Y -300), ID 1 (X 100000, Y 0), ID 2 "
       "(X 0, Y -129).",
       1},
  };
  for (const auto& c : kCases) {
    WebmapContent w = twoByTwo();
    c.damage(w);
    const MapPage page = renderMapPage(w);
    EXPECT_EQ(c.drawn, page.hexesDrawn) << c.name;
    ASSERT_EQ(1u, page.warnings.size()) << c.name;
    EXPECT_EQ(c.warning, page.warnings[0]) << c.name;
    EXPECT_NE(std::string::npos,
              page.html.find(std::string("<p class=\"warning\">Warning: ") +
                             c.warning + "</p>"))
        << c.name;
  }
}

TEST(MapPageTest, RowsOutsideTheRangeLeaveTheMapWhereItIs) {
  WebmapContent w = twoByTwo();
  const MapPage plain = renderMapPage(w);
  w.hexes.push_back(hexRow(4, 126, -128, "1"));  // the range's edge: drawn
  w.hexes.push_back(hexRow(5, 200, -300, "1"));  // outside: listed
  const MapPage page = renderMapPage(w);
  EXPECT_EQ(5, page.hexesDrawn);
  // -128 is the top row: hex (0, 0) moves down by 128 rows, not by 300.
  EXPECT_NEAR(plain.origin.y + 128 * kHexSize * std::sqrt(3.0), page.origin.y,
              1e-9);
  EXPECT_NEAR(plain.origin.x, page.origin.x, 1e-9);
}

TEST(MapPageTest, OtherControlValuesAreHatchedAndNamed) {
  WebmapContent w = twoByTwo();
  w.hexes[0].politicalControl = "12";
  w.hexes[1].politicalControl = "-3";
  const MapPage page = renderMapPage(w);
  EXPECT_NE(std::string::npos, page.html.find("<use href=\"#pu\" y="));
  EXPECT_NE(std::string::npos,
            page.html.find("<span class=\"sw pu\"></span>Other value (-3, "
                           "12)</button>"));
}

TEST(MapPageTest, RowsNotAsTheToolWritesThemAreWholeInTheData) {
  WebmapContent w = twoByTwo();
  w.hexes[1].id = "7";
  w.hexes[1].currentEconomicPoints = "6";
  w.hexes[2].locked = "2026-12-10 15:00:00";
  w.hexes[2].lockId = "42";
  const MapPage page = renderMapPage(w);
  EXPECT_NE(std::string::npos,
            page.html.find("d:\",0,0,0,4096,0,0,5,10;"
                           "7,1,0,3,4096,0,0,5,6,10,10,1,1,,;"
                           ",0,1,15,4096,0,0,5,5,10,10,1,1,2026-12-10 "
                           "15:00:00,42;,1,1,8,4096,0,0,5,10\"}"));
}

TEST(MapPageTest, TheLargestMapStaysLight) {
  WebmapContent w;
  w.descriptions = {{"777777", "127", "127"}};
  for (int i = 0; i < 127 * 127; ++i) {
    w.hexes.push_back(hexRow(i, i % 127, i / 127, std::to_string(i % 9)));
  }
  EXPECT_LE(renderMapPage(w).html.size(), 1500000u);
}

TEST(MapPageTest, WhatComesFromTheServerIsEscaped) {
  WebmapContent w = twoByTwo();
  w.hexes[0].terrainType = "<script>alert(1)</script>";
  w.hexes[0].locked = "\"><img src=x>";
  w.descriptions[0].width = "<b>";
  const MapPage page = renderMapPage(w);
  EXPECT_EQ(1u, occurrences(page.html, "<script"));  // the page's own
  EXPECT_EQ(std::string::npos, page.html.find("<img"));
  EXPECT_NE(
      std::string::npos,
      page.html.find("TerrainType &lt;script&gt;alert(1)&lt;/script&gt;"));
  // In the script's data, every character that could end a string is
  // written as %XX.
  EXPECT_NE(std::string::npos,
            page.html.find("%3Cscript%3Ealert%281%29%3C%2Fscript%3E"));
  EXPECT_NE(std::string::npos, page.html.find("%22%3E%3Cimg src%3Dx%3E"));
}

// The script widens a short data row to all the columns: made here from the
// column table as the page writes short rows (the columns no other column
// or constant implies), it must be the script's own expression, so that a
// column more in the table cannot leave the script behind.
TEST(MapScriptTest, WidensShortRowsAsTheColumnTableSays) {
  const std::vector<const MapHexColumn*>& columns = mapHexColumnsRead();
  std::vector<int> shortIndex(columns.size(), -1);
  int shortCount = 0;
  std::vector<std::string> widened;
  for (size_t i = 0; i < columns.size(); ++i) {
    const MapHexColumn& column = *columns[i];
    if (column.value == ColumnValue::kConstant) {
      widened.push_back("\"" + std::string(column.constant) + "\"");
      continue;
    }
    if (column.value == ColumnValue::kLeftForWebPages) {
      widened.push_back("\"\"");
      continue;
    }
    int repeats = -1;
    for (size_t j = 0; j < i && column.value == ColumnValue::kHexField; ++j) {
      if (repeats < 0 && columns[j]->value == ColumnValue::kHexField &&
          columns[j]->field == column.field) {
        repeats = shortIndex[j];
      }
    }
    if (repeats < 0) shortIndex[i] = repeats = shortCount++;
    widened.push_back("f[" + std::to_string(repeats) + "]");
  }
  // The leading columns that stand in their own place are one slice.
  size_t leading = 0;
  while (leading < widened.size() &&
         widened[leading] == "f[" + std::to_string(leading) + "]") {
    ++leading;
  }
  std::string expression = "f.length === " + std::to_string(shortCount) +
                           " ? f.slice(0, " + std::to_string(leading) +
                           ").concat([";
  for (size_t i = leading; i < widened.size(); ++i) {
    expression += (i > leading ? ", " : "") + widened[i];
  }
  expression += "]) : f";
  EXPECT_NE(std::string::npos, std::string(kMapScript).find(expression))
      << expression;
}

TEST(MapPageTest, NegativeCoordinatesStayOnThePage) {
  WebmapContent w = twoByTwo();
  for (MapHexRow& r : w.hexes) {
    r.x = std::to_string(std::stoi(r.x) - 5);
    r.y = std::to_string(std::stoi(r.y) - 7);
  }
  const MapPage page = renderMapPage(w);
  // The leftmost hex (column -5, its centre 5 x 24 left of hex (0, 0)'s) and
  // the topmost (-4, -7: even columns sit higher, 7 rows of 16 sqrt(3) up)
  // are one margin (4) and half a hex (16 across, 8 sqrt(3) down) from the
  // drawing's edges: hex (0, 0)'s centre lies at (140, 4 + 120 sqrt(3)).
  EXPECT_NEAR(140.0, page.origin.x, 1e-9);
  EXPECT_NEAR(4 + 120 * std::sqrt(3.0), page.origin.y, 1e-9);
}

}  // namespace
