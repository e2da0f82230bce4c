#include "config/option_files.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>

namespace {

// Deep enough for any sensible set of files, and an end to a file that
// includes itself.
constexpr int kMaxIncludeDepth = 8;

const char* const kGroupsRead[] = {"client", "client-server", "client-mariadb",
                                   kOptionGroup};

std::string trim(const std::string& text) {
  const auto isBlank = [](unsigned char c) { return std::isspace(c) != 0; };
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::string lowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
    return static_cast<char>(std::tolower(c));
  });
  return text;
}

// Option names may be written with '_' or '-'.
std::string normalName(std::string name) {
  std::replace(name.begin(), name.end(), '_', '-');
  return lowerCase(name);
}

std::string unquoted(const std::string& value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// A boolean option's value as the option files write it; no value is true.
bool isTrue(const std::string& value, bool hasValue) {
  if (!hasValue) return true;
  const std::string v = lowerCase(unquoted(value));
  return v == "1" || v == "on" || v == "true" || v == "yes";
}

bool startsWith(const std::string& text, const std::string& head) {
  return text.compare(0, head.size(), head) == 0;
}

class OptionFileReader {
 public:
  void readFile(const std::string& path, int depth) {
    if (depth > kMaxIncludeDepth) return;
    std::ifstream in(path);
    if (!in.is_open()) return;
    bool inReadGroup = false;
    std::string line;
    while (std::getline(in, line)) {
      const std::string text = trim(line);
      if (text.empty() || text[0] == '#' || text[0] == ';') continue;
      if (startsWith(text, "!includedir")) {
        std::string folder = trim(text.substr(11));
        if (!folder.empty()) readFile(folder + "/my.cnf", depth + 1);
        continue;
      }
      if (startsWith(text, "!include")) {
        const std::string file = trim(text.substr(8));
        if (!file.empty()) readFile(file, depth + 1);
        continue;
      }
      if (text[0] == '[') {
        const size_t close = text.find(']');
        const std::string group = normalName(trim(text.substr(1, close - 1)));
        inReadGroup =
            std::any_of(std::begin(kGroupsRead), std::end(kGroupsRead),
                        [&](const char* read) { return group == read; });
        continue;
      }
      if (inReadGroup) option(text);
    }
  }

  const ClientOptionSettings& settings() const { return settings_; }

 private:
  void option(const std::string& text) {
    const size_t equals = text.find('=');
    const bool hasValue = equals != std::string::npos;
    std::string name = normalName(trim(text.substr(0, equals)));
    const std::string value =
        hasValue ? unquoted(trim(text.substr(equals + 1))) : "";
    if (startsWith(name, "loose-")) name = name.substr(6);
    settings_.names.insert(name);
    if (name == "ssl" || name == "enable-ssl" || name == "ssl-enforce") {
      ssl_ = isTrue(value, hasValue);
    } else if (name == "skip-ssl" || name == "disable-ssl") {
      ssl_ = !isTrue(value, hasValue);
    } else if (name == "ssl-verify-server-cert") {
      settings_.verifyServerCert = isTrue(value, hasValue);
    } else if (name == "ssl-ca" || name == "ssl-capath") {
      trust_[name] = !value.empty();
    } else if (name == "ssl-cert" || name == "ssl-key" ||
               name == "ssl-cipher") {
      files_[name] = !value.empty();
    } else if (name == "database") {
      settings_.namesDatabase = !value.empty();
    }
    settings_.trustNamed = trust_["ssl-ca"] || trust_["ssl-capath"];
    bool anyFile = settings_.trustNamed;
    for (const auto& named : files_) anyFile = anyFile || named.second;
    settings_.tls = ssl_ || anyFile || settings_.verifyServerCert;
  }

  ClientOptionSettings settings_;
  bool ssl_ = false;
  // Whether each file setting holds a name (an empty value unsets it).
  std::map<std::string, bool> trust_;
  std::map<std::string, bool> files_;
};

}  // namespace

bool libraryMustReadOptionFiles(const ClientOptionSettings& settings, bool tcp,
                                bool socketGiven, bool portGiven) {
  for (const std::string& name : settings.names) {
    const bool decidedElsewhere =
        name == "host" || name == "user" || name == "password" ||
        name == "database" || name == "ssl" || name == "enable-ssl" ||
        name == "skip-ssl" || name == "disable-ssl" || name == "ssl-enforce" ||
        name == "ssl-verify-server-cert" ||
        (name == "socket" && (tcp || socketGiven)) ||
        (name == "port" && (!tcp || portGiven));
    if (!decidedElsewhere) return true;
  }
  return false;
}

std::vector<std::string> clientOptionFiles() {
  std::vector<std::string> files = {"/etc/my.cnf", "/etc/mysql/my.cnf"};
  const char* home = std::getenv("MARIADB_HOME");
  if (home == nullptr) home = std::getenv("MYSQL_HOME");
  if (home != nullptr) files.push_back(std::string(home) + "/my.cnf");
  if (const char* user = std::getenv("HOME")) {
    files.push_back(std::string(user) + "/.my.cnf");
  }
  return files;
}

ClientOptionSettings readClientOptionSettings(
    const std::vector<std::string>& files) {
  OptionFileReader reader;
  for (const std::string& file : files) reader.readFile(file, 0);
  return reader.settings();
}

const ClientOptionSettings& clientOptionSettings() {
  static const ClientOptionSettings settings =
      readClientOptionSettings(clientOptionFiles());
  return settings;
}
