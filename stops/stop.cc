#include "stops/stop.h"

#include <cstring>

#include "config/exit_status.h"
#include "config/option_files.h"

namespace {

constexpr size_t kWidth = 80;
constexpr char kIndent[] = "        ";
// The line a TLS setting is mended with.
std::string tlsSettingsAdvice() {
  return std::string("add ssl and ssl-ca=FILE under [zelkor-generator] in ") +
         userOptionFileWords() + ".";
}

std::string where(const OptionSource& source) {
  return source.file + " (line " + std::to_string(source.line) + ")";
}

std::string setting(const std::string& name, const OptionValue& value) {
  return name + "=" + value.value + " in " + where(value.source);
}

// For "name=value" whose value a backslash escape turns into a control
// character: which escape, and the two ways to write the path.
std::string escapedPathWords(const std::string& setting) {
  const std::string value = setting.substr(setting.find('=') + 1);
  const std::string escape = controlCharacterEscape(value);
  std::string slashes;
  std::string doubled;
  for (char c : value) {
    slashes += c == '\\' ? '/' : c;
    doubled += c == '\\' ? std::string("\\\\") : std::string(1, c);
  }
  const char* made = escape == "\\n"   ? "a line end"
                     : escape == "\\t" ? "a tab"
                     : escape == "\\r" ? "a carriage return"
                                       : "a backspace";
  return "in which the client library reads " + escape + " as " + made +
         " (a backslash starts an escape in an option file): write " + slashes +
         " or " + doubled;
}

std::string optionFileFaultText(const OptionFileFault& fault) {
  using Kind = OptionFileFault::Kind;
  const std::string& file = fault.where.file;
  std::string what;
  switch (fault.kind) {
    case Kind::kNotAFile:
      what = fault.where.line == 0
                 ? " is a folder, a pipe or a device, not a file"
                 : " includes " + fault.detail +
                       ", which is a folder, a pipe or a device, not a file";
      break;
    case Kind::kTooLarge:
      what = (fault.where.line == 0 ? " is" : " includes " + fault.detail +
                                                  ", which is") +
             std::string(" larger than ") +
             std::to_string(kLargestOptionFile >> 20) +
             " MiB: no option file is";
      break;
    case Kind::kUrlPath:
      what = (fault.where.line == 0 ? " has" : " includes " + fault.detail +
                                                   ", which has") +
             std::string(" \"://\" in its path: the client library would take "
                         "it for an address to fetch");
      break;
    case Kind::kNulByte:
      what = " holds a NUL byte";
      break;
    case Kind::kLoneCarriageReturn:
      what = " holds a carriage return inside a line (save the file with "
             "Unix or Windows line ends)";
      break;
    case Kind::kLineTooLong:
      what = " is longer than " + std::to_string(kLongestOptionLine) +
             " characters";
      break;
    case Kind::kIncludeNamesNothing:
      what = " has " + fault.detail + " with no " +
             (fault.detail == "!includedir" ? "folder" : "file") +
             " after it";
      break;
    case Kind::kUnknownDirective:
      what = " has '" + fault.detail +
             "', which is no directive (only !include and !includedir are)";
      break;
    case Kind::kIncludeLoop:
      what = " includes " + fault.detail +
             ", which is already being read: the files include each other";
      break;
    case Kind::kIncludesTooDeep:
      what = " includes " + fault.detail + " more than " +
             std::to_string(kDeepestInclude) + " includes deep";
      break;
    case Kind::kTooManyFiles:
      what = " includes " + fault.detail + ", more than " +
             std::to_string(kMostOptionFiles) + " option files in all";
      break;
    case Kind::kGroupNotClosed:
      what = " has a group without a name or without its closing ']': " +
             fault.detail;
      break;
    case Kind::kOptionBeforeGroup:
      what = " has the setting '" + fault.detail + "' before any [group]";
      break;
    case Kind::kNoOptionName:
      what = fault.detail.empty()
                 ? " has a setting without a name"
                 : " has '" + fault.detail + "', which is no setting's name";
      break;
    case Kind::kStartsWithQuote:
      what = " begins with a quote";
      break;
    case Kind::kDisableLocalInfile:
      what = " has '" + fault.detail +
             "', which the client library crashes on: write local-infile=0, "
             "which says the same";
      break;
    case Kind::kInitCommandEmpty:
      what = " has '" + fault.detail +
             "' with no statement, which the client library crashes on";
      break;
    case Kind::kConnectionUnsafe:
      what = " has '" + fault.detail +
             "' with no value, or with init-command or disable-local-infile "
             "in it, which the client library crashes on: write the settings "
             "one per line";
      break;
    case Kind::kByteOrderMark:
      what = " begins with a byte order mark (Notepad's \"UTF-8 with BOM\"), "
             "which the client library does not read: save it as \"UTF-8\" "
             "or \"ANSI\"";
      break;
    case Kind::kUtf16:
      what = " is saved as UTF-16 (Notepad's \"Unicode\"), which the client "
             "library does not read: save it as \"UTF-8\" or \"ANSI\"";
      break;
    case Kind::kEscapedControlCharacter:
      what = " has " + fault.detail + ", " + escapedPathWords(fault.detail);
      break;
  }
  const std::string line =
      fault.where.line == 0 ? "" : ", line " + std::to_string(fault.where.line) + ",";
  return "Fatal:  The MySQL option file " + file + line + what + ".\n" +
         continuationLines(
             "The MySQL client library would not read it safely, so no "
             "connection was opened. Mend or remove that line (or file), "
             "then run again.");
}

std::string triedText(const ConnectTarget& tried) {
  std::string text =
      tried.tcp ? "Tried port " + std::to_string(tried.port) + " on " +
                      tried.host
                : "Tried the socket " + tried.socket;
  const std::string name = tried.tcp ? "port" : "socket";
  switch (tried.source) {
    case AddressSource::kConfigurationFile:
      return text + ", as config.txt names it.";
    case AddressSource::kEnvironment:
      return text + ", from the variable " + tried.variable + ".";
    case AddressSource::kOptionFile:
      return text + ", from " + name + "=" +
             (tried.tcp ? std::to_string(tried.port) : tried.socket) +
             " in " + where(tried.option) + ".";
    case AddressSource::kLibraryDefault:
      return text + ", the client library's default " + name + "." +
             (tried.tcp ? " Name the server's port in config.txt as HOST:PORT."
                        : " Name the server's socket in config.txt.");
  }
  return text + ".";
}

std::string tlsFileText(const TlsFileFault& fault) {
  using Kind = TlsFileFault::Kind;
  std::string what;
  switch (fault.kind) {
    case Kind::kMissing:
      what = fault.setting == "ssl-capath" ? "names no folder" : "names no file";
      break;
    case Kind::kUnreadable:
      what = "names a file that this run may not read";
      break;
    case Kind::kNoCertificate:
      what = "names a file that holds no certificate";
      break;
    case Kind::kNoKey:
      what = "names a file that holds no private key";
      break;
  }
  return setting(fault.setting, fault.value) + " " + what +
         ". Write the path of the right file there (for ssl-ca, the CA "
         "certificate that the server's provider gives), or remove the line.";
}

std::string joined(const std::vector<std::string>& names) {
  std::string text;
  for (size_t i = 0; i < names.size(); ++i) {
    text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
  }
  return text.empty() ? "no name" : text;
}

// The host word with its host part replaced by name, its port kept:
// "127.0.0.1:3307" becomes "db.example.org:3307".
std::string hostWordFor(const std::string& word, const std::string& name) {
  std::string port;
  if (!word.empty() && word[0] == '[') {
    const size_t close = word.find("]:");
    if (close != std::string::npos) port = word.substr(close + 1);
  } else if (word.find(':') == word.rfind(':')) {
    const size_t colon = word.find(':');
    if (colon != std::string::npos) port = word.substr(colon);
  }
  return name + port;
}

std::string certificateText(const ConnectProblem& problem) {
  const ServerCertificate& certificate = *problem.certificate;
  const std::string names = joined(certificate.names);
  if (!certificate.trusted) {
    const std::string trusted =
        problem.trust ? "an authority in " +
                            setting(problem.trustSetting, *problem.trust)
                      : "an authority that ssl-ca names (none is named)";
    return "The server's certificate, made out for " + names +
           ", is not signed by " + trusted +
           ". Name the CA certificate file that the server's provider gives "
           "in ssl-ca.";
  }
  if (!certificate.nameMatches && !certificate.names.empty()) {
    return "The server's certificate is made out for " + names + ", not for " +
           problem.host + " as config.txt names the server. Write " +
           hostWordFor(problem.host, certificate.names.front()) +
           " as the host in config.txt.";
  }
  return "";
}

std::string tlsStepText(const ConnectProblem& problem) {
  if (problem.tlsFile) return tlsFileText(*problem.tlsFile);
  if (problem.certificate) {
    const std::string text = certificateText(problem);
    if (!text.empty()) return text;
  }
  if (problem.serverOffersTls && !*problem.serverOffersTls) {
    return "The server offers no TLS: ask its provider to turn TLS on, or "
           "remove ssl-verify-server-cert from the option files to connect "
           "without it.";
  }
  return "The connection failed in its TLS step: check ssl-ca and the "
         "server's certificate, and that the server offers TLS.";
}

std::string hourlyLimitText(const ConnectProblem& problem,
                            const RunConnections& need) {
  if (!need.perStatement) {
    // With single-connection a run needs a connection, and one more after
    // each it loses: the hour's allowance is simply spent.
    const std::string limit =
        problem.hourlyLimit > 0
            ? "The account may open " + std::to_string(problem.hourlyLimit) +
                  " connections an hour, and this hour's are used up."
            : "The account's connections for this hour are used up.";
    return limit +
           " A run with single-connection opens one connection (and one more "
           "after each it loses): other programs on the account have used the "
           "rest. Run again in the next hour.";
  }
  const long most = need.hexes + need.checks;
  const std::string run =
      "A run of this map opens up to " + std::to_string(most) +
      " connections: one for each of its " + std::to_string(need.hexes) +
      " hexes and up to " + std::to_string(need.checks) + " for its checks";
  const std::string plan = "a plan that allows " + std::to_string(most) +
                           " connections an hour for each run within the hour.";
  if (problem.hourlyLimit <= 0) {
    return "The account's connections for this hour are used up. " + run +
           ". Ask for " + plan;
  }
  const long runs = most > 0 ? problem.hourlyLimit / most : 0;
  const std::string fit =
      runs == 0 ? "not even one run fits in an hour"
                : (runs == 1 ? "one run fits" : std::to_string(runs) + " runs fit") +
                      " in an hour";
  return "The account may open " + std::to_string(problem.hourlyLimit) +
         " connections an hour, and this hour's are used up. " + run + ", so " +
         fit + ". " +
         (runs == 0 ? "Ask for " : "Run again in the next hour, or ask for ") +
         plan;
}

// The way that needs a handful of connections a run.
std::string oneConnectionAdvice() {
  return std::string(" Or put single-connection under [zelkor-generator] in ") +
         userOptionFileWords() + ": a run then needs a handful of connections.";
}

std::string hostWordText(const std::string& word, const HostWordFault& fault) {
  if (fault.kind == HostWordFault::Kind::kUrl) {
    return "Unreadable host '" + word +
           "': that is a web address; write the MySQL server's name or "
           "address alone, with its port after a colon: " +
           fault.hostWord;
  }
  if (fault.kind == HostWordFault::Kind::kIpv6Brackets) {
    return "Unreadable host '" + word +
           "': write an IPv6 address as [address] or [address]:port";
  }
  return "Unreadable port in host '" + word +
         "': give a number from 1 to 65535 after the colon";
}

std::string refusedLoginText(const ConnectProblem& problem) {
  if (problem.errorNumber == kErrorSecureTransportRequired) {
    return "The server requires TLS: " + tlsSettingsAdvice();
  }
  return std::string(
             "The server refused the login: check the user and password in "
             "config.txt. If they are right, the account may require TLS: ") +
         tlsSettingsAdvice();
}

}  // namespace

