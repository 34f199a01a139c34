// The session against a device that misbehaves (kms-sim's misbehaviour knobs), restarts, loses
// requests, or has its answers forged from elsewhere: walks end, sessions recover, reads are retried and
// writes are not, agent statuses stay apart from the layer's own codes.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "core/debug_out.h"
#include "sim/control_oids.h"
#include "tests/fixtures/kms_sim_fixture.h"
#include "tests/fixtures/silent_udp_port.h"
#include "tests/integration/snmp/session_test_support.h"

namespace {

using namespace std::chrono;
namespace ctl = kmssim::ctl;

class SessionFaults : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_sim = std::make_unique<kmstest::KmsSimFixture>(kmstest::KmsSimFixture::Options{.model = "28E"});
        ASSERT_TRUE(s_sim->Start()) << s_sim->LastError();
    }
    static void TearDownTestSuite() { s_sim.reset(); }
    void SetUp() override { ASSERT_TRUE(s_sim->Reset()); }
    static ModuleSettings V1() {
        ModuleSettings s = s_sim->SettingsV1();
        s.SnmpTimeoutText = "500";
        return s;
    }
    static int Get(CCommonSNMP& session, std::vector<const char*> oids, std::unique_ptr<CSnmp>& answer) {
        if (!session.Open(kSnmpGet)) return 99;
        for (const char* oid : oids) session.AddValue(oid, kBindNull, nullptr);
        return session.GetNext(answer, 0);
    }
    static inline std::unique_ptr<kmstest::KmsSimFixture> s_sim;
};

TEST_F(SessionFaults, AWalkWhoseOidsDoNotIncreaseFails) {
    // The 28-port ifTable has 30 rows: a walk that goes on past them never ended before.
    for (const char* knob : {ctl::kRepeatOid, ctl::kGoBackwards}) {
        ASSERT_TRUE(s_sim->SetKnob(knob, 1));
        CCommonSNMP session(V1());
        const Walked walk = WalkOf(session, {kIfIndex}, seconds(10));
        EXPECT_EQ(walk.status, kSnmpFailed) << knob;
        EXPECT_LE(walk.answers, 2) << knob;
        ASSERT_TRUE(s_sim->SetKnob(knob, 0));
    }
    // The synchronous walk stops the same way.
    ASSERT_TRUE(s_sim->SetKnob(ctl::kRepeatOid, 1));
    CCommonSNMP session(V1());
    std::unique_ptr<CSnmp> answer;
    ASSERT_EQ(Request(session, kSnmpGetNext, {{kIfIndex}}, answer), 0);
    EXPECT_EQ(session.GetNext(answer, 0), kSnmpFailed);
}

TEST_F(SessionFaults, AgentStatusesKeepTheirOwnRange) {
    CCommonSNMP session(V1());
    std::unique_ptr<CSnmp> answer;
    // Statuses that would read as the layer's own -1 and -2, or lie outside the protocol's 0..18, are a
    // generic error (genErr, 5); a status of the protocol comes back as it is.
    const std::pair<const char*, int> cases[] = {
        {"-2", 5}, {"-1", 5}, {"19", 5}, {"2147483648", 5}, {"3", 3}};
    for (const auto& [status, expected] : cases) {
        ASSERT_TRUE(s_sim->SetErrorStatus(status));
        EXPECT_EQ(Get(session, {kSysName}, answer), expected) << status;
        EXPECT_FALSE(answer);
    }
    ASSERT_TRUE(s_sim->SetErrorStatus(""));
    // An answer that lacks a binding asked for is no answer.
    ASSERT_TRUE(s_sim->SetKnob(ctl::kDropLastBinding, 1));
    EXPECT_EQ(Get(session, {kSysName, kSysLocation}, answer), kSnmpFailed);
    ASSERT_TRUE(s_sim->SetKnob(ctl::kDropLastBinding, 0));
    EXPECT_EQ(Get(session, {kSysName, kSysLocation}, answer), 0);
    ASSERT_EQ(answer->getValuesCount(), 2);
}

