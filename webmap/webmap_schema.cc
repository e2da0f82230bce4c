#include "webmap/webmap_schema.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "webmap/webmap_tables.h"

namespace {

constexpr char kCountMapHex[] = "SELECT COUNT(*) from maphex;";
constexpr char kCountMapDescription[] = "SELECT COUNT(*) from mapdescription";
constexpr char kDeleteMapDescription[] = "DELETE FROM mapdescription;";

// Everything the webmap database holds that a drop would take with it:
// tables, views, sequences, stored routines and events, as (kind, name).
// DATABASE() is the database the connection selected, so the name needs no
// quoting here.
constexpr char kListDatabaseObjects[] =
    "SELECT TABLE_TYPE, TABLE_NAME FROM information_schema.TABLES "
    "WHERE TABLE_SCHEMA = DATABASE() "
    "UNION ALL SELECT ROUTINE_TYPE, ROUTINE_NAME FROM "
    "information_schema.ROUTINES WHERE ROUTINE_SCHEMA = DATABASE() "
    "UNION ALL SELECT 'EVENT', EVENT_NAME FROM information_schema.EVENTS "
    "WHERE EVENT_SCHEMA = DATABASE()";

std::string lowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
    return static_cast<char>(std::tolower(c));
  });
  return text;
}

bool isWebmapTable(const std::string& kind, const std::string& name) {
  const std::string lower = lowerCase(name);
  return kind == "BASE TABLE" &&
         (lower == "maphex" || lower == "mapdescription");
}

// "table 'posts'", "view 'v'", "procedure 'p'", ...
std::string describe(const std::string& kind, const std::string& name) {
  const std::string word = kind == "BASE TABLE" ? "table" : lowerCase(kind);
  return word + " '" + name + "'";
}

// Throws NotAWebmapDatabase unless the webmap database holds only the
// webmap's tables, or nothing, or does not exist or cannot be named so (a
// drop then fails as any failed statement does).
void checkOnlyTheWebmap(WebmapRun& run) {
  const std::string& database = run.values().databaseName;
  const StatementResult listed =
      run.send(Selects::kWebmapDatabase, Returns::kRows, kListDatabaseObjects);
  if (!listed.succeeded()) {
    if (namesNoDatabase(listed.errorNumber)) return;
    throw NotAWebmapDatabase(database, {}, listed.error);
  }
  // By name, so that the stop names the same objects every time.
  std::vector<std::vector<std::string>> objects = listed.rows;
  std::sort(objects.begin(), objects.end(),
            [](const auto& a, const auto& b) { return a.at(1) < b.at(1); });
  std::vector<std::string> others;
  for (const std::vector<std::string>& object : objects) {
    if (!isWebmapTable(object.at(0), object.at(1))) {
      others.push_back(describe(object.at(0), object.at(1)));
    }
  }
  if (!others.empty()) throw NotAWebmapDatabase(database, others, "");
}

}  // namespace

NotAWebmapDatabase::NotAWebmapDatabase(std::string database,
                                       std::vector<std::string> others,
                                       std::string lookupError)
    : std::runtime_error("not a webmap database: " + database),
      database_(std::move(database)),
      others_(std::move(others)),
      lookupError_(std::move(lookupError)) {}

std::string quoteIdentifier(const std::string& name) {
  std::string quoted = "`";
  for (char c : name) {
    if (c == '`') quoted += '`';
    quoted += c;
  }
  return quoted + "`";
}

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

bool dropWebmapDatabase(WebmapRun& run) {
  checkOnlyTheWebmap(run);
  const std::string statement =
      "DROP DATABASE " + quoteIdentifier(run.values().databaseName);
  const StatementResult result =
      run.send(Selects::kNoDatabase, Returns::kNoRows, statement);
  if (!result.succeeded()) {
    run.out() << "Fatal:  Was unable to drop the database!\n";
    run.recordFailure(statement, result);
    return false;
  }
  run.out() << "Info:   Database dropped.\n";
  return true;
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
