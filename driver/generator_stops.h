// The words of the generator's own stops, made from the facts that the
// loading, the decoding and the webmap work give back.
#ifndef ZELKOR_DRIVER_GENERATOR_STOPS_H_
#define ZELKOR_DRIVER_GENERATOR_STOPS_H_

#include <string>

#include "gamedb/game_database.h"
#include "gamedb/map_decoding.h"
#include "stops/stop.h"
#include "webmap/webmap_run.h"

// The game database cannot be read: three lines, as it has always read, why
// (with the whole path tried and the config.txt that named it, whole) and
// an empty line, then the prompt without a line end.
Stop unreadableGameDatabaseStop(const UnreadableGameDatabase& unreadable,
                                const std::string& configurationFile);

// The file at path is damaged or no game database: what is wrong, with its
// numbers.
Stop damagedGameDatabaseStop(const std::string& path,
                             const DamagedGameDatabase& damaged);

// "Info:   Ignoring N hex objects beyond the M of the map of R rows x C
// columns."
std::string surplusHexObjectsLine(const DecodedMap& map);

// The webmap work ended early: the server could not be reached (with what a
// run of this map needs of an hourly limit, and how far the upload had come)
// or a rebuild would drop more than the webmap.
Stop webmapStop(const WebmapStop& stop, int32_t hexCount,
                const HexesWritten& upload, bool singleConnection);

// A run that went through, but whose statements failed: how many, the first
// one's error and statement, and, when the errors show it, that another
// client changed the webmap. No key is waited for.
Stop statementsFailedStop(const WebmapRun& run);

#endif  // ZELKOR_DRIVER_GENERATOR_STOPS_H_
