// The floor for the webmap upload: with the MariaDB C client and nothing
// else, create the maphex table in DATABASE, then COUNT times open a
// connection that selects DATABASE, send one maphex INSERT made as the
// tool's are (webmap/hex_upload.h), and close it. Prints the seconds taken.
//
// Usage: connect_loop DATABASE COUNT [HOST PORT [CA-FILE]]   (user root, no
// password; by default host localhost, whose socket comes from
// MYSQL_UNIX_PORT; with CA-FILE over TLS, trusting that authority)
#include <mysql.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "webmap/hex_upload.h"
#include "webmap/webmap_tables.h"

namespace {

// A map of count hexes in rows of 127, every hex with the same translated
// values but its place.
HexTable floorHexes(int count) {
  HexTable hexes = createHexTable(count);
  for (int i = 0; i < count; ++i) {
    hexes.x[i] = std::to_string(i % 127);
    hexes.y[i] = std::to_string(i / 127);
    hexes.politicalControl[i] = "3";
    hexes.terrain[i] = "4096";
    hexes.planet[i] = "0";
    hexes.starbase[i] = "0";
    hexes.economy[i] = "5";
    hexes.defenseValue[i] = "10";
  }
  return hexes;
}

MYSQL* connectTo(const char* host, unsigned port, const char* authority,
                 const char* database) {
  MYSQL* conn = mysql_init(nullptr);
  if (authority != nullptr) {
    const my_bool enforce = 1;
    mysql_optionsv(conn, MYSQL_OPT_SSL_ENFORCE, &enforce);
    mysql_optionsv(conn, MYSQL_OPT_SSL_CA, authority);
  }
  if (mysql_real_connect(conn, host, "root", "", database, port, nullptr, 0) ==
      nullptr) {
    std::fprintf(stderr, "connect: %s\n", mysql_error(conn));
    std::exit(1);
  }
  return conn;
}

void send(MYSQL* conn, const std::string& statement) {
  if (mysql_query(conn, statement.c_str()) != 0) {
    std::fprintf(stderr, "statement: %s\n", mysql_error(conn));
    std::exit(1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 5 && argc != 6) {
    std::fprintf(stderr, "usage: %s DATABASE COUNT [HOST PORT [CA-FILE]]\n",
                 argv[0]);
    return 2;
  }
  const char* database = argv[1];
  const int count = std::atoi(argv[2]);
  const char* host = argc >= 5 ? argv[3] : "localhost";
  const unsigned port = argc >= 5 ? std::atoi(argv[4]) : 0;
  const char* authority = argc == 6 ? argv[5] : nullptr;
  const HexTable hexes = floorHexes(count);
  MYSQL* setup = connectTo(host, port, authority, database);
  send(setup, createMapHexStatement());
  mysql_close(setup);
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < count; ++i) {
    MYSQL* conn = connectTo(host, port, authority, database);
    send(conn, hexInsertStatement(hexes, i));
    mysql_close(conn);
  }
  const std::chrono::duration<double> took =
      std::chrono::steady_clock::now() - start;
  std::printf("%.3f\n", took.count());
  return 0;
}
