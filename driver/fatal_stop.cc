#include "driver/fatal_stop.h"

#include "platform/key_wait.h"
#include "platform/process.h"

int endWithStop(std::ostream& out, const Stop& stop) {
  if (stop.waitsForKey) return fatalStop(out, stop);
  out << stop.text;
  return stop.status;
}

int fatalStop(std::ostream& out, const Stop& stop) {
  out << stop.text << stop.prompt;
  out.flush();
  // A script or a scheduled task gives the tool its input from a file, a
  // pipe or the null device: nobody is there to press a key, and a wait
  // would hang the task. Only a person at the console is asked.
  if (standardInputIsConsole()) waitForKey();
  return stop.status;
}
