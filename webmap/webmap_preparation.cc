#include "webmap/webmap_preparation.h"

#include <cctype>

#include "webmap/drop_guard.h"
#include "webmap/webmap_tables.h"

namespace {

// The look-ups of the validity test, as they have always been written: the
// second without a closing semicolon.
const std::string kCountMapHex =
    std::string("SELECT COUNT(*) from ") + kMapHexTable + ";";
const std::string kCountMapDescription =
    std::string("SELECT COUNT(*) from ") + kMapDescriptionTable;
const std::string kDeleteMapDescription =
    std::string("DELETE FROM ") + kMapDescriptionTable + ";";

}  // namespace

WebmapOutcome<bool> createWebmapDatabase(WebmapRun& run) {
  const std::string statement =
      "CREATE DATABASE " + quoteIdentifier(run.values().databaseName);
  const WebmapOutcome<StatementResult> sent =
      run.send(Selects::kNoDatabase, Returns::kNoRows, statement);
  if (!sent.ok()) return sent.passOn<bool>();
  const StatementResult& result = sent.value();
  if (!result.succeeded()) {
    // An existing database is the usual reason; a database that is missing
    // and could not be created shows in the statements that follow.
    if (result.errorNumber != kErrorDatabaseExists) {
      run.noteCreateFailure(statement, result);
    }
    run.out() << kFoundWebmapLine;
    return false;
  }
  run.out() << "Info:   New webmap database created.\n"
            << "        Updating structure...\n";
  // A table that could not be made is reported and tallied there, and the
  // statements that need it fail in turn: the database was created all the
  // same.
  for (const std::string& create :
       {createMapHexStatement(), createMapDescriptionStatement()}) {
    const WebmapOutcome<Written> made = runWebmapStatement(run, create);
    if (!made.ok()) return made.passOn<bool>();
  }
  return true;
}

WebmapOutcome<Done> markWebmapForRebuild(WebmapRun& run) {
  const WebmapOutcome<Written> deleted =
      runWebmapStatement(run, kDeleteMapDescription);
  if (!deleted.ok()) return deleted.passOn<Done>();
  // A deletion that failed is reported and tallied like any statement: the
  // run ends with its failures either way.
  return Done{};
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
  return std::string("SELECT COUNT(*) from ") + kMapHexTable +
         " WHERE ID >= 0 AND ID < " +
         std::to_string(hexCount) + ";";
}

WebmapOutcome<bool> prepareWebmapDatabase(WebmapRun& run, int32_t hexCount) {
  WebmapOutcome<bool> created = createWebmapDatabase(run);
  if (!created.ok()) return created;
  const bool databaseCreated = created.value();

  // IDs are unique, so hexCount rows of which hexCount have an ID below
  // hexCount are exactly the rows 0 ... hexCount - 1 that UPDATEs find. A
  // count that failed reads as no rows, as the standard conversion reads
  // the library's "Error!"; the look-ups stop at the first that fails the
  // test.
  bool valid = true;
  for (const std::string& statement :
       {kCountMapHex, countHexIdsStatement(hexCount)}) {
    const WebmapOutcome<std::optional<std::string>> counted =
        queryWebmapCount(run, statement);
    if (!counted.ok()) return counted.passOn<bool>();
    const int64_t rows = counted.value() ? countFromText(*counted.value()) : 0;
    if (rows != hexCount) {
      valid = false;
      break;
    }
  }
  if (valid) {
    // The text "1" exactly, not a number that reads as one.
    const WebmapOutcome<std::optional<std::string>> described =
        queryWebmapCount(run, kCountMapDescription);
    if (!described.ok()) return described.passOn<bool>();
    valid = described.value() == std::optional<std::string>("1");
  }
  if (valid) {
    run.out() << "Info:   Current webmap database appears valid.\n";
    return databaseCreated;
  }
  run.out() << "Info:   Current webmap database doesn't appear to be valid.  "
               "Throwing out.\n"
            << "        A new datbase will be created.\n";
  // A drop that the server refused was reported and tallied there; the
  // create that follows then finds the old database and the rows are
  // updated.
  const WebmapOutcome<bool> dropped = dropWebmapDatabase(run);
  if (!dropped.ok()) return dropped.passOn<bool>();
  return createWebmapDatabase(run);
}
