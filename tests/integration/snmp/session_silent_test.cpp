// A device that never answers, an unsupported version, and refused requests: the session must give up
// after its time-out (a read after two: it is sent once more), not before, not much later, and never
// block later calls.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <tuple>

#include "tests/fixtures/fixture_common.h"
#include "tests/fixtures/silent_udp_port.h"
#include "tests/integration/snmp/session_test_support.h"

namespace {

using namespace std::chrono;

using SilentPort = kmstest::SilentUdpPort;

ModuleSettings SilentSettings(const SilentPort& port, const std::string& version) {
    ModuleSettings s = kmstest::LoopbackSettings(port.Port(), "rdcomm", "wrcomms");
    s.SnmpVersion = version;
    s.SecurityLevel = "3";
    s.UserName = "nobody";
    s.AuthProtocol = "3";
    s.AuthPassword = "authpassword";
    s.PrivProtocol = "4";
    s.PrivPassword = "privpassword";
    s.SnmpTimeoutText = "400";
    return s;
}

using Silent = ::testing::TestWithParam<std::string>;

TEST_P(Silent, SynchronousCallsTimeOutOnTime) {
    SilentPort port;
    CCommonSNMP session(SilentSettings(port, GetParam()));
    EXPECT_EQ(session.TimeoutMs(), 400);
    // The request, its time-out (0: the session's), how long it takes: a read twice its time-out.
    const std::tuple<int, unsigned long, long> cases[] = {
        {kSnmpGet, 0, 800}, {kSnmpGetNext, 300, 600}, {kSnmpSet, 250, 250}};
    for (const auto& [kind, timeout, expectMs] : cases) {
        std::unique_ptr<CSnmp> answer;
        const auto start = steady_clock::now();
        const Binding b = kind == kSnmpSet ? Binding{kSysName, kBindOctets, "x"} : Binding{kSysName};
        EXPECT_NE(Request(session, kind, {b}, answer, timeout), 0);
        const auto took = duration_cast<milliseconds>(steady_clock::now() - start).count();
        EXPECT_FALSE(answer);
        EXPECT_GE(took, expectMs - 5) << "kind " << kind;
        EXPECT_LT(took, expectMs + 400) << "kind " << kind;
    }
}

TEST_P(Silent, AsynchronousRequestDeliversFailure) {
    SilentPort port;
    CCommonSNMP session(SilentSettings(port, GetParam()));
    ASSERT_TRUE(session.Open(kSnmpGetNext));
    session.AddValue("1.3.6.1.2.1.2.2.1.2", kBindNull, nullptr);
    std::atomic<int> calls{0};
    std::promise<std::tuple<int, int, bool>> failure;  // request id removed, status, an answer given
    auto delivered = failure.get_future();
    const auto start = steady_clock::now();
    ASSERT_EQ(session.GetNextAsync(
                  [&](std::unique_ptr<CSnmp> r, int id, void*, int s) {
                      const int removed = session.RemoveRequestId(id);
                      session.SetDone();
                      if (++calls == 1) failure.set_value({removed, s, r != nullptr});
                      return 0u;
                  },
                  nullptr, 300),
              0);
    ASSERT_EQ(delivered.wait_for(seconds(5)), std::future_status::ready);
    const auto took = steady_clock::now() - start;
    EXPECT_EQ(delivered.get(), std::tuple(1, kSnmpFailed, false));
    EXPECT_GE(took, milliseconds(2 * 300 - 5));
    EXPECT_LT(took, milliseconds(2 * 300 + 400));
    const auto closeStart = steady_clock::now();
    session.Close();
    EXPECT_LT(steady_clock::now() - closeStart, milliseconds(200));
    EXPECT_EQ(calls, 1);
}

TEST_P(Silent, CloseAbandonsAnOutstandingRequest) {
    SilentPort port;
    ModuleSettings settings = SilentSettings(port, GetParam());
    settings.SnmpTimeoutText = "2000";
    CCommonSNMP session(settings);
    ASSERT_TRUE(session.Open(kSnmpGet));
    session.AddValue(kSysName, kBindNull, nullptr);
    std::atomic<int> calls{0};
    ASSERT_EQ(session.GetNextAsync([&](std::unique_ptr<CSnmp>, int, void*, int) { return unsigned(++calls); },
                                   nullptr, 0),
              0);
    std::this_thread::sleep_for(milliseconds(50));
    const auto start = steady_clock::now();
    session.Close();
    // The outstanding request is abandoned rather than waited for.
    EXPECT_LT(steady_clock::now() - start, milliseconds(500));
    std::this_thread::sleep_for(milliseconds(100));
    EXPECT_EQ(calls, 0);
}

INSTANTIATE_TEST_SUITE_P(Versions, Silent, ::testing::Values("1", "3"),
                         [](const auto& info) { return "v" + info.param; });

TEST(Refused, UnsupportedVersionFailsEveryRequestAtOnce) {
    SilentPort port;
    for (const char* version : {"4", "0", "", "v1"}) {
        CCommonSNMP session(SilentSettings(port, version));
        const auto start = steady_clock::now();
        for (int round = 0; round < 3; ++round) {
            EXPECT_FALSE(session.Open(kSnmpGet)) << version;
            EXPECT_EQ(session.AddValue(kSysName, kBindNull, nullptr), -1);
            std::unique_ptr<CSnmp> answer;
            EXPECT_EQ(session.GetNext(answer, 0), -1);
            EXPECT_EQ(session.Send(answer, 0), -1);
            EXPECT_EQ(
                session.GetNextAsync([](std::unique_ptr<CSnmp>, int, void*, int) { return 0u; }, nullptr, 0),
                -1);
            session.Close();
        }
        EXPECT_LT(steady_clock::now() - start, milliseconds(100)) << version;
    }
}

TEST(Refused, UnknownKindsNoBindingsAndBadValues) {
    SilentPort port;
    ModuleSettings settings = SilentSettings(port, "3");
    settings.SnmpTimeoutText = "5000";
    CCommonSNMP session(settings);
    for (int kind : {2, 4, -1, 5}) EXPECT_FALSE(session.Open(kind)) << kind;
    std::unique_ptr<CSnmp> answer;
    EXPECT_EQ(session.GetNext(answer, 0), -1);  // the refused Open left no request
    // A request without bindings is refused and sets the session done, so Close returns at once.
    ASSERT_TRUE(session.Open(kSnmpGetNext));
    EXPECT_EQ(session.GetNextAsync([](std::unique_ptr<CSnmp>, int, void*, int) { return 0u; }, nullptr, 0),
              -1);
    EXPECT_EQ(session.GetNext(answer, 0), -1);
    EXPECT_EQ(session.Send(answer, 0), -1);
    const auto start = steady_clock::now();
    session.Close();
    EXPECT_LT(steady_clock::now() - start, milliseconds(100));

    ASSERT_TRUE(session.Open(kSnmpSet));
    const char* const name = kSysName;
    const std::tuple<const char*, int, const char*, int> cases[] = {
        {name, kBindInteger, "42", 0},
        {name, kBindInteger, "-2147483648", 0},
        {name, kBindInteger, "2147483648", -1},
        {name, kBindInteger, "12abc", -1},
        {name, kBindInteger, nullptr, -1},
        {name, kBindUnsigned, "4294967295", 0},
        {name, kBindUnsigned, "-1", -1},
        {name, kBindIpAddress, "10.0.0.1", 0},
        {name, kBindIpAddress, "10.0.0", -1},
        {name, kBindOctets, "text", 0},
        {name, kBindOctets, nullptr, 0},
        {name, kBindNull, nullptr, 0},
        {name, 3, "1", -1},
        {"1.3.6.x.1", kBindNull, nullptr, -1},
        {"", kBindNull, nullptr, -1},
    };
    for (const auto& [oid, kind, value, result] : cases)
        EXPECT_EQ(session.AddValue(oid, kind, value), result) << oid << " " << kind;
    EXPECT_EQ(session.AddValue(name, kBindOctets, nullptr, 3), -1);
}

TEST(Refused, RequestIdsAreDistinctAcrossSessions) {
    SilentPort port;
    CCommonSNMP a(SilentSettings(port, "1")), b(SilentSettings(port, "3"));
    std::mutex m;
    std::condition_variable cv;
    std::vector<int> ids;
    auto record = [&](std::unique_ptr<CSnmp>, int id, void*, int) {
        std::lock_guard<std::mutex> l(m);
        ids.push_back(id);
        cv.notify_all();
        return 0u;
    };
    for (CCommonSNMP* s : {&a, &b, &a}) {
        ASSERT_TRUE(s->Open(kSnmpGet));
        s->AddValue(kSysName, kBindNull, nullptr);
        ASSERT_EQ(s->GetNextAsync(record, nullptr, 20), 0);
        std::unique_lock<std::mutex> l(m);
        const std::size_t want = ids.size() + 1;
        ASSERT_TRUE(cv.wait_for(l, seconds(5), [&] { return ids.size() == want; }));
    }
    EXPECT_LT(ids[0], ids[1]);
    EXPECT_LT(ids[1], ids[2]);
}

}  // namespace
