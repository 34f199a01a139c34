// Get, get-next and set through CCommonSNMP against Debian's snmpd, for SNMPv1 and every SNMPv3
// security level, checked with the independent command-line tools.

#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "tests/fixtures/snmp_reader.h"
#include "tests/integration/snmp/session_test_support.h"
#include "tests/integration/snmp/snmpd_environment.h"

namespace {

// (type, value) of every binding of an answer.
std::vector<std::pair<int, std::string>> Values(const CSnmp& answer) {
    std::vector<std::pair<int, std::string>> v;
    for (int i = 0; i < answer.getValuesCount(); ++i)
        v.emplace_back(answer.getValueType(i), answer.getValue(i));
    return v;
}

using EveryLevel = ::testing::TestWithParam<std::string>;

TEST_P(EveryLevel, SetThenGetAndGetNext) {
    const ModuleSettings settings = SettingsFor(GetParam());
    CCommonSNMP session(settings);
    SnmpReader reader(settings);
    const std::string name = "kms-" + GetParam();
    // Bytes with an explicit length: only the first five go out.
    const std::string written("lab\xC3\xA9-not-sent"), location = written.substr(0, 5);
    ASSERT_TRUE(session.Open(kSnmpSet));
    ASSERT_EQ(session.AddValue(kSysName, kBindOctets, name.c_str()), 0);
    ASSERT_EQ(session.AddValue(kSysLocation, kBindOctets, written.data(), 5), 0);
    std::unique_ptr<CSnmp> answer;
    ASSERT_EQ(session.Send(answer, 0), 0);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->getValuesCount(), 2);

    // The independent tools see the write.
    const SnmpReadValue byTool = reader.Get(kSysName);
    EXPECT_EQ(std::tie(byTool.ok, byTool.type, byTool.value), std::tuple(true, std::string("STRING"), name));
    EXPECT_EQ(reader.Get(kSysLocation).value, location);

    // Get through the session.
    ASSERT_EQ(Request(session, kSnmpGet, {{kSysName}, {kSysLocation}}, answer), 0);
    EXPECT_EQ(answer->getOid(0), kSysName);
    EXPECT_EQ(Values(*answer), (std::vector<std::pair<int, std::string>>{{kSnmpOctetString, name},
                                                                         {kSnmpOctetString, location}}));
    long status = -1;
    unsigned long index = 9;
    answer->getErrorInfo(status, index);
    EXPECT_EQ(std::pair(status, index), std::pair(0L, 0UL));

    // Get-next from the column gives its instance; the next call continues from there and leaves it.
    ASSERT_EQ(Request(session, kSnmpGetNext, {{"1.3.6.1.2.1.1.5"}}, answer), 0);
    EXPECT_EQ(answer->getOid(0), kSysName);
    EXPECT_EQ(answer->getValue(0), name);
    std::string suffix;
    EXPECT_EQ(session.GetSuffix(0, answer.get(), suffix), 0);
    EXPECT_EQ(suffix, ".0");
    EXPECT_EQ(session.GetNext(answer, 0), kSnmpEndOfWalk);
    EXPECT_FALSE(answer);
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
    std::unique_ptr<CSnmp> answer;
    EXPECT_NE(Request(refused, kSnmpSet, {{kSysLocation, kBindOctets, "after"}}, answer, 1000), 0);
    EXPECT_FALSE(answer);
    EXPECT_EQ(reader.Get(kSysLocation).value, "before");
    // Reads carry the read community: with a wrong write community they still work.
    settings.WriteCommunity = "nosuchcommunity";
    CCommonSNMP reads(settings);
    EXPECT_EQ(Request(reads, kSnmpGet, {{kSysLocation}}, answer, 1000), 0);
}

TEST(SnmpdSession, AgentErrorsComeBackAsTheirStatus) {
    std::unique_ptr<CSnmp> answer;
    // An integer for a string object: v1 badValue (3). A read-only object: v1 noSuchName (2).
    for (const auto& [oid, value, status] : {std::tuple{kSysName, "5", 3}, {"1.3.6.1.2.1.1.7.0", "72", 2}}) {
        CCommonSNMP session(Agent().SettingsV1());
        EXPECT_EQ(Request(session, kSnmpSet, {{oid, kBindInteger, value}}, answer), status) << oid;
    }
    // A missing instance: noSuchName for v1 (error status) and for v3 (exception value) alike.
    for (const ModuleSettings& s : {Agent().SettingsV1(), Agent().SettingsV3("usrshaaes")}) {
        CCommonSNMP get(s);
        EXPECT_EQ(Request(get, kSnmpGet, {{"1.3.6.1.2.1.1.5.1"}}, answer), 2) << s.SnmpVersion;
        EXPECT_FALSE(answer);
    }
}

TEST(SnmpdSession, CallbackMayUseTheSessionSynchronously) {
    // A new request from inside the callback of an asynchronous one, sent and waited for on the worker.
    CCommonSNMP session(Agent().SettingsV3("usrsha256aes"));
    ASSERT_TRUE(session.Open(kSnmpGet));
    session.AddValue(kSysName, kBindNull, nullptr);
    std::promise<std::pair<int, int>> outer;
    auto done = outer.get_future();
    ASSERT_EQ(session.GetNextAsync(
                  [&](std::unique_ptr<CSnmp>, int id, void*, int status) {
                      std::unique_ptr<CSnmp> inner;
                      int s = -5;
                      if (session.RemoveRequestId(id) == 1 && session.Open(kSnmpGet) &&
                          session.AddValue(kSysLocation, kBindNull, nullptr) == 0)
                          s = session.GetNext(inner, 0);
                      outer.set_value({status, s});
                      return 0u;
                  },
                  nullptr, 0),
              0);
    ASSERT_EQ(done.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(done.get(), std::pair(0, 0));
}

}  // namespace
