// Get, get-next and set through CCommonSNMP against Debian's snmpd, for SNMPv1 and every SNMPv3
// security level, checked with the independent command-line tools.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "snmp/common_snmp.h"
#include "tests/fixtures/snmp_reader.h"
#include "tests/integration/snmp/snmpd_environment.h"

namespace {

const char kSysName[] = "1.3.6.1.2.1.1.5.0";
const char kSysLocation[] = "1.3.6.1.2.1.1.6.0";
const char kSysContact[] = "1.3.6.1.2.1.1.4.0";

const ::testing::Environment* const g_env = ::testing::AddGlobalTestEnvironment(new AgentEnvironment);

// "v1" or a v3 user of the fixture.
ModuleSettings SettingsFor(const std::string& who) {
    return who == "v1" ? Agent().SettingsV1() : Agent().SettingsV3(who);
}

class EveryLevel : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override { ASSERT_TRUE(Agent().running()); }
};

TEST_P(EveryLevel, SetThenGetAndGetNext) {
    const ModuleSettings settings = SettingsFor(GetParam());
    CCommonSNMP session(settings);
    SnmpReader reader(settings);
    const std::string name = "kms-" + GetParam();
    // Bytes with an explicit length: only the first five go out.
    const std::string written("lab\xC3\xA9-not-sent");
    const std::string location = written.substr(0, 5);

    ASSERT_TRUE(session.Open(kSnmpSet));
    ASSERT_EQ(session.AddValue(kSysName, kBindOctets, name.c_str()), 0);
    ASSERT_EQ(session.AddValue(kSysLocation, kBindOctets, written.data(), 5), 0);
    std::unique_ptr<CSnmp> answer;
    ASSERT_EQ(session.Send(answer, 0), 0);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->getValuesCount(), 2);
    answer.reset();

    // The independent tools see the write.
    const SnmpReadValue byTool = reader.Get(kSysName);
    EXPECT_TRUE(byTool.ok);
    EXPECT_EQ(byTool.type, "STRING");
    EXPECT_EQ(byTool.value, name);
    EXPECT_EQ(reader.Get(kSysLocation).value, location);

    // Get through the session.
    ASSERT_TRUE(session.Open(kSnmpGet));
    session.AddValue(kSysName, kBindNull, nullptr);
    session.AddValue(kSysLocation, kBindNull, nullptr);
    ASSERT_EQ(session.GetNext(answer, 0), 0);
    ASSERT_EQ(answer->getValuesCount(), 2);
    EXPECT_EQ(answer->getOid(0), kSysName);
    EXPECT_EQ(answer->getValueType(0), kSnmpOctetString);
    EXPECT_EQ(answer->getValue(0), name);
    EXPECT_EQ(answer->getValue(1), location);
    long status = -1;
    unsigned long index = 9;
    answer->getErrorInfo(status, index);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(index, 0u);

    // Get-next from the column gives its instance; the next call continues from there and leaves it.
    ASSERT_TRUE(session.Open(kSnmpGetNext));
    session.AddValue("1.3.6.1.2.1.1.5", kBindNull, nullptr);
    ASSERT_EQ(session.GetNext(answer, 0), 0);
    EXPECT_EQ(answer->getOid(0), kSysName);
    EXPECT_EQ(answer->getValue(0), name);
    std::string suffix;
    EXPECT_EQ(session.GetSuffix(0, answer.get(), suffix), 0);
    EXPECT_EQ(suffix, ".0");
    EXPECT_EQ(session.GetNext(answer, 0), kSnmpEndOfWalk);
    EXPECT_FALSE(answer);
}

