#pragma once
// HTTPS before a plain server on 127.0.0.1, for the game's client to reach over TLS: each
// connection's bytes are passed both ways, decrypted. The certificate is made by `openssl`
// for 127.0.0.1, signed by a certificate authority of the test's own (ca.pem in the folder).
#include <atomic>
#include <filesystem>
#include <thread>
#include <vector>

namespace server_test {

class TlsFront {
 public:
  TlsFront(const std::filesystem::path& folder, int backend_port);
  ~TlsFront();
  int port() const { return port_; }
  // The authority that signed the front's certificate, for SSL_CERT_FILE.
  std::filesystem::path authority() const { return folder_ / "ca.pem"; }

 private:
  void serve();
  void pass(int client);

  std::filesystem::path folder_;
  int backend_port_ = 0;
  int listener_ = -1;
  int port_ = 0;
  void* context_ = nullptr;  // SSL_CTX
  std::atomic<bool> stopping_{false};
  std::thread acceptor_;
  std::vector<std::thread> connections_;
};

}  // namespace server_test