TEST_F(SessionFaults, ALostReadIsSentAgainAndALostWriteIsNot) {
    // Every second request is lost: each lost step of the walk is sent again, and the walk is whole.
    ModuleSettings settings = V1();
    settings.SnmpTimeoutText = "100";
    CCommonSNMP session(settings);
    ASSERT_TRUE(s_sim->SetDropEvery(2));
    const Walked walk = WalkOf(session, {kIfIndex});
    EXPECT_EQ(walk.status, kSnmpEndOfWalk);
    EXPECT_EQ(walk.rows.size(), 30u);
    // Every request is lost: a write goes out exactly once.
    ASSERT_TRUE(s_sim->SetDropEvery(1));
    ASSERT_TRUE(s_sim->ClearCounters());
    std::unique_ptr<CSnmp> answer;
    EXPECT_EQ(Request(session, kSnmpSet, {{kSysLocation, kBindOctets, "lost"}}, answer, 300), kSnmpFailed);
    EXPECT_EQ(s_sim->RequestCount(kmstest::RequestKind::Set), 1);
    EXPECT_EQ(Get(session, {kSysName}, answer), kSnmpFailed);
    EXPECT_EQ(s_sim->RequestCount(kmstest::RequestKind::Get), 2);
    EXPECT_EQ(session.LastFailure(), SnmpFailure::NoAnswer);
}

TEST_F(SessionFaults, RefusalsNameTheirReasonAndTheDebugLineSaysItWithoutTheCredentials) {
    ModuleSettings wrongPassword = s_sim->SettingsV3("kmsshaaes"), unknownUser = wrongPassword;
    wrongPassword.AuthPassword = "not-the-password";
    unknownUser.UserName = "kmsnobody";
    ModuleSettings aboveItsLevel = s_sim->SettingsV3("kmssha");  // authNoPriv, asked with privacy
    aboveItsLevel.SecurityLevel = "3";
    aboveItsLevel.PrivProtocol = "4";
    aboveItsLevel.PrivPassword = "kmssha-priv";
    std::string lines;
    SetDebugSink([&lines](const std::string& line) { lines += line + "\n"; });
    for (const auto& [settings, reason] : {std::pair{wrongPassword, SnmpFailure::WrongDigest},
                                           {unknownUser, SnmpFailure::UnknownUser},
                                           {aboveItsLevel, SnmpFailure::UnsupportedSecLevel}}) {
        CCommonSNMP session(settings);
        std::unique_ptr<CSnmp> answer;
        EXPECT_EQ(Get(session, {kSysName}, answer), kSnmpFailed);
        EXPECT_EQ(session.LastFailure(), reason) << SnmpFailureText(reason);
    }
    SetDebugSink({});
    for (const char* said : {"127.0.0.1 refused the request: wrong digest (authentication failure)\n",
                             "127.0.0.1 refused the request: unknown user\n",
                             "127.0.0.1 refused the request: unsupported security level\n"})
        EXPECT_NE(lines.find(said), std::string::npos) << said;
    EXPECT_EQ(lines.find("not-the-password"), std::string::npos);
}

TEST_F(SessionFaults, V2cWalksAsGetBulkAndOtherwiseAsV1) {
    ModuleSettings v2c = V1();
    v2c.SnmpVersion = "2";
    const std::vector<std::string> columns = {kIfIndex, "1.3.6.1.2.1.2.2.1.2"};
    const auto v1 = WalkWith(V1(), true, columns);
    ASSERT_TRUE(s_sim->ClearCounters());
    EXPECT_TRUE(WalkWith(v2c, true, columns) == v1);
    EXPECT_EQ(v1.rows.size(), 60u);  // 30 rows of two columns
    EXPECT_GE(s_sim->RequestCount(kmstest::RequestKind::GetBulk), 1);
    EXPECT_EQ(s_sim->RequestCount(kmstest::RequestKind::GetNext), 0);
    // A set goes with the write community (the read community may not write).
    CCommonSNMP session(v2c);
    std::unique_ptr<CSnmp> answer;
    EXPECT_EQ(Request(session, kSnmpSet, {{kSysLocation, kBindOctets, "v2c"}}, answer), 0);
}