TEST_P(EveryLevel, NumbersAddressesAndOidsAsText) {
    CCommonSNMP session(SettingsFor(GetParam()));
    ASSERT_TRUE(session.Open(kSnmpGet));
    session.AddValue("1.3.6.1.2.1.1.2.0", kBindNull, nullptr);               // sysObjectID
    session.AddValue("1.3.6.1.2.1.1.3.0", kBindNull, nullptr);               // sysUpTime
    session.AddValue("1.3.6.1.2.1.2.2.1.3.1", kBindNull, nullptr);           // ifType.1
    session.AddValue("1.3.6.1.2.1.2.2.1.5.1", kBindNull, nullptr);           // ifSpeed.1
    session.AddValue("1.3.6.1.2.1.4.20.1.1.127.0.0.1", kBindNull, nullptr);  // ipAdEntAddr
    std::unique_ptr<CSnmp> answer;
    ASSERT_EQ(session.GetNext(answer, 0), 0);
    ASSERT_EQ(answer->getValuesCount(), 5);
    SnmpReader reader(SettingsFor(GetParam()));
    EXPECT_EQ(answer->getValueType(0), kSnmpObjectId);
    EXPECT_EQ(answer->getValue(0), reader.Get("1.3.6.1.2.1.1.2.0").value);
    EXPECT_EQ(answer->getValueType(1), kSnmpTimeTicks);
    EXPECT_GT(std::stoul(answer->getValue(1)), 0u);
    EXPECT_EQ(answer->getValueType(2), kSnmpInteger);
    EXPECT_EQ(answer->getValue(2), reader.Get("1.3.6.1.2.1.2.2.1.3.1").value);
    EXPECT_EQ(answer->getValueType(3), kSnmpGauge32);
    EXPECT_EQ(answer->getValue(3), reader.Get("1.3.6.1.2.1.2.2.1.5.1").value);
    EXPECT_EQ(answer->getValueType(4), kSnmpIpAddress);
    EXPECT_EQ(answer->getValue(4), "127.0.0.1");
}

INSTANTIATE_TEST_SUITE_P(Snmpd, EveryLevel,
                         ::testing::Values("v1", "usrnone", "usrmd5", "usrsha", "usrsha224", "usrsha384",
                                           "usrmd5des", "usrshades", "usrshaaes", "usrsha256aes",
                                           "usrsha512aes"),
                         [](const auto& info) { return info.param; });

TEST(SnmpdSession, SetCarriesTheWriteCommunity) {
    ModuleSettings settings = Agent().SettingsV1();
    SnmpReader reader(settings);
    ASSERT_TRUE(reader.Set(kSysLocation, 's', "before"));

    // The read community in the write slot: the agent refuses the set (v1 noSuchName).
    settings.WriteCommunity = SnmpdFixture::ReadCommunity();
    CCommonSNMP refused(settings);
    ASSERT_TRUE(refused.Open(kSnmpSet));
    refused.AddValue(kSysLocation, kBindOctets, "after");
    std::unique_ptr<CSnmp> answer;
    const int status = refused.Send(answer, 1000);
    EXPECT_NE(status, 0);
    EXPECT_FALSE(answer);
    EXPECT_EQ(reader.Get(kSysLocation).value, "before");

    // Reads carry the read community: with a wrong write community they still work.
    settings.WriteCommunity = "nosuchcommunity";
    CCommonSNMP reads(settings);
    ASSERT_TRUE(reads.Open(kSnmpGet));
    reads.AddValue(kSysLocation, kBindNull, nullptr);
    EXPECT_EQ(reads.GetNext(answer, 1000), 0);
}

TEST(SnmpdSession, AgentErrorsComeBackAsTheirStatus) {
    CCommonSNMP session(Agent().SettingsV1());
    std::unique_ptr<CSnmp> answer;
    // An integer for a string object: v1 badValue (3).
    ASSERT_TRUE(session.Open(kSnmpSet));
    session.AddValue(kSysName, kBindInteger, "5");
    EXPECT_EQ(session.Send(answer, 0), 3);
    // A read-only object: v1 noSuchName (2).
    ASSERT_TRUE(session.Open(kSnmpSet));
    session.AddValue("1.3.6.1.2.1.1.7.0", kBindInteger, "72");
    EXPECT_EQ(session.Send(answer, 0), 2);
    // A missing instance: noSuchName for v1 (error status) and for v3 (exception value) alike.
    for (const ModuleSettings& s : {Agent().SettingsV1(), Agent().SettingsV3("usrshaaes")}) {
        CCommonSNMP get(s);
        ASSERT_TRUE(get.Open(kSnmpGet));
        get.AddValue("1.3.6.1.2.1.1.5.1", kBindNull, nullptr);
        EXPECT_EQ(get.GetNext(answer, 0), 2) << s.SnmpVersion;
        EXPECT_FALSE(answer);
    }
}

