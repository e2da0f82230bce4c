// The map page without a server: where hexes go, how codes are shown, what
// is escaped, and what the page says about an incomplete webmap.
#include "mappage/map_page.h"

#include <gtest/gtest.h>


#include "mappage/map_script.h"
#include "mappage/map_style.h"
#include "test_support/temp_dir.h"
#include "webmap/webmap_reader.h"

namespace {

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
      // Any other value is hatched by the script, never white like the
      // page.
      {"9", "pu", "", "Other value"},
      {"-1", "pu", "", "Other value"},
      {"", "pu", "", "Other value"},
      {"03", "pu", "", "Other value"},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(c.cssClass, controlClass(c.code)) << c.code;
    EXPECT_EQ(c.colour, controlFill(controlClass(c.code))) << c.code;
    EXPECT_EQ(c.name, controlName(controlClass(c.code))) << c.code;
  }
  // The page's style sheet gives each class's legend swatch its colour (a
  // hatch for other values).
  const std::string html = renderMapPage(WebmapContent{}).html;
  for (const auto& c : kCases) {
    if (c.colour[0] == '#') {
      const std::string swatch =
          std::string(".sw.") + c.cssClass + "{background:" + c.colour + "}";
      EXPECT_NE(std::string::npos, html.find(swatch)) << swatch;
    }
  }
  EXPECT_NE(std::string::npos,
            html.find(".sw.pu{background:repeating-linear-gradient(45deg,#fff "
                      "0 3px,#444 3px 5px)}"));
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
  // The script draws the map from the data: the box of columns and rows
  // that the hexes fill (where each is drawn is the script's to say), the
  // columns' names and how a short row widens to them (the tool's constant
  // speed 1, LOCKED and LOCKID NULL, Current as Base); the classes and
  // glyphs the map uses, and per text of PoliticalControl, TerrainType,
  // PlanetType and StarbaseType its class, glyph and markers.
  EXPECT_NE(std::string::npos,
            page.html.find(
                "var M={x:[0,1],y:[0,1],"
                "n:[\"ID\",\"X\",\"Y\",\"PoliticalControl\",\"TerrainType\","
                "\"PlanetType\",\"StarbaseType\",\"BaseEconomicPoints\","
                "\"CurrentEconomicPoints\",\"BaseVictoryPoints\","
                "\"CurrentVictoryPoints\",\"BaseSpeedPoints\","
                "\"CurrentSpeedPoints\",\"LOCKED\",\"LOCKID\"],"
                "r:[0,1,2,3,4,5,6,7,7,8,8,\"1\",\"1\",\"\",\"\"],"
                "k:[[\"p0\",\"#332288\"],[\"p3\",\"#117733\"],"
                "[\"p8\",\"#AA4499\"],[\"p15\",\"#DDDDDD\"]],g:[\"12\"],"
                "c:[0,1,3,2],t:[0],e:[0],b:[0],"))
      << page.html;
  // Each value of the short rows once per place of the box, row after row:
  // the IDs are the places' numbers (""), X and Y the places' own (null);
  // the four control values one digit each, in their order of first use;
  // every other value the same at every place. No place without a row, no
  // row that the tool would not write.
  EXPECT_NE(std::string::npos,
            page.html.find("v:[[[\"\"],\"\"],null,null,[[\"0\",\"3\",\"15\","
                           "\"8\"],\"0123\"],[[\"4096\"],\"\"],[[\"0\"],\"\"],"
                           "[[\"0\"],\"\"],[[\"5\"],\"\"],[[\"10\"],\"\"]],"
                           "p:\"\",d:\"\"};"))
      << page.html;
  // Then the painter, in base 64: a WebAssembly module ("\0asm", version 1).
  EXPECT_NE(std::string::npos,
            page.html.find("d:\"\"};\nvar PAINTER=\"AGFzbQEAAAA"));
  EXPECT_EQ(1u, occurrences(page.html, "<canvas id=\"hexes\">"));
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
  EXPECT_EQ(std::string::npos, page.html.find("a planet (PlanetType"));
  // Without the script, the page says what it needs.
  EXPECT_NE(std::string::npos,
            page.html.find("<noscript><p class=\"noscript\">The map is drawn "
                           "by the page's script"));
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
  // The box the script draws grows to the drawn row at the range's edge,
  // and not to the one outside it.
  EXPECT_NE(std::string::npos, plain.html.find("var M={x:[0,1],y:[0,1],"));
  EXPECT_NE(std::string::npos, page.html.find("var M={x:[0,126],y:[-128,1],"))
      << page.html.substr(page.html.find("var M="), 40);
}

