#include "config/option_files.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <iterator>

#include "base/lower_case.h"
#include "config/text_start.h"
#include "platform/file_facts.h"

namespace {

// The groups the library reads, compared as it compares them: letter for
// letter.
const char* const kGroupsRead[] = {"client", "client-server", "client-mariadb",
                                   kOptionGroup};

// The settings a failed connect is explained with.
const char* const kExplainingSettings[] = {"port",       "socket", "ssl-ca",
                                           "ssl-capath", "ssl-cert", "ssl-key"};

bool isBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

std::string trim(const std::string& text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::string trimEnd(const std::string& text) {
  size_t end = text.size();
  while (end > 0 && isBlank(text[end - 1])) --end;
  return text.substr(0, end);
}

// Option names may be written with '_' or '-'.
std::string normalName(std::string name) {
  std::replace(name.begin(), name.end(), '_', '-');
  return lowerCase(name);
}

// A name as option files write them: letters, digits, '-' and '_'.
bool isOptionName(const std::string& name) {
  return !name.empty() &&
         std::all_of(name.begin(), name.end(), [](unsigned char c) {
           return std::isalnum(c) != 0 || c == '-' || c == '_';
         });
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

bool contains(const std::string& text, const char* part) {
  return text.find(part) != std::string::npos;
}

// Whether a value, blanks trimmed, is empty as the library reads it: it
// drops a quote at the start and then one at the end, of either kind, so
// that "'" is as empty as "''".
bool emptyToTheLibrary(const std::string& value) {
  if (value.empty()) return true;
  if (value[0] != '\'' && value[0] != '"') return false;
  std::string rest = value.substr(1);
  if (!rest.empty() && (rest.back() == '\'' || rest.back() == '"')) {
    rest.pop_back();
  }
  return rest.empty();
}

// The settings that name a file or a folder.
const char* const kPathSettings[] = {
    "socket",  "ssl-ca",     "ssl-capath", "ssl-cert",           "ssl-key",
    "ssl-crl", "ssl-crlpath", "plugin-dir", "character-sets-dir"};

// The settings the library's reader crashes on. It hands each setting of
// the groups it reads to the library, which takes the value of these as
// given: disable-local-infile is listed with no setting behind it, and an
// init-command with no statement is copied from nowhere. A connection
// setting's value is a list of settings, read the same way, and with no
// value at all it crashes too. The library compares names letter for
// letter, '_' taken for '-', and takes no "loose-" off them.
std::optional<OptionFileFault::Kind> crashingSetting(const std::string& written,
                                                     bool hasValue,
                                                     const std::string& value) {
  std::string name = written;
  std::replace(name.begin(), name.end(), '_', '-');
  if (name == "disable-local-infile") {
    return OptionFileFault::Kind::kDisableLocalInfile;
  }
  if (name == "init-command" && (!hasValue || emptyToTheLibrary(value))) {
    return OptionFileFault::Kind::kInitCommandEmpty;
  }
  if (name == "connection") {
    std::string list = value;
    std::replace(list.begin(), list.end(), '_', '-');
    if (!hasValue || contains(list, "disable-local-infile") ||
        contains(list, "init-command")) {
      return OptionFileFault::Kind::kConnectionUnsafe;
    }
  }
  return std::nullopt;
}

bool isPathSetting(const std::string& written) {
  std::string name = normalName(written);
  if (startsWith(name, "loose-")) name = name.substr(6);
  return std::find(std::begin(kPathSettings), std::end(kPathSettings), name) !=
         std::end(kPathSettings);
}

class OptionFileReader {
 public:
  // Reads path, which an include at includedFrom names (line 0: one of the
  // library's own files). False once a fault is found.
  bool readFile(const std::string& path, int depth,
                const OptionSource& includedFrom) {
    const OptionSource where =
        includedFrom.file.empty() ? OptionSource{path, 0} : includedFrom;
    // The library hands a path with "://" to a plugin that fetches
    // addresses, and without one crashes.
    if (path.find("://") != std::string::npos) {
      return fail(where, OptionFileFault::Kind::kUrlPath, path);
    }
    // The library skips a file that is missing or that it may not read.
    const PathKind kind = pathKind(path);
    if (kind == PathKind::kMissing) return true;
    if (kind == PathKind::kFolder) {
      return fail(where, OptionFileFault::Kind::kNotAFile, path);
    }
    std::string text;
    const BoundedRead read = readFileUpTo(path, kLargestOptionFile, text);
    if (read == BoundedRead::kCannotOpen) return true;
    if (read == BoundedRead::kNotAFile) {
      return fail(where, OptionFileFault::Kind::kNotAFile, path);
    }
    if (depth > kDeepestInclude) {
      return fail(where, OptionFileFault::Kind::kIncludesTooDeep, path);
    }
    if (++filesRead_ > kMostOptionFiles) {
      return fail(where, OptionFileFault::Kind::kTooManyFiles, path);
    }
    const std::string self = canonicalPath(path);
    if (std::find(reading_.begin(), reading_.end(), self) != reading_.end()) {
      return fail(where, OptionFileFault::Kind::kIncludeLoop, path);
    }
    if (read == BoundedRead::kTooLarge) {
      return fail(where, OptionFileFault::Kind::kTooLarge, path);
    }
    reading_.push_back(self);
    const bool taken = readText(path, text, depth);
    reading_.pop_back();
    return taken;
  }

  // The settings read, with what follows from them all.
  ClientOptionSettings settings() const {
    ClientOptionSettings read = settings_;
    read.trustNamed = read.value("ssl-ca") != nullptr ||
                      read.value("ssl-capath") != nullptr;
    const bool anyFile = read.trustNamed || read.value("ssl-cert") != nullptr ||
                         read.value("ssl-key") != nullptr || cipherNamed_;
    read.tls = ssl_ || anyFile || read.verifyServerCert;
    return read;
  }

 private:
  bool fail(const OptionSource& where, OptionFileFault::Kind kind,
            const std::string& detail) {
    settings_.fault = OptionFileFault{where, kind, detail};
    return false;
  }

  bool readText(const std::string& path, const std::string& text, int depth) {
    // Notepad's encodings that the library reads as other characters: its
    // first group would be a line of no setting, and UTF-16 is NUL bytes
    // between letters.
    switch (textStartOf(text.substr(0, kUtf8MarkLength))) {
      case TextStart::kUtf8Mark:
        return fail({path, 0}, OptionFileFault::Kind::kByteOrderMark, "");
      case TextStart::kUtf16:
        return fail({path, 0}, OptionFileFault::Kind::kUtf16, "");
      case TextStart::kPlain:
        break;
    }
    bool inGroup = false;
    bool inReadGroup = false;
    bool inOwnGroup = false;
    size_t begin = 0;
    for (int number = 1; begin < text.size(); ++number) {
      size_t end = text.find('\n', begin);
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(begin, end - begin);
      begin = end + 1;
      const OptionSource here{path, number};
      // A line end may be CR LF; the library takes the CR for a blank.
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.find('\0') != std::string::npos) {
        return fail(here, OptionFileFault::Kind::kNulByte, "");
      }
      if (line.find('\r') != std::string::npos) {
        return fail(here, OptionFileFault::Kind::kLoneCarriageReturn, "");
      }
      if (line.size() > kLongestOptionLine) {
        return fail(here, OptionFileFault::Kind::kLineTooLong, "");
      }
      size_t first = 0;
      while (first < line.size() && isBlank(line[first])) ++first;
      const std::string content = line.substr(first);
      if (content.empty() || content[0] == '#' || content[0] == ';') continue;
      if (content[0] == '"' || content[0] == '\'') {
        return fail(here, OptionFileFault::Kind::kStartsWithQuote, "");
      }
      if (content[0] == '!') {
        if (!include(here, content.substr(1), depth)) return false;
        continue;
      }
      if (content[0] == '[') {
        const size_t close = content.find(']');
        // As the library reads it: blanks after the name are dropped,
        // blanks before it are not.
        const std::string group =
            close == std::string::npos ? "" : trimEnd(content.substr(1, close - 1));
        if (group.empty()) {
          return fail(here, OptionFileFault::Kind::kGroupNotClosed, content);
        }
        inGroup = true;
        inOwnGroup = group == kOptionGroup;
        inReadGroup = std::any_of(std::begin(kGroupsRead), std::end(kGroupsRead),
                                  [&](const char* read) { return group == read; });
        continue;
      }
      const size_t equals = content.find('=');
      const std::string name = trim(content.substr(0, equals));
      if (!isOptionName(name)) {
        return fail(here, OptionFileFault::Kind::kNoOptionName, name);
      }
      if (!inGroup) {
        return fail(here, OptionFileFault::Kind::kOptionBeforeGroup, name);
      }
      if (!inReadGroup) continue;
      // The value with its blanks trimmed, as written.
      const bool hasValue = equals != std::string::npos;
      const std::string value =
          hasValue ? trim(content.substr(equals + 1)) : "";
      const auto crashes = crashingSetting(name, hasValue, value);
      if (crashes) return fail(here, *crashes, name);
      if (isPathSetting(name) && !controlCharacterEscape(value).empty()) {
        return fail(here, OptionFileFault::Kind::kEscapedControlCharacter,
                    name + "=" + value);
      }
      option(here, name, hasValue, unquoted(value), inOwnGroup);
    }
    return true;
  }

  // "!include FILE" or "!includedir FOLDER", after the "!": the library
  // takes the word up to the first blank, and the rest of the line, less
  // the blanks at its end, for the path.
  bool include(const OptionSource& here, const std::string& directive,
               int depth) {
    const size_t space = directive.find(' ');
    const std::string word =
        space == std::string::npos ? trimEnd(directive) : directive.substr(0, space);
    const std::string path =
        space == std::string::npos ? "" : trimEnd(directive.substr(space + 1));
    if (word != "include" && word != "includedir") {
      return fail(here, OptionFileFault::Kind::kUnknownDirective, "!" + word);
    }
    if (path.empty()) {
      // The library would read all of its own files again, at every depth.
      return fail(here, OptionFileFault::Kind::kIncludeNamesNothing, "!" + word);
    }
    if (word == "include") return readFile(path, depth + 1, here);
    // An included folder contributes its my.cnf only (and my.ini first, on
    // Windows).
    for (const std::string& file : includedFolderFiles(path)) {
      if (!readFile(file, depth + 1, here)) return false;
    }
    return true;
  }

  void option(const OptionSource& here, const std::string& written,
              bool hasValue, const std::string& value, bool ownGroup) {
    std::string name = normalName(written);
    if (startsWith(name, "loose-")) name = name.substr(6);
    settings_.names.insert(name);
    if (std::find(std::begin(kExplainingSettings), std::end(kExplainingSettings),
                  name) != std::end(kExplainingSettings)) {
      if (value.empty()) {
        settings_.values.erase(name);
      } else {
        settings_.values[name] = OptionValue{value, here};
      }
    }
    if (name == "ssl" || name == "enable-ssl" || name == "ssl-enforce") {
      ssl_ = isTrue(value, hasValue);
    } else if (name == "skip-ssl" || name == "disable-ssl") {
      ssl_ = !isTrue(value, hasValue);
    } else if (name == "ssl-verify-server-cert") {
      settings_.verifyServerCert = isTrue(value, hasValue);
    } else if (name == "ssl-cipher") {
      cipherNamed_ = !value.empty();
    } else if (name == "database") {
      settings_.namesDatabase = !value.empty();
    } else if (ownGroup && name == "single-connection") {
      settings_.singleConnection = isTrue(value, hasValue);
    } else if (ownGroup && name == "skip-single-connection") {
      settings_.singleConnection = !isTrue(value, hasValue);
    }
  }

  ClientOptionSettings settings_;
  bool ssl_ = false;
  bool cipherNamed_ = false;
  int filesRead_ = 0;
  // The files being read, the outermost first.
  std::vector<std::string> reading_;
};

}  // namespace

std::string controlCharacterEscape(const std::string& value) {
  for (size_t i = 0; i + 1 < value.size(); ++i) {
    if (value[i] != '\\') continue;
    const char next = value[i + 1];
    if (next == 'n' || next == 't' || next == 'r' || next == 'b') {
      return value.substr(i, 2);
    }
    ++i;  // "\\" is one backslash; what follows it starts afresh
  }
  return "";
}

const OptionValue* ClientOptionSettings::value(const std::string& name) const {
  const auto found = values.find(name);
  return found == values.end() ? nullptr : &found->second;
}

bool libraryMustReadOptionFiles(const ClientOptionSettings& settings, bool tcp,
                                bool socketGiven, bool portGiven) {
  for (const std::string& name : settings.names) {
    const bool decidedElsewhere =
        name == "host" || name == "user" || name == "password" ||
        name == "database" || name == "ssl" || name == "enable-ssl" ||
        name == "skip-ssl" || name == "disable-ssl" || name == "ssl-enforce" ||
        name == "ssl-verify-server-cert" || name == "single-connection" ||
        name == "skip-single-connection" ||
        (name == "socket" && (tcp || socketGiven)) ||
        (name == "port" && (!tcp || portGiven));
    if (!decidedElsewhere) return true;
  }
  return false;
}

ClientOptionSettings readClientOptionSettings(
    const std::vector<std::string>& files) {
  OptionFileReader reader;
  for (const std::string& file : files) {
    if (!reader.readFile(file, 0, {})) break;
  }
  return reader.settings();
}

const ClientOptionSettings& clientOptionSettings() {
  static const ClientOptionSettings settings =
      readClientOptionSettings(clientOptionFiles());
  return settings;
}
