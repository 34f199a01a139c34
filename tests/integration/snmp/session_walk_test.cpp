// Table walks through GetNextAsync callbacks, compared with what snmpwalk prints for the same columns.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <set>

#include "tests/fixtures/snmp_reader.h"
#include "tests/integration/snmp/session_test_support.h"
#include "tests/integration/snmp/snmpd_environment.h"

namespace {

using namespace std::chrono;

const char kIfDescr[] = "1.3.6.1.2.1.2.2.1.2";
const char kIfType[] = "1.3.6.1.2.1.2.2.1.3";
const char kSysOrId[] = "1.3.6.1.2.1.1.9.1.2";

using WalkLevels = ::testing::TestWithParam<std::string>;

TEST_P(WalkLevels, IfTableColumnsEqualSnmpwalk) {
    const ModuleSettings settings = SettingsFor(GetParam());
    CCommonSNMP session(settings);
    WalkRecorder walk(session);
    ASSERT_EQ(walk.Start({kIfIndex, kIfDescr, kIfType}), 0);
    ASSERT_TRUE(walk.Wait());
    EXPECT_EQ(walk.finalStatus, kSnmpEndOfWalk);
    // Each answer holds one row of the three columns, in request order; the row index is the instance.
    SnmpReader reader(settings);
    const auto indexes = reader.Walk(kIfIndex), descrs = reader.Walk(kIfDescr), types = reader.Walk(kIfType);
    ASSERT_FALSE(indexes.empty());
    ASSERT_EQ(descrs.size(), indexes.size());
    ASSERT_EQ(types.size(), indexes.size());
    std::vector<WalkRow> expected;
    for (std::size_t r = 0; r < indexes.size(); ++r) {
        const std::string suffix = "." + indexes[r].value;
        const int answer = static_cast<int>(r) + 1;
        expected.push_back({indexes[r].oid, kSnmpInteger, indexes[r].value, suffix, answer});
        expected.push_back({descrs[r].oid, kSnmpOctetString, descrs[r].value, suffix, answer});
        expected.push_back({types[r].oid, kSnmpInteger, types[r].value, suffix, answer});
    }
    EXPECT_TRUE(walk.rows == expected);
    // The whole walk ran on one worker, never on this thread.
    EXPECT_EQ(std::set(walk.threads.begin(), walk.threads.end()).size(), 1u);
    EXPECT_NE(walk.threads.front(), std::this_thread::get_id());
}

TEST_P(WalkLevels, PastTheEndOfTheMibEndsTheWalk) {
    // v1 answers noSuchName, v3 endOfMibView: either way the walk ends with -2 and no row.
    for (const bool bulk : {false, true}) {
        EXPECT_TRUE((WalkWith(SettingsFor(GetParam()), bulk, {"2.99"}) == Walked{{}, kSnmpEndOfWalk, 0}))
            << bulk;
    }
}

INSTANTIATE_TEST_SUITE_P(Snmpd, WalkLevels, ::testing::Values("v1", "usrmd5", "usrshades", "usrsha256aes"),
                         [](const auto& info) { return info.param; });

TEST(Walk, ColumnsThatEndAtDifferentRowsDropOut) {
    // sysORID has 10 rows; the big column 1000. Walked together, answers after sysORID's end carry the big
    // column only, and the walk goes on until it ends as well.
    CCommonSNMP session(Agent().SettingsV1());
    const Walked walk = WalkOf(session, {kSysOrId, SnmpdFixture::BigColumnOid()});
    ASSERT_EQ(walk.status, kSnmpEndOfWalk);
    const std::size_t orRows = SnmpReader(Agent().SettingsV1()).Walk(kSysOrId).size();
    ASSERT_GT(orRows, 0u);
    EXPECT_EQ(walk.rows.size(), orRows + SnmpdFixture::BigColumnRows());
    EXPECT_EQ(walk.answers, SnmpdFixture::BigColumnRows());
    EXPECT_EQ(walk.rows.back().value, "row1000");
    EXPECT_EQ(walk.rows.back().suffix, ".1000");
}

TEST(Walk, BulkWalksOfTheStockAgentEqualGetNextWalks) {
    // sysORID ends inside the first get-bulk answer; the big column takes many; snmpd's own ifTable.
    for (const std::vector<std::string>& columns : std::vector<std::vector<std::string>>{
             {kSysOrId, SnmpdFixture::BigColumnOid()}, {kIfIndex, kIfDescr, kIfType}}) {
        const auto getNext = WalkWith(Agent().SettingsV3("usrsha256aes"), false, columns);
        EXPECT_EQ(getNext.status, kSnmpEndOfWalk);
        EXPECT_FALSE(getNext.rows.empty());
        EXPECT_TRUE(WalkWith(Agent().SettingsV3("usrsha256aes"), true, columns) == getNext) << columns[0];
    }
}

TEST(Walk, CloseDuringAWalkReturnsInTimeAndLaterAnswersAreStale) {
    CCommonSNMP session(Agent().SettingsV3("usrshaaes"));
    std::atomic<int> answers{0}, stale{0};
    std::promise<void> fifth;
    std::function<unsigned(std::unique_ptr<CSnmp>, int, void*, int)> onAnswer;
    onAnswer = [&](std::unique_ptr<CSnmp>, int id, void*, int status) -> unsigned {
        if (status != 0) return 0;
        if (++answers == 5) {
            // Let the owner close while this answer is still being handled: it must count as stale.
            fifth.set_value();
            std::this_thread::sleep_for(milliseconds(300));
        }
        if (session.RemoveRequestId(id) == 0) {
            ++stale;
            return 0;
        }
        session.GetNextAsync(onAnswer, nullptr, 0);
        return 0;
    };
    ASSERT_TRUE(session.Open(kSnmpGetNext));
    session.AddValue(SnmpdFixture::BigColumnOid(), kBindNull, nullptr);
    ASSERT_EQ(session.GetNextAsync(onAnswer, nullptr, 0), 0);
    ASSERT_EQ(fifth.get_future().wait_for(seconds(20)), std::future_status::ready);
    const auto start = steady_clock::now();
    session.Close();
    EXPECT_LT(steady_clock::now() - start, milliseconds(session.TimeoutMs() + 1000));
    std::this_thread::sleep_for(milliseconds(200));
    EXPECT_EQ(answers, 5);  // nothing after the close
    EXPECT_EQ(stale, 1);
    // A closed session refuses asynchronous requests until the next Open.
    EXPECT_EQ(session.GetNextAsync(onAnswer, nullptr, 0), -1);
}

TEST(Walk, DestroyingTheSessionDuringAWalkIsBounded) {
    std::atomic<int> answers{0};
    std::atomic<bool> destroying{false};
    auto session = std::make_unique<CCommonSNMP>(Agent().SettingsV1());
    CCommonSNMP* raw = session.get();
    std::function<unsigned(std::unique_ptr<CSnmp>, int, void*, int)> onAnswer;
    onAnswer = [&](std::unique_ptr<CSnmp>, int id, void*, int status) -> unsigned {
        if (raw->RemoveRequestId(id) == 0 || status != 0) return 0;
        // Held at the 20th row until the session is being destroyed, so that the walk is surely
        // running then, however fast its rows come and however slowly this test's thread is scheduled.
        if (++answers == 20)
            for (int waited = 0; !destroying && waited < 5000; ++waited)
                std::this_thread::sleep_for(milliseconds(1));
        raw->GetNextAsync(onAnswer, nullptr, 0);
        return 0;
    };
    ASSERT_TRUE(session->Open(kSnmpGetNext));
    session->AddValue(SnmpdFixture::BigColumnOid(), kBindNull, nullptr);
    ASSERT_EQ(session->GetNextAsync(onAnswer, nullptr, 0), 0);
    while (answers < 20) std::this_thread::sleep_for(milliseconds(1));
    const auto start = steady_clock::now();
    destroying = true;
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