TEST(MapPageTest, OtherControlValuesAreHatchedAndNamed) {
  WebmapContent w = twoByTwo();
  w.hexes[0].politicalControl = "12";
  w.hexes[1].politicalControl = "-3";
  const MapPage page = renderMapPage(w);
  // Both texts are of the hatched class, last in the legend's order.
  EXPECT_NE(std::string::npos,
            page.html.find("k:[[\"p8\",\"#AA4499\"],[\"p15\",\"#DDDDDD\"],"
                           "[\"pu\",\"\"]],g:[\"12\"],c:[2,2,1,0],"))
      << page.html;
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
  // Hex 1's ID is not its place's number: the IDs take a digit each.
  EXPECT_NE(std::string::npos,
            page.html.find("v:[[[\"\",\"7\"],\"0100\"],null,null,"))
      << page.html;
  // Every column of the rows at places 1 and 2, for the details panel.
  EXPECT_NE(std::string::npos,
            page.html.find("d:\"1,7,1,0,3,4096,0,0,5,6,10,10,1,1,,;"
                           "2,2,0,1,15,4096,0,0,5,5,10,10,1,1,2026-12-10 "
                           "15:00:00,42\"}"))
      << page.html;
}

TEST(MapPageTest, PlacesWithoutARowAndValuesOfTwoDigits) {
  // A 2 x 2 box with its last place empty, and 70 victory point values in
  // a 10 x 7 box: more than one digit's 62.
  WebmapContent gap = twoByTwo();
  gap.hexes.pop_back();
  EXPECT_NE(std::string::npos, renderMapPage(gap).html.find("p:\"1110\""));

  WebmapContent many;
  many.descriptions = {{"777777", "10", "7"}};
  for (int i = 0; i < 70; ++i) {
    many.hexes.push_back(hexRow(i, i % 10, i / 10, "3"));
    many.hexes.back().baseVictoryPoints = std::to_string(100 + i);
    many.hexes.back().currentVictoryPoints = std::to_string(100 + i);
  }
  const std::string html = renderMapPage(many).html;
  // Texts 0 ... 69 as "00" ... "17" (1 x 62 + 7), place by place.
  const std::string::size_type at = html.find("[\"100\",\"101\",");
  ASSERT_NE(std::string::npos, at);
  EXPECT_NE(std::string::npos,
            html.find("\"169\"],\"000102030405060708090A0B", at));
  EXPECT_NE(std::string::npos, html.find("0w0x0y0z1011121314151617\"]]", at));
}

TEST(MapScriptTest, Base64OfEveryLengthAndEveryBit) {
  const struct {
    std::string bytes;
    const char* text;
  } kCases[] = {
      {"", ""},
      {"f", "Zg=="},
      {"fo", "Zm8="},
      {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="},
      {"fooba", "Zm9vYmE="},
      {"foobar", "Zm9vYmFy"},
      {std::string("\0\xff\xfe\x80", 4), "AP/+gA=="},
      {std::string("\xfb\xff\xbf", 3), "+/+/"},
  };
  for (const auto& c : kCases) EXPECT_EQ(c.text, base64(c.bytes)) << c.text;
}

TEST(MapPageTest, TheLargestMapStaysLight) {
  WebmapContent w;
  w.descriptions = {{"777777", "127", "127"}};
  for (int i = 0; i < 127 * 127; ++i) {
    w.hexes.push_back(hexRow(i, i % 127, i / 127, std::to_string(i % 9)));
  }
  EXPECT_LE(renderMapPage(w).html.size(), 700000u);
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

TEST(MapPageTest, NegativeCoordinatesStayOnThePage) {
  WebmapContent w = twoByTwo();
  for (MapHexRow& r : w.hexes) {
    r.x = std::to_string(std::stoi(r.x) - 5);
    r.y = std::to_string(std::stoi(r.y) - 7);
  }
  const MapPage page = renderMapPage(w);
  // The box runs from the negative column and row; where its hexes are
  // drawn the browser test finds on a map around 0.
  EXPECT_EQ(4, page.hexesDrawn);
  EXPECT_NE(std::string::npos, page.html.find("var M={x:[-5,-4],y:[-7,-6],"))
      << page.html.substr(page.html.find("var M="), 40);
}

}  // namespace
