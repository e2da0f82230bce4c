#include "mappage/map_script.h"

#include <cstddef>

// The script itself is mappage/map_page.js, made into a definition of
// kMapScript at build time (cmake/embed_text.cmake); the painter is
// mappage/map_painter.c built for WebAssembly, made into kPainter and
// kPainterSize (cmake/embed_binary.cmake).
#include "mappage/map_page_js.inc"
#include "mappage/map_painter_wasm.inc"

std::string painterText() {
  return base64(
      std::string_view(reinterpret_cast<const char*>(kPainter), kPainterSize));
}

std::string base64(std::string_view bytes) {
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  text.reserve((bytes.size() + 2) / 3 * 4);
  for (size_t at = 0; at < bytes.size(); at += 3) {
    const size_t count = bytes.size() - at < 3 ? bytes.size() - at : 3;
    unsigned long group = 0;
    for (size_t k = 0; k < 3; ++k) {
      group = group << 8 |
              (k < count ? static_cast<unsigned char>(bytes[at + k]) : 0u);
    }
    for (size_t k = 0; k < 4; ++k) {
      text += k <= count ? kAlphabet[group >> (18 - 6 * k) & 63] : '=';
    }
  }
  return text;
}
