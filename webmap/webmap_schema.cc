#include "webmap/webmap_schema.h"

#include <mysql++/mysql++.h>

#include <cctype>

const char kCreateMapHexTable[] =
    "CREATE TABLE MapHex (ID INTEGER PRIMARY KEY, LOCKED DATETIME, LOCKID "
    "INTEGER, X INTEGER NOT NULL, Y INTEGER NOT NULL, PoliticalControl INTEGER "
    "NOT NULL, TerrainType INTEGER NOT NULL, PlanetType INTEGER NOT NULL, "
    "StarbaseType INTEGER NOT NULL, BaseEconomicPoints INTEGER NOT NULL, "
    "CurrentEconomicPoints INTEGER NOT NULL, BaseVictoryPoints INTEGER NOT "
    "NULL, CurrentVictoryPoints INTEGER NOT NULL, BaseSpeedPoints DOUBLE NOT "
    "NULL, CurrentSpeedPoints DOUBLE NOT NULL, CONSTRAINT XYIndex UNIQUE(X, Y) "
    ");";

const char kCreateMapDescriptionTable[] =
    "CREATE TABLE MapDescription (ID INTEGER PRIMARY KEY, LOCKED DATETIME, "
    "LOCKID INTEGER, Width INTEGER NOT NULL, Height INTEGER NOT NULL, "
    "CorrectedBaseAIs INTEGER NOT NULL);";

namespace {

constexpr char kCountMapHex[] = "SELECT COUNT(*) from maphex;";
constexpr char kCountMapDescription[] = "SELECT COUNT(*) from mapdescription";

}  // namespace

std::string quoteIdentifier(const std::string& name) {
  std::string quoted = "`";
  for (char c : name) {
    if (c == '`') quoted += '`';
    quoted += c;
  }
  return quoted + "`";
}

bool createWebmapDatabase(WebmapRun& run) {
  bool created = false;
  try {
    executeOn(run.values, kServerDatabase,
              "CREATE DATABASE " + quoteIdentifier(run.values.databaseName));
    created = true;
    *run.out << "Info:   New webmap database created.\n"
             << "        Updating structure...\n";
    runWebmapStatement(run, kCreateMapHexTable);
    runWebmapStatement(run, kCreateMapDescriptionTable);
  } catch (const mysqlpp::BadConversion&) {
  } catch (const mysqlpp::Exception&) {
    // An existing database is the usual reason; a database that is missing
    // and could not be created shows in the statements that follow.
    *run.out << "Info:   Found webmap database. Updating...\n";
  }
  return created;
}

bool dropWebmapDatabase(WebmapRun& run) {
  const std::string statement =
      "DROP DATABASE " + quoteIdentifier(run.values.databaseName);
  try {
    executeOn(run.values, kServerDatabase, statement);
    *run.out << "Info:   Database dropped.\n";
    return true;
  } catch (const mysqlpp::BadConversion& e) {
    run.recordFailure(statement, e.what());
  } catch (const mysqlpp::Exception& e) {
    *run.out << "Fatal:  Was unable to drop the database!\n";
    run.recordFailure(statement, e.what());
  }
  return false;
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

bool prepareWebmapDatabase(WebmapRun& run, int32_t hexCount) {
  bool databaseCreated = createWebmapDatabase(run);
  const int64_t hexRows = countFromText(queryWebmapCount(run, kCountMapHex));
  if (hexRows == hexCount &&
      queryWebmapCount(run, kCountMapDescription) == "1") {
    *run.out << "Info:   Current webmap database appears valid.\n";
    return databaseCreated;
  }
  *run.out << "Info:   Current webmap database doesn't appear to be valid.  "
              "Throwing out.\n"
           << "        A new datbase will be created.\n";
  dropWebmapDatabase(run);
  databaseCreated = createWebmapDatabase(run);
  return databaseCreated;
}
