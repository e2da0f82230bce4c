#include "mappage/map_style.h"

namespace {

// Paul Tol's "muted" qualitative scheme, in his order, for empires 0 ... 8.
const char* const kEmpireColours[] = {"#332288", "#88CCEE", "#44AA99",
                                      "#117733", "#999933", "#DDCC77",
                                      "#CC6677", "#882255", "#AA4499"};

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
  return politicalControl == "15" ? "p15" : "pu";
}

std::string controlColour(const std::string& controlClass) {
  if (controlClass == "p15") return "#DDDDDD";
  if (controlClass.size() == 2 && controlClass[0] == 'p' &&
      controlClass[1] >= '0' && controlClass[1] <= '8') {
    return kEmpireColours[controlClass[1] - '0'];
  }
  return "#FFFFFF";
}

std::string controlName(const std::string& controlClass) {
  if (controlClass == "p15") return "No control";
  if (controlClass == "pu") return "Unknown control";
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
