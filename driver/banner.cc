#include "driver/banner.h"

namespace {

constexpr int kWidth = 72;
constexpr int kCompiledColumn = 55;  // 1-based column where the date starts
constexpr char kCredit[] = "Quarrion hex map to webmap converter";
constexpr char kCompiled[] = "Compiled: 9/17/2003";
constexpr char kMottoFirst[] = "From the game database,";
constexpr char kMottoSecond[] = "to the webmap, hex by hex.";

std::string padTo(std::string text, int column) {
  text.resize(column, ' ');
  return text;
}

}  // namespace

std::string bannerText() {
  const std::string rule(kWidth, '=');
  std::string text;
  text += rule + "\n";
  text += "Quarrion\n";
  text += std::string(23, ' ') + "Zelkor Generator\n";
  text += padTo(kCredit, kCompiledColumn - 1) + kCompiled + "\n";
  text += "Version 1 Beta\n";
  text += std::string(22, ' ') + kMottoFirst + std::string(4, ' ') + "\n";
  const std::string second = kMottoSecond;
  text += std::string(kWidth - second.size(), ' ') + second + "\n";
  text += rule + "\n";
  text += "\n";
  return text;
}
