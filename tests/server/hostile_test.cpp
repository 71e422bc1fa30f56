// Hostile submissions: each refused with the status that says why, none crashing the server or
// keeping it from answering others.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <random>

#include "server/server_support.h"

namespace server_test {
namespace {

class Hostile : public ServerTest<testing::Test> {
 protected:
  void SetUp() override { dir = fresh_temp_dir("hostile"); }
  void start(const std::vector<std::string>& extra) { start_on((dir / "scores.sqlite").string(), extra); }
  // The status and the error's text.
  std::pair<int, std::string> send(const std::string& bytes, const std::string& query = "") {
    auto r = post_game(*client, bytes, query);
    if (!r) return {-1, "no answer"};
    const json body = body_json(r);
    return {r->status, body.is_object() ? body.value("error", body.value("status", "")) : r->body};
  }
};

TEST_F(Hostile, WhatCanNeverBeVerifiedIsRefusedAtTheDoor) {
  start({"--rate", "0", "--workers", "1"});
  const std::string lost = recording("lost_round");

  std::string edited = lost;
  edited[edited.size() / 2] ^= 0x10;
  auto [status, why] = send(edited);
  EXPECT_EQ(status, 400);
  EXPECT_EQ(why.rfind("not a recording: ", 0), 0u) << why;

  // Same length, so only the version differs.
  std::string other = lost;
  const std::string version = "torvane " TORVANE_VERSION;
  const std::size_t at = other.find(version);
  ASSERT_NE(at, std::string::npos);
  other[at + version.size() - 1] = other[at + version.size() - 1] == '9' ? '8' : '9';
  std::tie(status, why) = send(with_sums_fixed(other));
  EXPECT_EQ(status, 422);
  EXPECT_EQ(why.rfind("recorded by torvane ", 0), 0u) << why;

  std::tie(status, why) = send(lost.substr(0, lost.size() * 2 / 3));
  EXPECT_EQ(status, 422);
  EXPECT_EQ(why, "the recording is cut short (no end record)");

  std::tie(status, why) = send(runner_menus(7000));
  EXPECT_EQ(status, 422);
  EXPECT_EQ(why, "made by the headless runner, not played");

  std::tie(status, why) = send(std::string(10 << 20, 'x'));
  EXPECT_EQ(status, 413);

  for (const char* name : {"%3Cb%3Ex%3C%2Fb%3E", "a%20b", "", "ABCDEFGHIJKLMNOPQ"}) {
    std::tie(status, why) = send(lost, std::string("?name=") + name);
    EXPECT_EQ(status, 400) << name;
    EXPECT_EQ(why, "a name is 1 to 16 letters and digits");
  }
  std::tie(status, why) = send(lost, "?ticket=../../etc");
  EXPECT_EQ(status, 400);

  // Junk of every length, some of it looking like a recording's start.
  std::mt19937 random(31);
  int refused = 0;
  for (int i = 0; i < 1000; ++i) {
    std::string junk(random() % 2048, '\0');
    for (char& c : junk) c = static_cast<char>(random());
    if (i % 2) junk.insert(0, std::string("TVREPLAY\x02\x00", 10));
    if (send(junk).first == 400) ++refused;
  }
  EXPECT_EQ(refused, 1000);
  const auto metrics = client->Get("/metrics");
  ASSERT_TRUE(metrics) << "the server still answers";
  EXPECT_NE(metrics->body.find("torvane_queue_length 0\n"), std::string::npos) << metrics->body;
}

TEST_F(Hostile, ASlowClientIsCutOffWhileOthersAreServed) {
  start({"--read-timeout", "1"});
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(static_cast<std::uint16_t>(server->port()));
  to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to), 0);
  const std::string start = "POST /api/v1/games HTTP/1.1\r\nHost: x\r\nContent-Length: 1000\r\n\r\nTVRE";
  ASSERT_EQ(::send(fd, start.data(), start.size(), 0), static_cast<ssize_t>(start.size()));
  // Meanwhile the server answers others.
  EXPECT_EQ(get(*client, "/healthz").status, 200);
  // The rest of the body never comes: the server hangs up (after an answer or without one).
  const timeval patience{60, 0};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
  char buffer[4096];
  ssize_t n;
  std::string answer;
  while ((n = ::recv(fd, buffer, sizeof buffer, 0)) > 0) answer.append(buffer, static_cast<std::size_t>(n));
  EXPECT_EQ(n, 0) << "the connection is closed by the server";
  EXPECT_EQ(answer.find("202 Accepted"), std::string::npos) << answer;
  ::close(fd);
  EXPECT_EQ(get(*client, "/healthz").status, 200);
}

// A second server started on a port in use fails, instead of quietly sharing the port and
// answering half the requests from a database of its own.
TEST_F(Hostile, ASecondServerCannotTakeAPortInUse) {
  start({});
  ServerProcess second((dir / "other.sqlite").string(), dir, {"--listen", "127.0.0.1:" + std::to_string(server->port())});
  EXPECT_EQ(second.port(), 0);
  EXPECT_EQ(second.stop(SIGKILL), 2) << "it ended by itself";
  EXPECT_NE(second.log().find("cannot listen on 127.0.0.1:"), std::string::npos) << second.log();
}

TEST_F(Hostile, AFloodFromOneAddressIsSlowedAndAFullQueueTurnsGamesAway) {
  start({"--rate", "60", "--burst", "5", "--max-queue", "1", "--workers", "1"});
  ASSERT_EQ(send(recording("lost_round")).first, 202);
  ASSERT_TRUE(wait_for([&] { return !server->verifiers().empty(); }));
  ASSERT_EQ(send(recording("round_keys")).first, 202);
  auto r = post_game(*client, recording("menus"));
  ASSERT_TRUE(r);
  EXPECT_EQ(r->status, 503);
  EXPECT_EQ(r->get_header_value("Retry-After"), "30");
  int limited = 0;
  for (int i = 0; i < 20; ++i) {
    r = i % 2 ? client->Post("/api/v1/tickets", "", "text/plain") : post_game(*client, "junk");
    ASSERT_TRUE(r);
    if (r->status == 429) {
      ++limited;
      EXPECT_GE(std::stoi(r->get_header_value("Retry-After")), 1);
    } else {
      EXPECT_EQ(r->status, i % 2 ? 201 : 400);
    }
  }
  // Five a burst, three of them taken above; a token a second comes back meanwhile.
  EXPECT_GE(limited, 15);
  EXPECT_LE(limited, 18);
  EXPECT_EQ(get(*client, "/api/v1/table").status, 200);
}

}  // namespace
}  // namespace server_test
