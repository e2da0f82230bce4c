#include "mappage/map_style.h"

namespace {

// The fill of each control class, written only here: Paul Tol's "muted"
// qualitative scheme, in his order, for empires 0 ... 8, then his pale grey
// for no control; any other value is hatched (by the page's script, which
// gets no fill for it), so that it never looks like a hole in the map.
const struct {
  const char* controlClass;
  const char* fill;    // of a hex
  const char* swatch;  // the legend's, as a CSS background
} kControlPalette[] = {
    {"p0", "#332288", "#332288"},
    {"p1", "#88CCEE", "#88CCEE"},
    {"p2", "#44AA99", "#44AA99"},
    {"p3", "#117733", "#117733"},
    {"p4", "#999933", "#999933"},
    {"p5", "#DDCC77", "#DDCC77"},
    {"p6", "#CC6677", "#CC6677"},
    {"p7", "#882255", "#882255"},
    {"p8", "#AA4499", "#AA4499"},
    {"p15", "#DDDDDD", "#DDDDDD"},
    {"pu", "",
     "repeating-linear-gradient(45deg,#fff 0 3px,#444 3px 5px)"},
};

const struct {
  const char* code;
  const char* glyph;
} kTerrainGlyphs[] = {
    {"64", "6"},       {"256", "8"},      {"512", "9"},      {"4096", "12"},
    {"8192", "13"},    {"16384", "14"},   {"262144", "18"},  {"524288", "19"},
    {"2097152", "21"}, {"4194304", "22"}, {"8388608", "23"},
};

}  // namespace

std::string controlClass(const std::string& politicalControl) {
  if (politicalControl.size() == 1 && politicalControl[0] >= '0' &&
      politicalControl[0] <= '8') {
    return "p" + politicalControl;
  }
  return politicalControl == "15" ? "p15" : kOtherControlClass;
}

std::string controlFill(const std::string& controlClass) {
  for (const auto& entry : kControlPalette) {
    if (controlClass == entry.controlClass) return entry.fill;
  }
  return controlFill(kOtherControlClass);
}

std::string controlRules() {
  std::string rules;
  for (const auto& entry : kControlPalette) {
    rules += std::string(".sw.") + entry.controlClass +
             "{background:" + entry.swatch + "}";
  }
  return rules;
}

std::vector<std::string> controlClasses() {
  std::vector<std::string> classes;
  for (const auto& entry : kControlPalette) {
    classes.push_back(entry.controlClass);
  }
  return classes;
}

std::string controlName(const std::string& controlClass) {
  if (controlClass == "p15") return "No control";
  if (controlClass == kOtherControlClass) return "Other value";
  return "Empire " + controlClass.substr(1);
}

std::string terrainGlyph(const std::string& terrainType) {
  for (const auto& terrain : kTerrainGlyphs) {
    if (terrainType == terrain.code) return terrain.glyph;
  }
  return "?";
}

bool showsMarker(const std::string& code) { return code != "0"; }

std::string escapeHtml(const std::string& text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\'':
        escaped += "&#39;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}
