// The one table of exit statuses against the statuses page of the docs:
// each program's section lists exactly that program's statuses, each with
// the low 8 bits a POSIX shell sees.
#include "config/exit_status.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace {

// The first two cells of each table row in the section of docs/statuses.md
// that begins with heading, as "| -2 | 254 |".
std::set<std::string> rowsOfSection(const std::string& heading) {
  std::ifstream in(ZELKOR_SOURCE_DIR "/docs/statuses.md");
  std::set<std::string> rows;
  std::string line;
  bool inSection = false;
  while (std::getline(in, line)) {
    if (line.rfind("## ", 0) == 0) inSection = line == heading;
    if (!inSection || line.rfind("| ", 0) != 0) continue;
    const size_t second = line.find(" | ", 2);
    const size_t third = line.find(" |", second + 3);
    if (second == std::string::npos || third == std::string::npos) continue;
    const std::string cells = line.substr(0, third + 2);
    if (cells.find("Status") == std::string::npos) rows.insert(cells);
  }
  return rows;
}

TEST(ExitStatusTest, EachProgramsStatusesAreTheDocumentedOnes) {
  const struct {
    const char* heading;
    unsigned user;
  } kPrograms[] = {{"## zelkor-generator", kByGenerator},
                   {"## zelkor-map-page", kByMapPage}};
  for (const auto& program : kPrograms) {
    std::set<std::string> fromTable;
    for (const ExitStatusEntry& entry : kExitStatuses) {
      if ((entry.users & program.user) == 0) continue;
      fromTable.insert("| " + std::to_string(entry.status) + " | " +
                       std::to_string(entry.status & 0xFF) + " |");
    }
    EXPECT_EQ(fromTable, rowsOfSection(program.heading)) << program.heading;
  }
}

}  // namespace
