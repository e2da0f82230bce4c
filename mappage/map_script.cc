#include "mappage/map_script.h"

// The script itself is mappage/map_page.js, made into a definition of
// kMapScript at build time (cmake/embed_text.cmake).
#include "mappage/map_page_js.inc"
