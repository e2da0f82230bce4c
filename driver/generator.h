// The tool's main sequence: banner, configuration, loading of the game
// database, decoding of the map, webmap preparation, translation and upload,
// each phase finishing before the next begins.
#ifndef ZELKOR_DRIVER_GENERATOR_H_
#define ZELKOR_DRIVER_GENERATOR_H_

#include <ostream>
#include <string>

// Runs the whole sequence in the working directory, writing its console lines
// to out and warnings that are no part of them to warnings, and returns the
// exit status (config/exit_status.h).
int runGenerator(std::ostream& out, std::ostream& warnings);

// The line on standard error for a person who gave the tool arguments
// (count of them in words), which it takes none of: that they were ignored,
// that a normal run follows, and where the help is.
std::string ignoredArgumentsLine(int count, const char* const* words);

#endif  // ZELKOR_DRIVER_GENERATOR_H_
