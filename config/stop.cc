#include "config/stop.h"

#include "config/exit_status.h"

Stop configurationStop(ConfigurationStatus status) {
  if (status == ConfigurationStatus::kNotFound) {
    return {kExitConfigurationNotFound,
            "Fatal:  Configuration file not found!\n"};
  }
  return {kExitConfigurationInvalid,
          "Fatal:  Configuration file is invalid!\n"};
}

Stop serverUnreachableStop(const std::string& host, const std::string& error,
                           ConnectFailure failure, RunConnections need) {
  std::string text = "Fatal:  Cannot connect to the MySQL server on host '" +
                     host + "': " + error + "\n";
  switch (failure) {
    case ConnectFailure::kNoFreeLocalPort:
      text +=
          "        No local port is free for a new connection: other programs "
          "on this\n"
          "        machine have used them all up in the last minute. Wait a "
          "minute and run\n"
          "        again, or reach a server on this machine through its socket "
          "(host localhost).\n";
      break;
    case ConnectFailure::kHourlyLimit: {
      if (need.hexes < 0) break;
      const std::string most = std::to_string(need.hexes + need.checks);
      text +=
          "        The account's connections for this hour are used up. A "
          "run of this map\n"
          "        opens up to " +
          most + " connections: one for each of its " +
          std::to_string(need.hexes) + " hexes and up to " +
          std::to_string(need.checks) +
          "\n"
          "        for its checks. Ask for a plan that allows " +
          most +
          " connections an hour\n"
          "        for each run within the hour.\n";
      break;
    }
    case ConnectFailure::kTlsStep:
      text +=
          "        The connection failed in its TLS step: check ssl-ca and the "
          "server's\n"
          "        certificate, and that the server offers TLS.\n";
      break;
    case ConnectFailure::kRefusedWithoutTls:
      text +=
          "        The server may require TLS: add ssl and ssl-ca=FILE under "
          "[zelkor-generator] in ~/.my.cnf.\n";
      break;
    default:
      break;
  }
  return {kExitServerUnreachable, text};
}