std::string continuationLines(const std::string& text) {
  std::string lines;
  std::string line;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find(' ', at);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(at, end - at);
    at = end + 1;
    if (word.empty()) continue;
    if (!line.empty() &&
        std::string(kIndent).size() + line.size() + 1 + word.size() > kWidth) {
      lines += kIndent + line + "\n";
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
  }
  if (!line.empty()) lines += kIndent + line + "\n";
  return lines;
}

Stop configurationStop(const ConfigurationFault& fault) {
  using Why = ConfigurationFault::Why;
  const std::string file = kConfigurationFileName;
  if (fault.kind == ConfigurationFault::Kind::kNotFound) {
    std::string why;
    switch (fault.why) {
      case Why::kNotReadable:
        why = file + " in " + fault.folder +
              " is there, but this run may not read it: let the account "
              "that runs the tool read it.";
        break;
      case Why::kNotAFile:
        why = file + " in " + fault.folder +
              " is a folder or a device, not a file. Write the settings in a "
              "file of that name.";
        break;
      default:
        why = "No " + file + " in " + fault.folder +
              ", the folder the tool was started in. Start it in the folder "
              "that holds " +
              file +
              " (for a shortcut or a scheduled task, its \"Start in\" "
              "folder).";
        if (fault.nameDoubled) {
          why += " A " + file +
                 ".txt lies there: Windows hides the ending .txt, so it was "
                 "typed twice. Rename that file to " +
                 file + ".";
        }
        break;
    }
    return {kExitConfigurationNotFound,
            "Fatal:  Configuration file not found!\n" + continuationLines(why)};
  }
  std::string why;
  switch (fault.why) {
    case Why::kUtf16:
      why = file +
            " is saved as UTF-16 (Notepad's \"Unicode\"), which the tool "
            "does not read: save it as UTF-8 or ANSI (in Notepad: Save As, "
            "Encoding).";
      break;
    case Why::kNothingAfterFifthWord:
      why = file +
            " ends right after its fifth word: press Enter after the last "
            "line, then save it.";
      break;
    case Why::kNulByte:
      why = "A word of " + file +
            " holds a NUL byte: write the file again as plain text.";
      break;
    default:
      why = file + " holds " + std::to_string(fault.words) +
            (fault.words == 1 ? " word" : " words") +
            " and needs five, apart by blanks or line ends: the game "
            "database's path, the MySQL host, user and password (& for "
            "none), and the webmap database's name.";
      break;
  }
  return {kExitConfigurationInvalid,
          "Fatal:  Configuration file is invalid!\n" + continuationLines(why)};
}

