#include "sim/record/scrub.h"

#include <gtest/gtest.h>

namespace kmssim {
namespace {

const std::string kV = "1.3.6.1.4.1.32473.10.75.13";

Oid Id(const std::string& text) {
    return *ParseOid(text);
}

TEST(ScrubCredentials, SecretsBecomePlaceholdersAndTheRestStays) {
    const auto S = Value::Str;
    const auto I = Value::Int;
    // A community's row moves to its placeholder's index: "community1", "community2".
    const std::string c1 = ".10.99.111.109.109.117.110.105.116.121.49",
                      c2 = ".10.99.111.109.109.117.110.105.116.121.50";
    const std::string community = kV + ".25.5.1.1.";
    // The object, its value before and after, and where it moved to: "" nowhere, "gone" when the row goes.
    const std::tuple<std::string, Value, Value, std::string> rows[] = {
        {kV + ".11.1.2.0", S("k3y-secret"), S("removed"), ""},                  // RADIUS key
        {kV + ".25.2.1.1.5.3.97.98.99.3", S("pw-one-1234"), S("removed"), ""},  // auth password of user abc
        {kV + ".25.2.1.1.5.3.100.101.102.3", S(""), S(""), ""},                 // none set: nothing to hide
        {kV + ".25.2.1.1.7.3.97.98.99.3", S("privpass99"), S("removed"), ""},   // priv password
        {community + "1.6.112.117.98.108.105.99", S("public"), S("community1"), community + "1" + c1},
        {community + "2.6.112.117.98.108.105.99", S("rdview"), S("rdview"), community + "2" + c1},
        {community + "1.7.112.114.105.118.97.116.101", S("private"), S("community2"), community + "1" + c2},
        {community + "3.7.112.114.105.118.97.116.101", I(1), I(1), community + "3" + c2},
        // Trap hosts: v2c, v3 (a user), v1.
        {kV + ".25.6.1.1.2.10.0.0.1", S("private"), S("community2"), ""},
        {kV + ".25.6.1.1.3.10.0.0.1", I(2), I(2), ""},
        {kV + ".25.6.1.1.2.10.0.0.2", S("admin"), S("admin"), ""},
        {kV + ".25.6.1.1.3.10.0.0.2", I(5), I(5), ""},
        {kV + ".25.6.1.1.2.10.0.0.3", S("traps"), S("community3"), ""},
        {kV + ".25.6.1.1.3.10.0.0.3", I(1), I(1), ""},
        {"1.3.6.1.2.1.1.4.0", S("ops, community lab-secret"), S("removed"), ""},  // holds the community
        {"1.3.6.1.2.1.1.5.0", S("lab"), S("lab"), ""},     // holds a short secret: not taken for it
        {"1.3.6.1.2.1.1.6.0", S("ab"), S("removed"), ""},  // is the short secret
        {kV + ".25.3.1.1.1.10.108.97.98.45.115.101.99.114.101.116", S("x"), S("x"), "gone"},  // indexed by it
        {"1.3.6.1.2.1.1.7.0", I(2), I(2), ""},
    };
    Store s, want;
    for (const auto& [oid, before, after, movedTo] : rows) {
        s[Id(oid)] = before;
        if (movedTo != "gone") want[Id(movedTo.empty() ? oid : movedTo)] = after;
    }
    EXPECT_EQ(ScrubCredentials(s, {"lab-secret", "ab", ""}), 10);
    ASSERT_EQ(s.size(), want.size());
    for (auto a = s.begin(), b = want.begin(); a != s.end(); ++a, ++b) {
        EXPECT_EQ(OidText(a->first), OidText(b->first));
        EXPECT_TRUE(a->second == b->second) << OidText(a->first) << " holds " << a->second.bytes;
    }
}

}  // namespace
}  // namespace kmssim
