// The floor for the webmap upload: with the MariaDB C client and nothing
// else, COUNT times open a connection that selects DATABASE, send one maphex
// INSERT like the tool's, and close it. Prints the seconds taken.
//
// Usage: connect_loop DATABASE COUNT [HOST PORT [CA-FILE]]   (user root, no
// password; by default host localhost, whose socket comes from
// MYSQL_UNIX_PORT; with CA-FILE over TLS, trusting that authority)
#include <mysql.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

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
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < count; ++i) {
    MYSQL* conn = mysql_init(nullptr);
    if (authority != nullptr) {
      const my_bool enforce = 1;
      mysql_optionsv(conn, MYSQL_OPT_SSL_ENFORCE, &enforce);
      mysql_optionsv(conn, MYSQL_OPT_SSL_CA, authority);
    }
    if (mysql_real_connect(conn, host, "root", "", database, port, nullptr,
                           0) == nullptr) {
      std::fprintf(stderr, "connect: %s\n", mysql_error(conn));
      return 1;
    }
    const std::string id = std::to_string(i);
    const std::string x = std::to_string(i % 127);
    const std::string y = std::to_string(i / 127);
    const std::string insert =
        "INSERT INTO maphex(ID, X, Y, PoliticalControl, TerrainType, "
        "PlanetType, StarbaseType, BaseEconomicPoints, CurrentEconomicPoints, "
        "BaseVictoryPoints, CurrentVictoryPoints, BaseSpeedPoints, "
        "CurrentSpeedPoints) VALUES( " +
        id + ", " + x + ", " + y + ", 3, 4096, 0, 0, 5, 5, 10, 10, 1 , 1 );";
    if (mysql_query(conn, insert.c_str()) != 0) {
      std::fprintf(stderr, "insert: %s\n", mysql_error(conn));
      return 1;
    }
    mysql_close(conn);
  }
  const std::chrono::duration<double> took =
      std::chrono::steady_clock::now() - start;
  std::printf("%.3f\n", took.count());
  return 0;
}
