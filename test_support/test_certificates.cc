#include "test_support/test_certificates.h"

#include <cstdlib>
#include <stdexcept>

namespace {

void openssl(const std::string& arguments, const ScopedTempDir& dir) {
  const std::string command =
      "cd '" + dir.path() + "' && openssl " + arguments + " >>openssl.log 2>&1";
  if (std::system(command.c_str()) != 0) {
    throw std::runtime_error("openssl failed: " +
                             readWholeFile(dir.file("openssl.log")));
  }
}

}  // namespace

TestCertificates makeTestCertificates(const ScopedTempDir& dir) {
  openssl(
      "req -x509 -newkey rsa:2048 -nodes -days 2 -subj '/CN=Test CA' "
      "-keyout ca.key -out ca.pem",
      dir);
  openssl(
      "req -newkey rsa:2048 -nodes -subj '/CN=127.0.0.1' "
      "-keyout server.key -out server.csr",
      dir);
  dir.write("names.cnf", "subjectAltName=IP:127.0.0.1,DNS:localhost\n");
  openssl(
      "x509 -req -days 2 -in server.csr -CA ca.pem -CAkey ca.key "
      "-CAcreateserial -extfile names.cnf -out server.pem",
      dir);
  openssl(
      "req -x509 -newkey rsa:2048 -nodes -days 2 -subj '/CN=Other CA' "
      "-keyout other.key -out other.pem",
      dir);
  openssl(
      "req -newkey rsa:2048 -nodes -subj '/CN=db.example.test' "
      "-keyout named.key -out named.csr",
      dir);
  dir.write("named.cnf", "subjectAltName=DNS:db.example.test\n");
  openssl(
      "x509 -req -days 2 -in named.csr -CA ca.pem -CAkey ca.key "
      "-CAcreateserial -extfile named.cnf -out named.pem",
      dir);
  return {dir.file("ca.pem"),    dir.file("server.pem"), dir.file("server.key"),
          dir.file("other.pem"), dir.file("named.pem"),  dir.file("named.key")};
}
