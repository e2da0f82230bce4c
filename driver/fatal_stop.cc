#include "driver/fatal_stop.h"

#include "platform/key_wait.h"

int endWithStop(std::ostream& out, const Stop& stop) {
  if (stop.waitsForKey) return fatalStop(out, stop);
  out << stop.text;
  return stop.status;
}

int fatalStop(std::ostream& out, const Stop& stop) {
  out << stop.text << stop.prompt;
  out.flush();
  waitForKey();
  return stop.status;
}

