#include "webmap/webmap_preparation.h"

#include <cctype>

#include "webmap/drop_guard.h"
#include "webmap/webmap_tables.h"

namespace {

constexpr char kCountMapHex[] = "SELECT COUNT(*) from maphex;";
constexpr char kCountMapDescription[] = "SELECT COUNT(*) from mapdescription";
constexpr char kDeleteMapDescription[] = "DELETE FROM mapdescription;";

}  // namespace

bool createWebmapDatabase(WebmapRun& run) {
  const std::string statement =
      "CREATE DATABASE " + quoteIdentifier(run.values().databaseName);
  const StatementResult result =
      run.send(Selects::kNoDatabase, Returns::kNoRows, statement);
  if (!result.succeeded()) {
    // An existing database is the usual reason; a database that is missing
    // and could not be created shows in the statements that follow.
    if (result.errorNumber != kErrorDatabaseExists) {
      run.noteCreateFailure(statement, result);
    }
    run.out() << "Info:   Found webmap database. Updating...\n";
    return false;
  }
  run.out() << "Info:   New webmap database created.\n"
            << "        Updating structure...\n";
  runWebmapStatement(run, createMapHexStatement());
  runWebmapStatement(run, createMapDescriptionStatement());
  return true;
}

void markWebmapForRebuild(WebmapRun& run) {
  runWebmapStatement(run, kDeleteMapDescription);
}

int64_t countFromText(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) {
    ++i;
  }
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  int64_t value = 0;
  constexpr int64_t kLimit = int64_t{1} << 40;  // far above any row count
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]));
       ++i) {
    if (value < kLimit) value = value * 10 + (text[i] - '0');
  }
  return negative ? -value : value;
}

std::string countHexIdsStatement(int32_t hexCount) {
  return "SELECT COUNT(*) from maphex WHERE ID >= 0 AND ID < " +
         std::to_string(hexCount) + ";";
}

bool prepareWebmapDatabase(WebmapRun& run, int32_t hexCount) {
  bool databaseCreated = createWebmapDatabase(run);
  // IDs are unique, so hexCount rows of which hexCount have an ID below
  // hexCount are exactly the rows 0 ... hexCount - 1 that UPDATEs find.
  const auto countIs = [&](const std::string& statement) {
    return countFromText(queryWebmapCount(run, statement)) == hexCount;
  };
  if (countIs(kCountMapHex) && countIs(countHexIdsStatement(hexCount)) &&
      queryWebmapCount(run, kCountMapDescription) == "1") {
    run.out() << "Info:   Current webmap database appears valid.\n";
    return databaseCreated;
  }
  run.out() << "Info:   Current webmap database doesn't appear to be valid.  "
               "Throwing out.\n"
            << "        A new datbase will be created.\n";
  dropWebmapDatabase(run);
  databaseCreated = createWebmapDatabase(run);
  return databaseCreated;
}