TEST_F(SessionFaults, OpenEndsARunningWalkForGood) {
    // The walk's callback is busy when the owner opens a new request, and would go on walking.
    ASSERT_TRUE(s_sim->SetKnob(ctl::kEndlessColumns, 1));
    CCommonSNMP session(V1());
    std::atomic<int> oldCalls{0}, newCalls{0}, newStatus{99};
    std::atomic<bool> opened{false}, lateOldCall{false};
    std::function<unsigned(std::unique_ptr<CSnmp>, int, void*, int)> walkStep;
    walkStep = [&](std::unique_ptr<CSnmp>, int id, void*, int status) -> unsigned {
        if (opened) lateOldCall = true;
        ++oldCalls;
        std::this_thread::sleep_for(milliseconds(20));
        if (session.RemoveRequestId(id) == 1 && status == 0) session.GetNextAsync(walkStep, nullptr, 0);
        return 0;
    };
    ASSERT_TRUE(session.Open(kSnmpGetNext));
    session.AddValue(kIfIndex, kBindNull, nullptr);
    ASSERT_EQ(session.GetNextAsync(walkStep, nullptr, 0), 0);
    while (oldCalls < 5) std::this_thread::sleep_for(milliseconds(2));
    ASSERT_TRUE(session.Open(kSnmpGet));
    opened = true;
    session.AddValue(kSysName, kBindNull, nullptr);
    ASSERT_EQ(session.GetNextAsync(
                  [&](std::unique_ptr<CSnmp> r, int id, void*, int status) {
                      newStatus = session.RemoveRequestId(id) == 1 && r ? status : -99;
                      ++newCalls;
                      return 0u;
                  },
                  nullptr, 0),
              0);
    const auto until = steady_clock::now() + seconds(5);
    while (newCalls == 0 && steady_clock::now() < until) std::this_thread::sleep_for(milliseconds(5));
    std::this_thread::sleep_for(milliseconds(200));
    EXPECT_EQ(newCalls, 1);
    EXPECT_EQ(newStatus, 0);
    EXPECT_FALSE(lateOldCall);
}

TEST_F(SessionFaults, V3SessionRecoversAfterTheDeviceRestarts) {
    // A device that counts its boots, and one that lost its count (its boots went back): either way the
    // first request after the restart succeeds.
    for (const bool lostBoots : {false, true}) {
        ModuleSettings settings = s_sim->SettingsV3("kmssha256aes");
        settings.SnmpTimeoutText = "1000";
        if (lostBoots) {
            ASSERT_TRUE(s_sim->SetKnob(ctl::kEngineBoots, 1000));
        }
        CCommonSNMP session(settings);
        std::unique_ptr<CSnmp> answer;
        ASSERT_EQ(Get(session, {kSysName}, answer), 0) << lostBoots;
        const long before = s_sim->EngineBoots();
        ASSERT_TRUE(s_sim->Restart()) << s_sim->LastError();
        const long after = s_sim->EngineBoots();
        EXPECT_EQ(after < before, lostBoots) << before << " " << after;
        EXPECT_EQ(Get(session, {kSysName}, answer), 0) << lostBoots;
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->getValue(0), "KMS-7300-28E");
    }
}

TEST_F(SessionFaults, BulkWalksReturnTheRowsOfGetNextWalks) {
    const std::string vlan = "1.3.6.1.4.1.32473.10.75.13.7.6.1.", last = "1.3.6.1.4.1.32473.10.75.13.28.1.1.";
    const std::vector<std::vector<std::string>> columnSets = {
        // 30 rows of five columns: more than one get-bulk answer holds.
        {kIfIndex, "1.3.6.1.2.1.2.2.1.2", "1.3.6.1.2.1.2.2.1.3", "1.3.6.1.2.1.2.2.1.5",
         "1.3.6.1.2.1.2.2.1.8"},
        // The PVIDs end two rows before ifIndex does, inside an answer.
        {"1.3.6.1.4.1.32473.10.75.13.7.7.1.1", kIfIndex},
        {vlan + "1", vlan + "2", vlan + "3", vlan + "4", vlan + "5"},
        // The last table the agent serves: its second column ends at the end of the MIB.
        {last + "1", last + "2"},
    };
    const ModuleSettings v3 = s_sim->SettingsV3("kmssha256aes");
    for (const auto& columns : columnSets) {
        const auto getNext = WalkWith(v3, false, columns);
        ASSERT_TRUE(s_sim->ClearCounters());
        EXPECT_EQ(getNext.status, kSnmpEndOfWalk) << columns[0];
        EXPECT_GE(getNext.rows.size(), 8u) << columns[0];
        EXPECT_TRUE(WalkWith(v3, true, columns) == getNext) << columns[0];
        EXPECT_GE(s_sim->RequestCount(kmstest::RequestKind::GetBulk), 1) << columns[0];
        EXPECT_EQ(s_sim->RequestCount(kmstest::RequestKind::GetNext), 0) << columns[0];
    }
}