Stop serverUnreachableStop(const ConnectProblem& problem, RunConnections need) {
  if (problem.failure == ConnectFailure::kOptionFile && problem.optionFile) {
    return {kExitServerUnreachable, optionFileFaultText(*problem.optionFile)};
  }
  std::string text = "Fatal:  Cannot connect to the MySQL server on host '" +
                     problem.host + "': " +
                     (problem.hostWord ? hostWordText(problem.host,
                                                      *problem.hostWord)
                                       : problem.error) +
                     "\n";
  switch (problem.failure) {
    case ConnectFailure::kNoFreeLocalPort:
      text +=
          "        No local port is free for a new connection: other programs "
          "on this\n"
          "        machine have used them all up in the last minute. Wait a "
          "minute and run\n"
          "        again, or reach a server on this machine through its socket "
          "(host localhost).\n";
      break;
    case ConnectFailure::kHourlyLimit:
      if (need.hexes >= 0) {
        text += continuationLines(
            hourlyLimitText(problem, need) +
            (need.perStatement ? oneConnectionAdvice() : ""));
      }
      break;
    case ConnectFailure::kTlsStep:
      text += continuationLines(tlsStepText(problem));
      break;
    case ConnectFailure::kRefusedWithoutTls:
      text += continuationLines(refusedLoginText(problem));
      break;
    case ConnectFailure::kFinal:
      if (problem.errorNumber == kErrorAccessDenied) {
        text += continuationLines(
            "The server refused the login: check the user and password in "
            "config.txt.");
      }
      break;
    default:
      break;
  }
  if (problem.noGreeting && problem.tried) {
    text += continuationLines(
        "Port " + std::to_string(problem.tried->port) + " on " +
        problem.tried->host +
        " took the connection, but no MySQL server greeted there: another "
        "kind of server (a web server?) listens on that port, or a firewall "
        "cut the connection. Name the MySQL server's own port in config.txt "
        "as HOST:PORT.");
  }
  if (problem.tried) text += continuationLines(triedText(*problem.tried));
  return {kExitServerUnreachable, text};
}

Stop pageNotWrittenStop(const FileReplaceFailure& failure) {
  std::string step;
  switch (failure.step) {
    case FileReplaceFailure::Step::kCreate:
      step = "cannot create a file beside";
      break;
    case FileReplaceFailure::Step::kWrite:
      step = "cannot write";
      break;
    case FileReplaceFailure::Step::kSetMode:
      step = "cannot set the mode of";
      break;
    case FileReplaceFailure::Step::kReplace:
      step = "cannot replace";
      break;
  }
  return {kExitPageNotWritten, "Fatal:  The map page was not written: " +
                                   step + " " + failure.file + ": " +
                                   std::strerror(failure.error) + "\n"};
}

Stop noWebmapStop(const std::string& database, const std::string& error,
                  const std::string& output) {
  return {kExitNoWebmap, "Fatal:  No webmap to draw in the database '" +
                             database + "': " + error +
                             "\n"
                             "        Run zelkor-generator first, or check the "
                             "database name in config.txt.\n"
                             "        " +
                             output + " was not written.\n"};
}