TEST(SnmpdSession, WrongPassphraseFailsWithTheReportsReason) {
    ModuleSettings settings = Agent().SettingsV3("usrshaaes");
    settings.AuthPassword = "not-the-password";
    CCommonSNMP session(settings);
    ASSERT_TRUE(session.Open(kSnmpGet));
    session.AddValue(kSysName, kBindNull, nullptr);
    std::unique_ptr<CSnmp> answer;
    EXPECT_EQ(session.GetNext(answer, 1000), kSnmpFailed);
    EXPECT_FALSE(answer);
    EXPECT_EQ(session.LastFailure(), SnmpFailure::WrongDigest);
}

TEST(SnmpdSession, AsynchronousGetAnswersOnAWorker) {
    CCommonSNMP session(Agent().SettingsV3("usrsha256aes"));
    ASSERT_TRUE(session.Open(kSnmpGet));
    session.AddValue(kSysName, kBindNull, nullptr);
    std::mutex m;
    std::condition_variable cv;
    bool called = false;
    std::thread::id where;
    int gotStatus = 99, gotId = 0, gotAnswerId = -1;
    ASSERT_EQ(session.GetNextAsync(
                  [&](std::unique_ptr<CSnmp> r, int id, void*, int status) {
                      std::lock_guard<std::mutex> l(m);
                      called = true;
                      where = std::this_thread::get_id();
                      gotStatus = status;
                      gotId = id;
                      gotAnswerId = r ? r->getRequestID() : -1;
                      EXPECT_EQ(session.RemoveRequestId(id), 1);
                      EXPECT_EQ(session.RemoveRequestId(id), 0);
                      cv.notify_all();
                      return 0u;
                  },
                  nullptr, 0),
              0);
    std::unique_lock<std::mutex> l(m);
    ASSERT_TRUE(cv.wait_for(l, std::chrono::seconds(10), [&] { return called; }));
    EXPECT_EQ(gotStatus, 0);
    EXPECT_NE(where, std::this_thread::get_id());
    EXPECT_GT(gotId, 0);
    EXPECT_EQ(gotAnswerId, gotId);
}

TEST(SnmpdSession, CallbackMayUseTheSessionSynchronously) {
    CCommonSNMP session(Agent().SettingsV1());
    ASSERT_TRUE(session.Open(kSnmpGet));
    session.AddValue(kSysName, kBindNull, nullptr);
    std::mutex m;
    std::condition_variable cv;
    bool finished = false;
    int innerStatus = 99;
    session.GetNextAsync(
        [&](std::unique_ptr<CSnmp>, int, void*, int) {
            // A new request from inside the callback, sent and waited for on the worker.
            std::unique_ptr<CSnmp> inner;
            int s = -5;
            if (session.Open(kSnmpGet) && session.AddValue(kSysContact, kBindNull, nullptr) == 0)
                s = session.GetNext(inner, 0);
            std::lock_guard<std::mutex> l(m);
            innerStatus = s;
            finished = true;
            cv.notify_all();
            return 0u;
        },
        nullptr, 0);
    std::unique_lock<std::mutex> l(m);
    ASSERT_TRUE(cv.wait_for(l, std::chrono::seconds(10), [&] { return finished; }));
    EXPECT_EQ(innerStatus, 0);
}

}  // namespace
