// The score server's API, the same suite on SQLite and on PostgreSQL: a game sent is replayed
// and listed with what the replay proves, tickets rank a game once, and neither a killed
// verifier nor a killed server loses or doubles a game.
#include <set>

#include "server/server_support.h"

namespace server_test {
namespace {

class Api : public ServerTest<testing::TestWithParam<Backend>> {
 protected:
  void SetUp() override {
    if (GetParam() == Backend::Postgres) {
      ASSERT_EQ(PostgresCluster::get().error(), "");
    }
    std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
    for (char& c : name) c = c == '/' ? '_' : c;
    dir = fresh_temp_dir("api_" + name);
    db = fresh_db(GetParam(), dir);
  }
  void start(const std::vector<std::string>& extra = {}) { start_on(db, extra); }

  std::string db;
};

TEST_P(Api, AGameSentIsReplayedAndListedWithWhatTheReplayProves) {
  // The browser build is served beside the API, on the same origin.
  fs::create_directories(dir / "web");
  std::ofstream(dir / "web" / "index.html") << "<p>the game</p>";
  start({"--workers", "2", "--web", (dir / "web").string()});
  const std::string lost = recording("lost_round");
  auto r = post_game(*client, lost);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->status, 202) << r->body;
  const json queued = body_json(r);
  EXPECT_EQ(queued["status"], "queued");
  const long long id = queued["id"].get<long long>();
  // The same bytes again: the same game, not a second one.
  r = post_game(*client, lost);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->status, 200);
  EXPECT_EQ(body_json(r)["id"], id);

  const long long menus = body_json(post_game(*client, recording("menus")))["id"].get<long long>();
  const json game = wait_game(*client, id);
  EXPECT_EQ(game["status"], "verified") << game.dump();
  EXPECT_EQ(game["score"], 1205);
  EXPECT_EQ(game["name"], "LOST");
  EXPECT_NEAR(game["seconds"].get<double>(), 195.855, 0.01);
  EXPECT_EQ(game["ranked"], false);
  EXPECT_EQ(game["date"].get<std::string>().size(), 20u) << game["date"];
  const json refused = wait_game(*client, menus);
  EXPECT_EQ(refused["status"], "rejected");
  EXPECT_EQ(refused["reason"], "no round in the recording was played to its end");
  EXPECT_FALSE(refused.contains("score"));

  r = client->Get(("/api/v1/games/" + std::to_string(id) + "/recording").c_str());
  ASSERT_TRUE(r);
  EXPECT_TRUE(r->body == lost) << "the recording comes back as it was sent";
  r = client->Get("/api/v1/games/999999");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->status, 404);

  // Unranked: listed apart from the ranked table, which it does not enter.
  EXPECT_EQ(body_json(client->Get("/api/v1/table"))["entries"].size(), 0u);
  const json table = body_json(client->Get("/api/v1/table?ranked=no&period=month"));
  ASSERT_EQ(table["entries"].size(), 1u) << table.dump();
  EXPECT_EQ(table["entries"][0]["id"], id);
  EXPECT_EQ(table["entries"][0]["rank"], 1);
  EXPECT_EQ(body_json(client->Get("/api/v1/table?ranked=no&offset=1"))["entries"].size(), 0u);
  for (const char* bad : {"?limit=0", "?limit=101", "?offset=-1", "?period=week", "?limit=1x"}) {
    r = client->Get((std::string("/api/v1/table") + bad).c_str());
    ASSERT_TRUE(r);
    EXPECT_EQ(r->status, 400) << bad;
  }

  r = client->Get("/");
  ASSERT_TRUE(r);
  EXPECT_NE(r->body.find("<td>LOST</td><td>1205</td>"), std::string::npos) << r->body;
  EXPECT_NE(r->body.find("/api/v1/games/" + std::to_string(id) + "/recording"), std::string::npos);
  EXPECT_NE(r->body.find("<a href=\"/play/\">"), std::string::npos);
  EXPECT_NE(r->body.find("<a href=\"/play/?watch=" + std::to_string(id) + "\">watch</a>"), std::string::npos);
  EXPECT_EQ(get(*client, "/play/").body, "<p>the game</p>");
  r = client->Get("/metrics");
  ASSERT_TRUE(r);
  EXPECT_NE(r->body.find("torvane_games{status=\"verified\"} 1\n"), std::string::npos) << r->body;
  EXPECT_NE(r->body.find("torvane_games{status=\"rejected\"} 1\n"), std::string::npos);
  EXPECT_NE(r->body.find("torvane_queue_length 0\n"), std::string::npos);
  EXPECT_NE(r->body.find("torvane_verification_seconds_count 2\n"), std::string::npos);
  EXPECT_NE(r->body.find("\ntorvane_verification_cpu_seconds_total "), std::string::npos);
  r = client->Get("/healthz");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->status, 200);
}

