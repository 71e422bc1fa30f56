// The store's statements on both databases, without replays: the table's order and pages,
// jobs that go to one worker at a time and are answered once, and tickets taken once.
#include "server/server_support.h"

namespace server_test {
namespace {

class StoreOn : public testing::TestWithParam<Backend> {
 protected:
  void SetUp() override {
    if (GetParam() == Backend::Postgres) {
      ASSERT_EQ(PostgresCluster::get().error(), "");
    }
    dir = fresh_temp_dir("store");
    conn = open_db(fresh_db(GetParam(), dir));
    store = std::make_unique<Store>(*conn);
    store->migrate();
    store->migrate();  // a second start changes nothing
    EXPECT_EQ(store->schema_version(), 3);
  }
  void TearDown() override {
    store.reset();
    conn.reset();
    fs::remove_all(dir);
  }
  std::int64_t send(const std::string& bytes, std::int64_t at_ms, const std::string& ticket = "") {
    Submission s;
    s.hash = bytes;  // any text unique to the bytes does for the store
    s.bytes = bytes;
    s.ticket = ticket;
    s.client = "10.0.0.1";
    s.now_ms = at_ms;
    const SubmitResult r = store->submit(s, 3600 * 1000);
    EXPECT_EQ(r.ticket_error, "");
    return r.id;
  }
  // Claims the next job and answers it with this score.
  void verify(std::int64_t score, bool ranked, std::int64_t at_ms) {
    const std::optional<Job> job = store->claim("w", at_ms, 1000);
    ASSERT_TRUE(job);
    Verdict v;
    v.verified = true;
    v.score = score;
    v.name = "P" + std::to_string(score);
    v.ranked = ranked;
    ASSERT_TRUE(store->finish(*job, "w", v, at_ms));
  }
  std::vector<std::int64_t> scores(bool ranked, std::int64_t since, int limit, int offset) {
    std::vector<std::int64_t> out;
    for (const GameRow& g : store->table(ranked, since, limit, offset)) out.push_back(g.score);
    return out;
  }

  fs::path dir;
  std::unique_ptr<Db> conn;
  std::unique_ptr<Store> store;
};

TEST_P(StoreOn, TheTableListsTheBestFirstAndPagesThroughThem) {
  const std::int64_t old_game = 1000, new_game = 2000000;
  const std::int64_t first = send("a", old_game);
  send("b", new_game);
  send("c", new_game);
  send("d", new_game);
  EXPECT_EQ(send("a", new_game), first) << "the same bytes are the same game";
  EXPECT_EQ(store->queue_length(), 4);
  verify(300, false, new_game);
  verify(50, false, new_game);
  verify(900, true, new_game);
  verify(100, false, new_game);
  EXPECT_EQ(store->queue_length(), 0);
  EXPECT_EQ(scores(false, 0, 10, 0), (std::vector<std::int64_t>{300, 100, 50}));
  EXPECT_EQ(scores(true, 0, 10, 0), (std::vector<std::int64_t>{900}));
  EXPECT_EQ(scores(false, 0, 1, 1), (std::vector<std::int64_t>{100}));
  EXPECT_EQ(scores(false, new_game, 10, 0), (std::vector<std::int64_t>{100, 50})) << "the first game came before";
  const Counts c = store->counts();
  EXPECT_EQ(c.verified, 4);
  EXPECT_EQ(c.queued, 0);
}

TEST_P(StoreOn, AJobIsOneWorkersUntilItsLeaseRunsOutAndIsAnsweredOnce) {
  const std::int64_t id = send("x", 0);
  const std::optional<Job> mine = store->claim("first", 0, 1000);
  ASSERT_TRUE(mine);
  EXPECT_EQ(mine->game, id);
  EXPECT_FALSE(store->claim("second", 999, 1000)) << "leased until 1000";
  ASSERT_TRUE(store->renew(*mine, "first", 2000));
  EXPECT_FALSE(store->claim("second", 1999, 1000));
  const std::optional<Job> taken = store->claim("second", 2001, 1000);
  ASSERT_TRUE(taken);
  EXPECT_EQ(taken->attempts, 2);
  Verdict v;
  v.verified = true;
  v.score = 7;
  v.name = "A";
  EXPECT_FALSE(store->renew(*mine, "first", 5000)) << "no longer the first's";
  EXPECT_FALSE(store->finish(*mine, "first", v, 2002));
  EXPECT_TRUE(store->finish(*taken, "second", v, 2002));
  EXPECT_FALSE(store->finish(*taken, "second", v, 2003));
  const GameRow g = store->game(id).value();
  EXPECT_EQ(g.status, "verified");
  EXPECT_EQ(g.verifications, 1);
  EXPECT_EQ(g.worker, "second");

  // Released, the job is anyone's again at once.
  send("y", 0);
  const std::optional<Job> again = store->claim("first", 3000, 1000);
  ASSERT_TRUE(again);
  store->release(*again, "first");
  EXPECT_TRUE(store->claim("second", 3001, 1000));
}

TEST_P(StoreOn, ATicketGoesToOneGameAndNotAfterItExpires) {
  store->issue_ticket("t1", 5001, 0);
  store->issue_ticket("t2", 5002, 0);
  const std::int64_t id = send("g1", 10, "t1");
  Submission s;
  s.hash = s.bytes = "g2";
  s.ticket = "t1";
  s.now_ms = 20;
  EXPECT_EQ(store->submit(s, 3600 * 1000).ticket_error, "the ticket was already used");
  s.ticket = "t2";
  s.now_ms = 3600 * 1000 + 1;
  EXPECT_EQ(store->submit(s, 3600 * 1000).ticket_error, "the ticket has expired");
  s.now_ms = 3600 * 1000;
  EXPECT_EQ(store->submit(s, 3600 * 1000).ticket_error, "");
  const std::optional<Job> job = store->claim("w", 30, 1000);
  ASSERT_TRUE(job);
  EXPECT_EQ(job->game, id);
  EXPECT_TRUE(job->has_ticket);
  EXPECT_EQ(job->ticket_origin, 5001);
  EXPECT_EQ(job->received_ms, 10);
}

INSTANTIATE_TEST_SUITE_P(Databases, StoreOn, testing::Values(Backend::Sqlite, Backend::Postgres), backend_name);

}  // namespace
}  // namespace server_test
