#include "webmap/hex_upload.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>

namespace {

// A line on standard error, redrawn at most five times a second, for users
// who watch a long upload to a remote server. Silent when standard error is
// not a terminal, so logs and scripts never see it.
class UploadProgress {
 public:
  explicit UploadProgress(int32_t total)
      : total_(total), shown_(total > 0 && isatty(STDERR_FILENO)) {}
  ~UploadProgress() {
    if (drawn_) std::fprintf(stderr, "\r%*s\r", width_, "");
  }
  void update(int32_t done) {
    if (!shown_) return;
    const auto now = std::chrono::steady_clock::now();
    if (drawn_ && now - last_ < std::chrono::milliseconds(200) &&
        done != total_) {
      return;
    }
    last_ = now;
    drawn_ = true;
    width_ = std::fprintf(stderr, "\rWriting hexes: %d of %d (%d%%)", done,
                          total_, static_cast<int>(100LL * done / total_));
    std::fflush(stderr);
  }

 private:
  int32_t total_;
  bool shown_;
  bool drawn_ = false;
  int width_ = 0;
  std::chrono::steady_clock::time_point last_;
};

}  // namespace

std::string hexInsertStatement(const HexTable& h, int32_t i) {
  std::string s =
      "INSERT INTO maphex(ID, X, Y, PoliticalControl, TerrainType, "
      "PlanetType, StarbaseType, BaseEconomicPoints, CurrentEconomicPoints, "
      "BaseVictoryPoints, CurrentVictoryPoints, BaseSpeedPoints, "
      "CurrentSpeedPoints) VALUES( ";
  const std::string id = std::to_string(i);
  for (const std::string* value :
       {&id, &h.x[i], &h.y[i], &h.politicalControl[i], &h.terrain[i],
        &h.planet[i], &h.starbase[i], &h.economy[i], &h.economy[i],
        &h.defenseValue[i], &h.defenseValue[i]}) {
    s += *value;
    s += ", ";
  }
  s += "1 , 1";
  s += " );";
  return s;
}

std::string hexUpdateStatement(const HexTable& h, int32_t i) {
  std::string s = "UPDATE maphex SET ";
  s += "X='" + h.x[i] + "', ";
  s += "Y='" + h.y[i] + "', ";
  s += "PoliticalControl='" + h.politicalControl[i] + "', ";
  s += "TerrainType='" + h.terrain[i] + "', ";
  s += "PlanetType='" + h.planet[i] + "', ";
  s += "StarbaseType='" + h.starbase[i] + "', ";
  s += "BaseEconomicPoints='" + h.economy[i] + "', ";
  s += "CurrentEconomicPoints='" + h.economy[i] + "', ";
  s += "BaseVictoryPoints='" + h.defenseValue[i] + "', ";
  s += "CurrentVictoryPoints='" + h.defenseValue[i] + "', ";
  s += "BaseSpeedPoints='1', CurrentSpeedPoints='1'";
  s += "WHERE ID='" + std::to_string(i) + "';";
  return s;
}

void uploadHexRows(WebmapRun& run, const HexTable& hexes, int32_t hexCount,
                   bool databaseCreated) {
  UploadProgress progress(hexCount);
  for (int32_t i = 0; i < hexCount; ++i) {
    // An UPDATE that finds no row with the hex's ID has not written the
    // hex either.
    if (databaseCreated) {
      runWebmapStatement(run, hexInsertStatement(hexes, i));
    } else {
      runWebmapStatement(run, hexUpdateStatement(hexes, i), MustMatch::kARow);
    }
    progress.update(i + 1);
  }
}
