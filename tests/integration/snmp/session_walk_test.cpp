// Table walks through GetNextAsync callbacks, compared with what snmpwalk prints for the same columns.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <set>

#include "tests/fixtures/snmp_reader.h"
#include "tests/integration/snmp/session_test_support.h"
#include "tests/integration/snmp/snmpd_environment.h"

namespace {

using namespace std::chrono;

const ::testing::Environment* const g_env = ::testing::AddGlobalTestEnvironment(new AgentEnvironment);

const char kIfIndex[] = "1.3.6.1.2.1.2.2.1.1";
const char kIfDescr[] = "1.3.6.1.2.1.2.2.1.2";
const char kIfType[] = "1.3.6.1.2.1.2.2.1.3";

ModuleSettings SettingsFor(const std::string& who) {
    return who == "v1" ? Agent().SettingsV1() : Agent().SettingsV3(who);
}

class WalkLevels : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override { ASSERT_TRUE(Agent().running()); }
};

TEST_P(WalkLevels, IfTableColumnsEqualSnmpwalk) {
    const ModuleSettings settings = SettingsFor(GetParam());
    CCommonSNMP session(settings);
    WalkRecorder walk(session);
    ASSERT_EQ(walk.Start({kIfIndex, kIfDescr, kIfType}), 0);
    ASSERT_TRUE(walk.Wait());
    EXPECT_EQ(walk.FinalStatus(), kSnmpEndOfWalk);
    EXPECT_FALSE(walk.SawEmptyAnswer());

    // Each answer holds one row of the three columns, in request order.
    const std::vector<WalkRow> rows = walk.Rows();
    SnmpReader reader(settings);
    const auto indexes = reader.Walk(kIfIndex), descrs = reader.Walk(kIfDescr), types = reader.Walk(kIfType);
    ASSERT_FALSE(indexes.empty());
    ASSERT_EQ(rows.size(), indexes.size() * 3);
    ASSERT_EQ(walk.Answers(), static_cast<int>(indexes.size()));
    for (std::size_t r = 0; r < indexes.size(); ++r) {
        const WalkRow& index = rows[3 * r];
        const WalkRow& descr = rows[3 * r + 1];
        const WalkRow& type = rows[3 * r + 2];
        EXPECT_EQ(index.oid, indexes[r].oid);
        EXPECT_EQ(index.value, indexes[r].value);
        EXPECT_EQ(descr.oid, descrs[r].oid);
        EXPECT_EQ(descr.type, kSnmpOctetString);
        EXPECT_EQ(descr.value, descrs[r].value);
        EXPECT_EQ(type.value, types[r].value);
        // The row index is the instance after the column.
        EXPECT_EQ(index.suffix, "." + indexes[r].value);
        EXPECT_EQ(descr.suffix, index.suffix);
    }
    // The whole walk ran on one worker, never on this thread.
    const auto threads = walk.Threads();
    EXPECT_EQ(std::set<std::thread::id>(threads.begin(), threads.end()).size(), 1u);
    EXPECT_NE(threads.front(), std::this_thread::get_id());
}

TEST_P(WalkLevels, PastTheEndOfTheMibEndsTheWalk) {
    // v1 answers noSuchName, v3 endOfMibView: either way the walk ends with -2 and no row.
    CCommonSNMP session(SettingsFor(GetParam()));
    WalkRecorder walk(session);
    ASSERT_EQ(walk.Start({"2.99"}), 0);
    ASSERT_TRUE(walk.Wait(seconds(10)));
    EXPECT_EQ(walk.FinalStatus(), kSnmpEndOfWalk);
    EXPECT_TRUE(walk.Rows().empty());
}

INSTANTIATE_TEST_SUITE_P(Snmpd, WalkLevels, ::testing::Values("v1", "usrmd5", "usrshades", "usrsha256aes"),
                         [](const auto& info) { return info.param; });

TEST(Walk, ColumnsThatEndAtDifferentRowsDropOut) {
    // sysORID has 10 rows; the big column 1000. Walked together, answers after sysORID's end carry the big
    // column only, and the walk goes on until it ends as well.
    CCommonSNMP session(Agent().SettingsV1());
    WalkRecorder walk(session);
    ASSERT_EQ(walk.Start({"1.3.6.1.2.1.1.9.1.2", SnmpdFixture::BigColumnOid()}), 0);
    ASSERT_TRUE(walk.Wait());
    const auto rows = walk.Rows();
    const std::size_t orRows = SnmpReader(Agent().SettingsV1()).Walk("1.3.6.1.2.1.1.9.1.2").size();
    ASSERT_GT(orRows, 0u);
    EXPECT_EQ(rows.size(), orRows + SnmpdFixture::BigColumnRows());
    EXPECT_EQ(walk.Answers(), SnmpdFixture::BigColumnRows());
    EXPECT_EQ(rows.back().value, "row1000");
    EXPECT_EQ(rows.back().suffix, ".1000");
}

