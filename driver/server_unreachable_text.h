// The text of a stop for a server that cannot be reached: the client
// library's error, and what it means in plain words where the run can tell
// (TLS, an hourly connection limit, no free local port). Both programs
// write it.
#ifndef ZELKOR_DRIVER_SERVER_UNREACHABLE_TEXT_H_
#define ZELKOR_DRIVER_SERVER_UNREACHABLE_TEXT_H_

#include <cstdint>
#include <string>

#include "webmap/statement_runner.h"

// "Fatal:  Cannot connect to the MySQL server on host '<host>': <error>\n"
// and continuation lines; no prompt. hexCount, the hexes of the run's map,
// gives the connections a run needs against an hourly limit; < 0 when the
// program writes no hexes.
std::string serverUnreachableText(const std::string& host,
                                  const std::string& error,
                                  ConnectFailure failure, int32_t hexCount);

#endif  // ZELKOR_DRIVER_SERVER_UNREACHABLE_TEXT_H_
