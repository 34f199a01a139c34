#include "sim/record/scrub.h"

#include <gtest/gtest.h>

namespace kmssim {
namespace {

const std::string kV = "1.3.6.1.4.1.32473.10.75.13";

Oid Id(const std::string& text) {
    return *ParseOid(text);
}

TEST(ScrubCredentials, SecretsBecomePlaceholdersAndTheRestStays) {
    Store s;
    auto str = [&s](const std::string& oid, const std::string& text) { s[Id(oid)] = Value::Str(text); };
    str(kV + ".11.1.2.0", "k3y-secret");                        // RADIUS key
    str(kV + ".25.2.1.1.5.3.97.98.99.3", "pw-one-1234");        // auth password of user abc
    str(kV + ".25.2.1.1.5.3.100.101.102.3", "");                // none set: nothing to hide
    str(kV + ".25.2.1.1.7.3.97.98.99.3", "privpass99");         // priv password
    str(kV + ".25.5.1.1.1.6.112.117.98.108.105.99", "public");  // community table
    str(kV + ".25.5.1.1.2.6.112.117.98.108.105.99", "rdview");
    str(kV + ".25.5.1.1.1.7.112.114.105.118.97.116.101", "private");
    s[Id(kV + ".25.5.1.1.3.7.112.114.105.118.97.116.101")] = Value::Int(1);
    str(kV + ".25.6.1.1.2.10.0.0.1", "private");  // trap hosts: v2c, v3 (a user), v1
    s[Id(kV + ".25.6.1.1.3.10.0.0.1")] = Value::Int(2);
    str(kV + ".25.6.1.1.2.10.0.0.2", "admin");
    s[Id(kV + ".25.6.1.1.3.10.0.0.2")] = Value::Int(5);
    str(kV + ".25.6.1.1.2.10.0.0.3", "traps");
    s[Id(kV + ".25.6.1.1.3.10.0.0.3")] = Value::Int(1);
    str("1.3.6.1.2.1.1.4.0", "ops, community lab-secret");  // holds the recording's community
    str("1.3.6.1.2.1.1.5.0", "lab");                        // holds a short secret: not taken for it
    str("1.3.6.1.2.1.1.6.0", "ab");                         // is the short secret
    str(kV + ".25.3.1.1.1.10.108.97.98.45.115.101.99.114.101.116", "x");  // indexed by the secret
    s[Id("1.3.6.1.2.1.1.7.0")] = Value::Int(2);

    EXPECT_EQ(ScrubCredentials(s, {"lab-secret", "ab", ""}), 10);

    Store want;
    auto put = [&want](const std::string& oid, const std::string& text) { want[Id(oid)] = Value::Str(text); };
    put(kV + ".11.1.2.0", "removed");
    put(kV + ".25.2.1.1.5.3.97.98.99.3", "removed");
    put(kV + ".25.2.1.1.5.3.100.101.102.3", "");
    put(kV + ".25.2.1.1.7.3.97.98.99.3", "removed");
    put(kV + ".25.5.1.1.1.10.99.111.109.109.117.110.105.116.121.49", "community1");
    put(kV + ".25.5.1.1.2.10.99.111.109.109.117.110.105.116.121.49", "rdview");
    put(kV + ".25.5.1.1.1.10.99.111.109.109.117.110.105.116.121.50", "community2");
    want[Id(kV + ".25.5.1.1.3.10.99.111.109.109.117.110.105.116.121.50")] = Value::Int(1);
    put(kV + ".25.6.1.1.2.10.0.0.1", "community2");
    want[Id(kV + ".25.6.1.1.3.10.0.0.1")] = Value::Int(2);
    put(kV + ".25.6.1.1.2.10.0.0.2", "admin");
    want[Id(kV + ".25.6.1.1.3.10.0.0.2")] = Value::Int(5);
    put(kV + ".25.6.1.1.2.10.0.0.3", "community3");
    want[Id(kV + ".25.6.1.1.3.10.0.0.3")] = Value::Int(1);
    put("1.3.6.1.2.1.1.4.0", "removed");
    put("1.3.6.1.2.1.1.5.0", "lab");
    put("1.3.6.1.2.1.1.6.0", "removed");
    want[Id("1.3.6.1.2.1.1.7.0")] = Value::Int(2);
    ASSERT_EQ(s.size(), want.size());
    for (auto a = s.begin(), b = want.begin(); a != s.end(); ++a, ++b) {
        EXPECT_EQ(OidText(a->first), OidText(b->first));
        EXPECT_TRUE(a->second == b->second) << OidText(a->first) << " holds " << a->second.bytes;
    }
}

}  // namespace
}  // namespace kmssim
