// How the map page shows a hex's codes: a fill colour for its political
// control, a glyph for its terrain, markers for a planet and a starbase, and
// the escaping of every text that comes from the server.
#ifndef ZELKOR_MAPPAGE_MAP_STYLE_H_
#define ZELKOR_MAPPAGE_MAP_STYLE_H_

#include <string>
#include <vector>

// The class of any political control value that is no empire and not 15.
constexpr char kOtherControlClass[] = "pu";

// The CSS class of a political control code: "p0" ... "p8" for the empires,
// "p15" for no control, "pu" for any other text.
std::string controlClass(const std::string& politicalControl);

// The fill of a control class ("#332288"; "#DDDDDD" for "p15"; "" for "pu",
// which the page's script hatches). The nine empire colours are Paul
// Tol's "muted" scheme, which stays distinguishable for colour-blind readers.
std::string controlFill(const std::string& controlClass);

// The style sheet rules that give the legend's swatch of each control class
// its background: ".sw.p0{background:#332288}...".
std::string controlRules();

// Every control class, in the legend's order.
std::vector<std::string> controlClasses();

// What the legend calls a control class: "Empire 3", "No control",
// "Other value".
std::string controlName(const std::string& controlClass);

// The glyph drawn for a terrain code: the number of the code's bit ("6" for
// 64, "12" for 4096, ...), "?" for 67108864 (unknown terrain) and for any
// code that is not one of the webmap's.
std::string terrainGlyph(const std::string& terrainType);

// Whether a planet or starbase code shows a marker: any text but "0".
bool showsMarker(const std::string& code);

// Text made safe for HTML and SVG content and attribute values: & < > " '
// become entities.
std::string escapeHtml(const std::string& text);

#endif  // ZELKOR_MAPPAGE_MAP_STYLE_H_