TEST(Walk, BulkWalksOfTheStockAgentEqualGetNextWalks) {
    // sysORID ends inside the first get-bulk answer; the big column takes many; snmpd's own ifTable.
    const std::vector<std::vector<std::string>> columnSets = {
        {"1.3.6.1.2.1.1.9.1.2", SnmpdFixture::BigColumnOid()},
        {kIfIndex, kIfDescr, kIfType},
    };
    for (const auto& columns : columnSets) {
        const auto getNext = WalkWith(Agent().SettingsV3("usrsha256aes"), false, columns);
        const auto bulk = WalkWith(Agent().SettingsV3("usrsha256aes"), true, columns);
        EXPECT_EQ(getNext.second, kSnmpEndOfWalk);
        EXPECT_EQ(bulk.second, kSnmpEndOfWalk);
        EXPECT_FALSE(getNext.first.empty());
        EXPECT_TRUE(bulk.first == getNext.first) << columns[0];
    }
}

TEST(Walk, CloseDuringAWalkReturnsInTimeAndLaterAnswersAreStale) {
    ModuleSettings settings = Agent().SettingsV3("usrshaaes");
    CCommonSNMP session(settings);
    std::mutex m;
    std::condition_variable cv;
    int answers = 0, stale = 0;
    bool closeNow = false;
    std::function<unsigned(std::unique_ptr<CSnmp>, int, void*, int)> onAnswer;
    onAnswer = [&](std::unique_ptr<CSnmp>, int id, void*, int status) -> unsigned {
        if (status != 0) return 0;
        int n;
        {
            std::lock_guard<std::mutex> l(m);
            n = ++answers;
        }
        if (n == 5) {
            // Let the owner close while this answer is still being handled: it must count as stale.
            {
                std::lock_guard<std::mutex> l(m);
                closeNow = true;
            }
            cv.notify_all();
            std::this_thread::sleep_for(milliseconds(300));
        }
        if (session.RemoveRequestId(id) == 0) {
            std::lock_guard<std::mutex> l(m);
            ++stale;
            return 0;
        }
        session.GetNextAsync(onAnswer, nullptr, 0);
        return 0;
    };
    ASSERT_TRUE(session.Open(kSnmpGetNext));
    session.AddValue(SnmpdFixture::BigColumnOid(), kBindNull, nullptr);
    ASSERT_EQ(session.GetNextAsync(onAnswer, nullptr, 0), 0);
    {
        std::unique_lock<std::mutex> l(m);
        ASSERT_TRUE(cv.wait_for(l, seconds(20), [&] { return closeNow; }));
    }
    const auto start = steady_clock::now();
    session.Close();
    const auto took = steady_clock::now() - start;
    EXPECT_LT(took, milliseconds(session.TimeoutMs() + 1000));
    std::this_thread::sleep_for(milliseconds(200));
    std::lock_guard<std::mutex> l(m);
    EXPECT_EQ(answers, 5);  // nothing after the close
    EXPECT_EQ(stale, 1);
    // A closed session refuses asynchronous requests until the next Open.
    EXPECT_EQ(session.GetNextAsync(onAnswer, nullptr, 0), -1);
}

TEST(Walk, DestroyingTheSessionDuringAWalkIsBounded) {
    std::atomic<int> answers{0};
    auto session = std::make_unique<CCommonSNMP>(Agent().SettingsV1());
    CCommonSNMP* raw = session.get();
    std::function<unsigned(std::unique_ptr<CSnmp>, int, void*, int)> onAnswer;
    onAnswer = [&answers, raw, &onAnswer](std::unique_ptr<CSnmp>, int id, void*, int status) -> unsigned {
        if (raw->RemoveRequestId(id) == 0 || status != 0) return 0;
        ++answers;
        raw->GetNextAsync(onAnswer, nullptr, 0);
        return 0;
    };
    ASSERT_TRUE(session->Open(kSnmpGetNext));
    session->AddValue(SnmpdFixture::BigColumnOid(), kBindNull, nullptr);
    ASSERT_EQ(session->GetNextAsync(onAnswer, nullptr, 0), 0);
    while (answers < 20) std::this_thread::sleep_for(milliseconds(1));
    const auto start = steady_clock::now();
    session.reset();
    EXPECT_LT(steady_clock::now() - start, milliseconds(3000 + 1000));
    const int after = answers;
    std::this_thread::sleep_for(milliseconds(200));
    EXPECT_EQ(answers, after);
    EXPECT_LT(after, SnmpdFixture::BigColumnRows());
}

TEST(Walk, ReopeningRestartsFromTheColumn) {
    CCommonSNMP session(Agent().SettingsV1());
    std::unique_ptr<CSnmp> answer;
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(session.Open(kSnmpGetNext));
        session.AddValue(SnmpdFixture::BigColumnOid(), kBindNull, nullptr);
        for (int row = 1; row <= 3; ++row) {
            ASSERT_EQ(session.GetNext(answer, 0), 0);
            EXPECT_EQ(answer->getValue(0), "row" + std::to_string(row));
        }
    }
    // Send asks from the added OID each time and does not move the walk.
    ASSERT_EQ(session.Send(answer, 0), 0);
    EXPECT_EQ(answer->getValue(0), "row1");
    ASSERT_EQ(session.GetNext(answer, 0), 0);
    EXPECT_EQ(answer->getValue(0), "row4");
}

}  // namespace
