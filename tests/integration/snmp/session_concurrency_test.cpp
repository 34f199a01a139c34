// Two owners, one SNMPv1 and one SNMPv3 authPriv session, walk at once: both walks must be complete and
// correct. CI also runs this under Helgrind.

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "tests/fixtures/snmp_reader.h"
#include "tests/integration/snmp/session_test_support.h"
#include "tests/integration/snmp/snmpd_environment.h"

namespace {

// Under Valgrind everything runs some 50 times slower: walk a shorter column there, with longer time-outs.
std::string Column() {
    return std::getenv("KMS_SHORT_WALK") ? std::string("1.3.6.1.2.1.1") : SnmpdFixture::BigColumnOid();
}

TEST(TwoSessions, WalkAtOnceFromTwoOwners) {
    ASSERT_TRUE(Agent().running());
    const std::string column = Column();
    const auto expected = SnmpReader(Agent().SettingsV1()).Walk(column);
    ASSERT_FALSE(expected.empty());

    ModuleSettings s1 = Agent().SettingsV1(), s3 = Agent().SettingsV3("usrshaaes");
    if (std::getenv("KMS_SHORT_WALK")) s1.SnmpTimeoutText = s3.SnmpTimeoutText = "30000";
    CCommonSNMP v1(s1);
    CCommonSNMP v3(s3);
    WalkRecorder walk1(v1), walk3(v3);
    // Each owner starts its walk from its own thread, as two dialogs would.
    std::thread owner1([&] { walk1.Start({column}); });
    std::thread owner3([&] { walk3.Start({column}); });
    owner1.join();
    owner3.join();
    ASSERT_TRUE(walk1.Wait(std::chrono::seconds(100)));
    ASSERT_TRUE(walk3.Wait(std::chrono::seconds(100)));
    // Every row as "OID=VALUE" but sysUpTime's value, which moves.
    const auto text = [](const auto& rows) {
        std::string lines;
        for (const auto& r : rows)
            lines += r.oid + "=" + (r.oid == "1.3.6.1.2.1.1.3.0" ? "" : r.value) + "\n";
        return lines;
    };
    for (WalkRecorder* w : {&walk1, &walk3}) {
        EXPECT_EQ(w->finalStatus, kSnmpEndOfWalk);
        EXPECT_EQ(text(w->rows), text(expected));
    }
    v1.Close();
    v3.Close();
}

}  // namespace
