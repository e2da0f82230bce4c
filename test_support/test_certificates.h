// TLS certificates for a test's own server, made with openssl in a scratch
// folder: a certificate authority, a server certificate it signed for
// 127.0.0.1 and localhost, one it signed for db.example.test only, and a
// second authority that signed nothing.
#ifndef ZELKOR_TEST_SUPPORT_TEST_CERTIFICATES_H_
#define ZELKOR_TEST_SUPPORT_TEST_CERTIFICATES_H_

#include <string>

#include "test_support/temp_dir.h"

struct TestCertificates {
  std::string authority;  // the CA's certificate (PEM)
  std::string serverCertificate;
  std::string serverKey;
  std::string otherAuthority;  // a CA that did not sign the server's
  // Signed by authority for the name db.example.test only.
  std::string namedCertificate;
  std::string namedKey;
};

// Makes the files in dir; throws when openssl fails.
TestCertificates makeTestCertificates(const ScopedTempDir& dir);

#endif  // ZELKOR_TEST_SUPPORT_TEST_CERTIFICATES_H_