// A ticket's game is ranked when it starts from the ticket's clock origin and the ticket is
// older than the game is long; a ticket goes to one game only.
TEST_P(Api, ATicketRanksOneGameFromItsOriginPlayedInRealTime) {
  const std::string& played = runner_lost_round(5001);
  const std::string& too_soon = runner_lost_round(5002);
  const std::string elsewhere = recording("lost_round");  // from clock origin 2000
  const std::string& late = runner_lost_round(5005, 30000);  // the round begins 33 s in
  start({"--accept-runner-recordings"});

  auto r = client->Post("/api/v1/tickets", "", "text/plain");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->status, 201);
  const json issued = body_json(r);
  EXPECT_EQ(issued["ticket"].get<std::string>().size(), 32u);
  EXPECT_GE(issued["origin"].get<long long>(), 1);
  EXPECT_LE(issued["origin"].get<long long>(), 1000000000);
  EXPECT_NE(body_json(client->Post("/api/v1/tickets", "", "text/plain"))["ticket"], issued["ticket"]);

  // Tickets with origins of the test's choosing, issued just over and just under a game's
  // length (195.9 s) ago.
  {
    auto conn = open_db(db);
    Store store(*conn);
    const std::int64_t now = std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::system_clock::now().time_since_epoch()).count();
    store.issue_ticket(std::string(32, 'a'), 5001, now - 197000);
    store.issue_ticket(std::string(32, 'b'), 5002, now - 192000);
    store.issue_ticket(std::string(32, 'c'), 5004, now - 197000);
    store.issue_ticket(std::string(32, 'e'), 5005, now - 600000);
  }
  const std::string a = "?ticket=" + std::string(32, 'a');
  r = post_game(*client, played, a);
  ASSERT_TRUE(r);
  ASSERT_EQ(r->status, 202) << r->body;
  const long long ranked_id = body_json(r)["id"].get<long long>();
  r = post_game(*client, too_soon, a);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->status, 409);
  EXPECT_EQ(body_json(r)["error"], "the ticket was already used");
  r = post_game(*client, too_soon, "?ticket=" + std::string(32, 'd'));
  ASSERT_TRUE(r);
  EXPECT_EQ(r->status, 409);
  EXPECT_EQ(body_json(r)["error"], "unknown ticket");

  const long long young = body_json(post_game(*client, too_soon, "?ticket=" + std::string(32, 'b')))["id"].get<long long>();
  const long long shopped = body_json(post_game(*client, elsewhere, "?ticket=" + std::string(32, 'c')))["id"].get<long long>();
  const long long waited = body_json(post_game(*client, late, "?ticket=" + std::string(32, 'e')))["id"].get<long long>();

  const json game = wait_game(*client, ranked_id);
  EXPECT_EQ(game["status"], "verified") << game.dump();
  EXPECT_EQ(game["ranked"], true);
  const json entries = body_json(client->Get("/api/v1/table"))["entries"];
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0]["id"], ranked_id);
  EXPECT_EQ(wait_game(*client, young)["reason"], "the ticket is younger than the recorded game");
  EXPECT_EQ(wait_game(*client, shopped)["reason"], "the recording does not start from its ticket's clock origin");
  EXPECT_EQ(wait_game(*client, waited)["reason"],
            "the round did not start within 30 seconds of the ticket's clock origin");
}

