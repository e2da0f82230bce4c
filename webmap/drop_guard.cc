#include "webmap/drop_guard.h"

#include <algorithm>
#include <cctype>

#include "base/lower_case.h"
#include "webmap/webmap_tables.h"

namespace {

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

bool isWebmapTable(const std::string& kind, const std::string& name) {
  const std::string lower = lowerCase(name);
  return kind == "BASE TABLE" &&
         (lower == kMapHexTable || lower == kMapDescriptionTable);
}

// "table 'posts'", "view 'v'", "procedure 'p'", ...
std::string describe(const std::string& kind, const std::string& name) {
  const std::string word = kind == "BASE TABLE" ? "table" : lowerCase(kind);
  return word + " '" + name + "'";
}

// Fails with NotAWebmapDatabase unless the webmap database holds only the
// webmap's tables, or nothing, or does not exist or cannot be named so (a
// drop then fails as any failed statement does).
WebmapOutcome<Done> checkOnlyTheWebmap(WebmapRun& run) {
  const std::string& database = run.values().databaseName;
  const WebmapOutcome<StatementResult> sent =
      run.send(Selects::kWebmapDatabase, Returns::kRows, kListDatabaseObjects);
  if (!sent.ok()) return sent.passOn<Done>();
  const StatementResult& listed = sent.value();
  if (!listed.succeeded()) {
    if (namesNoDatabase(listed.errorNumber)) return Done{};
    return WebmapOutcome<Done>::failed(
        NotAWebmapDatabase{database, {}, listed.error});
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
  if (!others.empty()) {
    return WebmapOutcome<Done>::failed(NotAWebmapDatabase{database, others, ""});
  }
  return Done{};
}

}  // namespace

WebmapOutcome<bool> dropWebmapDatabase(WebmapRun& run) {
  const WebmapOutcome<Done> checked = checkOnlyTheWebmap(run);
  if (!checked.ok()) return checked.passOn<bool>();
  const std::string statement =
      "DROP DATABASE " + quoteIdentifier(run.values().databaseName);
  const WebmapOutcome<StatementResult> sent =
      run.send(Selects::kNoDatabase, Returns::kNoRows, statement);
  if (!sent.ok()) return sent.passOn<bool>();
  if (!sent.value().succeeded()) {
    run.out() << "Fatal:  Was unable to drop the database!\n";
    run.recordFailure(statement, sent.value());
    return false;
  }
  run.out() << "Info:   Database dropped.\n";
  return true;
}
