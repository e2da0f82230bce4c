// The fatal stop: the run's text (prompt included) goes out first, then the
// tool waits for one key on the console so that a user who started it from a
// desktop sees why it stopped; a run from a script or a scheduled task ends
// at once.
#ifndef ZELKOR_DRIVER_FATAL_STOP_H_
#define ZELKOR_DRIVER_FATAL_STOP_H_

#include <ostream>

#include "stops/stop.h"

// Writes the stop's text and prompt to out, flushes them, waits for one key
// press when standard input is the console a person types in (not when a
// script or a task gives it a file, a pipe or the null device) and returns
// the stop's status, which the caller returns from the entry point.
int fatalStop(std::ostream& out, const Stop& stop);

// How every run that does not complete ends: through fatalStop, or, for a
// stop that waits for no key, with its text and status alone.
int endWithStop(std::ostream& out, const Stop& stop);

#endif  // ZELKOR_DRIVER_FATAL_STOP_H_