TEST_F(SessionFaults, AnAgentThatRefusesGetBulkIsWalkedWithGetNext) {
    // Get-bulk left unanswered, or refused: the walk is whole all the same, the session says once that
    // it walks with get-next from now on, and its next walk sends no get-bulk.
    ModuleSettings settings = s_sim->SettingsV3("kmsshaaes");
    settings.SnmpTimeoutText = "300";
    const Walked expected = WalkWith(settings, false, {kIfIndex});
    ASSERT_EQ(expected.rows.size(), 30u);
    for (const long refusal : {1, 2}) {
        ASSERT_TRUE(s_sim->SetKnob(ctl::kBulkRefusal, refusal));
        std::vector<std::string> lines;
        SetDebugSink([&lines](const std::string& line) {
            if (line.find("get-bulk") != std::string::npos) lines.push_back(line);
        });
        CCommonSNMP session(settings);
        for (int walkNo = 0; walkNo < 2; ++walkNo) {
            ASSERT_TRUE(s_sim->ClearCounters());
            EXPECT_TRUE(WalkOf(session, {kIfIndex}, seconds(20)) == expected) << refusal;
        }
        EXPECT_EQ(s_sim->RequestCount(kmstest::RequestKind::GetBulk), 0) << refusal;
        SetDebugSink({});
        EXPECT_EQ(lines.size(), 1u) << refusal;
    }
}

// A v1 get answered by hand: the request id is taken from the request, the answer carries `value`.
std::string V1Answer(const std::string& request, const std::string& value) {
    // 30 len | 02 01 00 | 04 len community | A0 len | 02 len id ...
    std::size_t p = 2 + ((static_cast<unsigned char>(request[1]) & 0x80) ? request[1] & 0x7f : 0);
    p += 3;
    p += 2 + static_cast<unsigned char>(request[p + 1]);
    p += 2 + ((static_cast<unsigned char>(request[p + 1]) & 0x80) ? request[p + 1] & 0x7f : 0);
    const std::string id = request.substr(p, 2 + static_cast<unsigned char>(request[p + 1]));
    auto tlv = [](char tag, const std::string& body) {
        return std::string(1, tag) + char(body.size()) + body;
    };
    const std::string oid("\x2b\x06\x01\x02\x01\x01\x05\x00", 8);
    const std::string binding = tlv(0x30, tlv(0x06, oid) + tlv(0x04, value));
    const std::string pdu = tlv(
        '\xa2', id + tlv(0x02, std::string(1, '\0')) + tlv(0x02, std::string(1, '\0')) + tlv(0x30, binding));
    return tlv(0x30, tlv(0x02, std::string(1, '\0')) + tlv(0x04, "rdcomm") + pdu);
}

TEST(Forgery, OnlyTheDeviceAnswers) {
    const kmstest::SilentUdpPort devicePort, otherPort;  // answered by hand
    const int device = devicePort.Fd(), other = otherPort.Fd();
    CCommonSNMP session(kmstest::LoopbackSettings(devicePort.Port(), "rdcomm", "wrcomms"));
    std::thread fake([&] {
        char buf[1500];
        sockaddr_in from{};
        socklen_t len = sizeof from;
        const ssize_t n = recvfrom(device, buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&from), &len);
        if (n <= 0) return;
        const std::string request(buf, static_cast<std::size_t>(n));
        // Someone else answers first, with the right request id, from another port.
        const std::string forged = V1Answer(request, "forged");
        sendto(other, forged.data(), forged.size(), 0, reinterpret_cast<sockaddr*>(&from), len);
        std::this_thread::sleep_for(milliseconds(100));
        const std::string genuine = V1Answer(request, "genuine");
        sendto(device, genuine.data(), genuine.size(), 0, reinterpret_cast<sockaddr*>(&from), len);
    });
    std::unique_ptr<CSnmp> answer;
    EXPECT_EQ(Request(session, kSnmpGet, {{kSysName}}, answer), 0);
    fake.join();
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->getValue(0), "genuine");
}

}  // namespace

int main(int argc, char** argv) {
    SnmpEngineInit();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