// Every game sent ends verified exactly once: a verifier killed mid-replay has its game
// replayed again, a server killed mid-job finds the job again on its next start, and a server
// told to stop finishes the replay in hand first.
TEST_P(Api, AKilledVerifierOrServerLosesNoGameAndVerifiesNoneTwice) {
  const std::vector<std::string> options = {"--workers", "1", "--lease-seconds", "2"};
  start(options);
  // The long game first: the verifier killed is surely still replaying it.
  const std::vector<std::string> sent = {recording("lost_round"), recording("round_keys")};
  std::vector<long long> ids;
  for (const std::string& bytes : sent) ids.push_back(body_json(post_game(*client, bytes))["id"].get<long long>());

  ASSERT_TRUE(wait_for([&] { return !server->verifiers().empty(); }));
  ASSERT_EQ(kill(server->verifiers()[0], SIGKILL), 0);
  // The game goes back to the queue and is replayed again, by a new verifier.
  ASSERT_TRUE(wait_for([&] { return !server->verifiers().empty(); }));
  EXPECT_EQ(server->stop(SIGKILL), 128 + SIGKILL);

  start(options);
  // Replayed whole, whatever was killed: each judged for what it is, not for the kill.
  const json lost = wait_game(*client, ids[0]);
  EXPECT_EQ(lost["status"], "verified") << lost.dump();
  EXPECT_EQ(lost["score"], 1205);
  EXPECT_EQ(wait_game(*client, ids[1])["reason"], "no round in the recording was played to its end");
  for (long long id : ids) EXPECT_EQ(game_row(db, id).verifications, 1) << id;

  const long long last = body_json(post_game(*client, recording("menus")))["id"].get<long long>();
  ASSERT_TRUE(wait_for([&] { return !server->verifiers().empty(); }));
  EXPECT_EQ(server->stop(SIGTERM), 0) << server->log();
  const GameRow row = game_row(db, last);
  EXPECT_EQ(row.status, "rejected");
  EXPECT_EQ(row.reason, "no round in the recording was played to its end");
  EXPECT_EQ(row.verifications, 1);
}

INSTANTIATE_TEST_SUITE_P(Databases, Api, testing::Values(Backend::Sqlite, Backend::Postgres), backend_name);

// Servers on several machines share one PostgreSQL queue: each job goes to one of them.
TEST(SharedQueue, TwoServersOnOnePostgresTakeTurnsAndVerifyEachGameOnce) {
  ASSERT_EQ(PostgresCluster::get().error(), "");
  const fs::path dir = fresh_temp_dir("shared_queue");
  const std::string db = PostgresCluster::get().fresh_database();
  ServerProcess first(db, dir, {"--workers", "1"});
  ServerProcess second(db, dir, {"--workers", "1"});
  ASSERT_GT(first.port(), 0);
  ASSERT_GT(second.port(), 0);
  auto client = first.client();
  std::vector<long long> ids;
  for (const char* name : {"lost_round", "round_keys", "menus"})
    ids.push_back(body_json(post_game(*client, recording(name)))["id"].get<long long>());
  std::set<std::string> servers;
  for (long long id : ids) {
    EXPECT_NE(wait_game(*client, id)["status"], "queued");
    const GameRow row = game_row(db, id);
    EXPECT_EQ(row.verifications, 1);
    servers.insert(row.worker.substr(0, row.worker.find('/')));
  }
  // While the first replays the long game, the second takes the next.
  EXPECT_EQ(servers.size(), 2u);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace server_test
