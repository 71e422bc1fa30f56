// HTTPS before a plain server, for the client's TLS test.
#include "server/tls_front.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <initializer_list>
#include <string>
#include <string_view>

namespace server_test {
namespace {

// Runs a command made of the parts, quietly (joined so, GCC 12 sees no false overlap).
bool run_quietly(std::initializer_list<std::string_view> parts) {
  std::string command;
  for (std::string_view part : parts) command.append(part);
  command.append(" >/dev/null 2>&1");
  return std::system(command.c_str()) == 0;
}

bool make_certificates(const std::filesystem::path& folder) {
  std::string d = "'";
  d.append(folder.string()).append("'");
  return run_quietly({"openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=torvane-test-ca -keyout ", d,
                      "/ca.key -out ", d, "/ca.pem"}) &&
         run_quietly({"openssl req -newkey rsa:2048 -nodes -subj /CN=127.0.0.1 -keyout ", d, "/front.key -out ", d,
                      "/front.csr"}) &&
         run_quietly({"printf 'subjectAltName=IP:127.0.0.1\\n' > ", d, "/san.ext && openssl x509 -req -in ", d,
                      "/front.csr -CA ", d, "/ca.pem -CAkey ", d, "/ca.key -CAcreateserial -days 2 -extfile ", d,
                      "/san.ext -out ", d, "/front.pem"});
}

int connect_local(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<std::uint16_t>(port));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) return fd;
  if (fd >= 0) ::close(fd);
  return -1;
}

}  // namespace

TlsFront::TlsFront(const std::filesystem::path& folder, int backend_port) : folder_(folder), backend_port_(backend_port) {
  if (!make_certificates(folder)) return;
  SSL_CTX* context = SSL_CTX_new(TLS_server_method());
  if (!context || SSL_CTX_use_certificate_file(context, (folder / "front.pem").c_str(), SSL_FILETYPE_PEM) != 1 ||
      SSL_CTX_use_PrivateKey_file(context, (folder / "front.key").c_str(), SSL_FILETYPE_PEM) != 1) {
    SSL_CTX_free(context);
    return;
  }
  context_ = context;
  listener_ = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t n = sizeof a;
  if (bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(listener_, 16) != 0 ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &n) != 0)
    return;
  port_ = ntohs(a.sin_port);
  acceptor_ = std::thread([this] { serve(); });
}

TlsFront::~TlsFront() {
  stopping_ = true;
  if (listener_ >= 0) ::shutdown(listener_, SHUT_RDWR);
  if (acceptor_.joinable()) acceptor_.join();
  for (std::thread& t : connections_) t.join();
  if (listener_ >= 0) ::close(listener_);
  SSL_CTX_free(static_cast<SSL_CTX*>(context_));
}

void TlsFront::serve() {
  while (!stopping_) {
    pollfd p{listener_, POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    const int client = accept(listener_, nullptr, nullptr);
    if (client < 0) continue;
    connections_.emplace_back([this, client] { pass(client); });
  }
}

// One connection: TLS from the client, plain bytes to the backend, until either side ends.
void TlsFront::pass(int client) {
  SSL* tls = SSL_new(static_cast<SSL_CTX*>(context_));
  SSL_set_fd(tls, client);
  const int backend = SSL_accept(tls) == 1 ? connect_local(backend_port_) : -1;
  char buffer[16384];
  while (backend >= 0 && !stopping_) {
    pollfd p[2] = {{client, POLLIN, 0}, {backend, POLLIN, 0}};
    if (SSL_pending(tls) == 0 && poll(p, 2, 100) <= 0) continue;
    if (SSL_pending(tls) > 0 || (p[0].revents & (POLLIN | POLLHUP))) {
      const int n = SSL_read(tls, buffer, sizeof buffer);
      if (n <= 0 || send(backend, buffer, static_cast<std::size_t>(n), MSG_NOSIGNAL) != n) break;
    }
    if (p[1].revents & (POLLIN | POLLHUP)) {
      const ssize_t n = recv(backend, buffer, sizeof buffer, 0);
      if (n <= 0 || SSL_write(tls, buffer, static_cast<int>(n)) != n) break;
    }
  }
  if (backend >= 0) ::close(backend);
  SSL_shutdown(tls);
  SSL_free(tls);
  ::close(client);
}

}  // namespace server_test
