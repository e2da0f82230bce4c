// A program's end before its work is done, or with its work not done as it
// should be: the exit status and the text that says why. Each phase of a
// program gives one back, or nothing when the program goes on; the program
// writes it and ends with its status. The words are made from the facts that
// the layers below give back; those of the stops both programs share are
// made here.
#ifndef ZELKOR_STOPS_STOP_H_
#define ZELKOR_STOPS_STOP_H_

#include <cstdint>
#include <string>

#include "config/configuration.h"
#include "platform/file_replacement.h"
#include "webmap/connect_problem.h"

// What the generator asks after a stop's text, before it waits for a key.
constexpr char kPressAnyKey[] = "Press any key to exit...";

struct Stop {
  int status = 0;
  // Whole lines, the first beginning with "Fatal:  ".
  std::string text;
  // Written after the text by a program that waits for a key: the prompt on
  // a line of its own, unless a stop has it otherwise.
  std::string prompt = std::string(kPressAnyKey) + "\n";
  // Whether the generator waits for a key after it; a run that went through
  // with failed statements ends without waiting, and without the prompt.
  bool waitsForKey = true;
};

// config.txt not found (kNotFound) or invalid (kInvalid), with why and what
// to do.
Stop configurationStop(const ConfigurationFault& fault);

// The connections a run of the map opens, which an hourly connection limit
// must allow: one per hex and up to checks more. hexes < 0: the program
// writes no hexes.
struct RunConnections {
  int32_t hexes = -1;
  int32_t checks = 0;
  // The run opened a connection per statement: single-connection would
  // need a handful.
  bool perStatement = false;
};

// A server that cannot be reached: "Fatal:  Cannot connect to the MySQL
// server on host '<host>': <error>" and what the failure means in plain
// words where the program can tell (the port or socket tried and where it
// came from, a refused login, a TLS file or certificate at fault, an hourly
// connection limit with the connections a run needs, no free local port).
// An option file refused before any connect has a text of its own.
Stop serverUnreachableStop(const ConnectProblem& problem,
                           RunConnections need = {});

// zelkor-map-page's own: no webmap to draw in database (the server's error
// says why), so output was not written; and a page that could not be
// written, with the step, the file and the system's words for why.
Stop noWebmapStop(const std::string& database, const std::string& error,
                  const std::string& output);
Stop pageNotWrittenStop(const FileReplaceFailure& failure);

// Continuation lines: text broken at blanks into lines of at most 80
// columns, each beginning with eight blanks.
std::string continuationLines(const std::string& text);

#endif  // ZELKOR_STOPS_STOP_H_
