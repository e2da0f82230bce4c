#include "webmap/webmap_reader.h"

namespace {

constexpr char kSelectDescriptions[] =
    "SELECT ID, Width, Height FROM mapdescription ORDER BY ID";
constexpr char kSelectHexes[] =
    "SELECT ID, X, Y, PoliticalControl, TerrainType, PlanetType, "
    "StarbaseType, BaseEconomicPoints, CurrentEconomicPoints, "
    "BaseVictoryPoints, CurrentVictoryPoints, BaseSpeedPoints, "
    "CurrentSpeedPoints, LOCKED, LOCKID FROM maphex ORDER BY ID";

}  // namespace

StatementResult readWebmap(const WebmapConnectionValues& values,
                           WebmapContent& content) {
  StatementResult descriptions = runStatement(
      values, Selects::kWebmapDatabase, Returns::kRows, kSelectDescriptions);
  if (!descriptions.succeeded()) return descriptions;
  StatementResult hexes = runStatement(values, Selects::kWebmapDatabase,
                                       Returns::kRows, kSelectHexes);
  if (!hexes.succeeded()) return hexes;

  WebmapContent read;
  for (std::vector<std::string>& r : descriptions.rows) {
    read.descriptions.push_back({r.at(0), r.at(1), r.at(2)});
  }
  for (std::vector<std::string>& r : hexes.rows) {
    read.hexes.push_back({r.at(0), r.at(1), r.at(2), r.at(3), r.at(4), r.at(5),
                          r.at(6), r.at(7), r.at(8), r.at(9), r.at(10),
                          r.at(11), r.at(12), r.at(13), r.at(14)});
  }
  content = std::move(read);
  return hexes;
}
