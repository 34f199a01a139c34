// What the SNMP-agent dialogs decide without a device: reading rows back, the host address classes,
// the order of the user checks and the subtree's bounds.

#include "dialogs/agent/snmp_agent_rules.h"

#include <gtest/gtest.h>

namespace {
SnmpBinding B(const std::string& value) {
    return {"", 0, value};
}
std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}
UserEntry U(const char* name, const char* group, const char* version, bool encrypted = false,
            const char* auth = "MD5", const std::string& authPassword = "", const char* priv = "None",
            const std::string& privPassword = "") {
    return {name, group, version, encrypted, auth, authPassword, priv, privPassword};
}
}  // namespace

TEST(AgentRows, ViewSubtreeComesFromTheIndex) {
    const std::pair<const char*, const char*> cases[] = {
        {".3.108.97.98.4.1.3.6.1", "1.3.6.1"},
        {".2.200.97.2.1.3", "1.3"},      // a name byte of 200 is one sub-identifier like any other
        {".3.108.97.98.5.1.3.6.1", ""},  // fewer components than the index says
        {".3.108.97.98", ""},
        {"", ""},
    };
    for (const auto& [suffix, subtree] : cases) EXPECT_EQ(ViewSubtreeFromIndex(suffix), subtree) << suffix;
    EXPECT_EQ(MaskText(std::string("\x01\x01\x00", 3)), "1.1.0");
}

TEST(AgentRows, CodesBecomeTextsAndUnknownCodesStayNumbers) {
    const auto user = UserRowFrom({B("bob"), B("3"), B("grp"), B("2"), B("2"), B("1")});
    ASSERT_TRUE(user);
    EXPECT_EQ(user->version + "/" + user->authProtocol + "/" + user->privProtocol, "V3/MD5/DES_CBC");
    const auto group = GroupRowFrom({B("g"), B("2"), B("3"), B("r"), B(""), B("n"), B("1")});
    ASSERT_TRUE(group);
    EXPECT_EQ(group->model + "/" + group->level, "v2c/AuthPriv");
    EXPECT_EQ(UserRowFrom({B("x"), B("9"), B(""), B("0"), B("1"), B("1")})->version, "9");
    EXPECT_FALSE(HostRowFrom({B("pub"), B("10.0.0.1"), B("4")}));
}

TEST(AgentChecks, HostAddressClasses) {
    const std::pair<std::uint32_t, bool> cases[] = {
        {0x0A000001, true},  {0x0A000000, false}, {0x0AFFFFFF, false}, {0x7F000001, false},
        {0xAC10FF01, true},  {0xAC100000, false}, {0xAC10FFFF, false}, {0xC0A80101, true},
        {0xC0A801FF, false}, {0xDFFFFF01, true},  {0xE0000001, false}, {0x00000001, false},
    };
    for (const auto& [address, ok] : cases) EXPECT_EQ(IsClassfulHost(address), ok) << std::hex << address;
}

TEST(AgentChecks, UserChecksInOrder) {
    const std::vector<AgentUserRow> listed{{"bob", "g", "V1", "None", "None", "1"}};
    // The entry, the refusal and the field that takes the focus.
    const std::tuple<UserEntry, const char*, UserField> cases[] = {
        {U("", "", "V1"), "Please enter valid User Name", UserField::None},
        {U("a/b", "", "V1"), "Invalid User Name .", UserField::None},
        {U("ann", "", "V1"), "Please enter valid Group Name", UserField::None},
        {U("bob", "g", "V1"), "This User Entry already exists.", UserField::None},
        {U("bob", "g", "V2c"), "", UserField::None},
        {U("ann", "g", "V3", true, "SHA", "  ", "DES"), "Auth-Protocol Password can't be empty.",
         UserField::None},
        {U("ann", "g", "V3", true, "SHA", "pw", "DES", " "), "Priv-Protocol Password can't be empty.",
         UserField::None},
        {U("ann", "g", "V3", true, "SHA", "pw", "DES", Repeat("p", 33)), " DES Max. Password length is 32.",
         UserField::PrivPassword},
        {U("ann", "g", "V3", true, "MD5", Repeat("m", 33)), " MD5 Max. Password length is 32.",
         UserField::AuthPassword},
        {U("ann", "g", "V3", true, "SHA", Repeat("s", 40)), "", UserField::None},
        {U("ann", "g", "V3", true, "SHA", Repeat("s", 41)), " SHA Max. Password length is 40.",
         UserField::AuthPassword},
        // 32 characters of two bytes each: the limit counts characters.
        {U("ann", "g", "V3", true, "MD5", Repeat("\xC3\xA9", 32)), "", UserField::None},
        {U("ann", "g", "V3", false, "MD5", "", "DES"), "", UserField::None},
    };
    for (const auto& [entry, message, wantFocus] : cases) {
        UserField focus = UserField::AuthPassword;
        EXPECT_EQ(UserRefusal(entry, listed, &focus), message) << entry.name;
        EXPECT_EQ(focus, wantFocus) << message;
    }
    EXPECT_EQ(UserRefusal(U("ann", "g", "V1"), std::vector<AgentUserRow>(50), nullptr),
              "Maximum number of User Entry is 50.");
    EXPECT_EQ(UserRefusal(U("ann", "g", "V1"), std::vector<AgentUserRow>(49), nullptr), "");
}

TEST(AgentChecks, GroupViewCommunityAndHostRefusals) {
    const std::vector<AgentGroupRow> groups{{"nov", "", "", "", "v2c", "NoAuthNoPriv", "1"}};
    const std::vector<AgentViewRow> views{{"ReadView", "1.3.6.1", "", "Included", "1"}};
    std::vector<std::uint32_t> subtree;
    std::string mask;
    auto view = [&](const char* name, const char* oid, const char* m) {
        return ViewRefusal({name, oid, m}, views, &subtree, &mask);
    };
    const std::vector<AgentHostRow> hosts{{"192.168.0.100", "V2c", "trapcomm", "1"}};
    auto host = [&](const char* address, const char* name) {
        return HostRefusal(ParseIpv4Fields(address).value(), name, hosts);
    };
    const std::pair<std::string, const char*> cases[] = {
        {GroupRefusal({"", "v2c", 0, "", "", ""}, groups), "Please enter valid group name!"},
        {GroupRefusal({"a.b", "v2c", 0, "", "", ""}, groups), "Invalid Group Name."},
        {view("", "1.3", "1"), "Please enter valid view name."},
        {view("lab", ".1.3", "1"), "Please enter valid subtree OID ."},
        {view("lab", "1..3", "1"), "Please enter valid subtree OID ."},
        {view("lab", "1.3.", "1"), "Please enter valid subtree OID ."},
        {view("lab", "1.3.a", "1"), "Please enter valid subtree OID"},
        {view("lab", "1.3.6.1", "1.2"), "Please enter valid OID Mask."},
        {view("lab", "1.3.6.1", "1.1.1.1.1"), "Invalid  OID length"},
        {view("ReadView", "01.3.6.1", "1"), "This View Entry already exist."},  // numbers, not texts
        {CommunityRefusal("a,b", {}), "Invalid Community Name."},
        {host("192.168.1.255", "pub"), "Invalid Host IP."},  // the classes have their own table
        {host("10.0..1", "pub"), "Invalid Host IP."},
        {host("10.0.0.1", ""), "The Community String or SNMPv3 User Name can not be empty."},
    };
    for (const auto& [refusal, message] : cases) EXPECT_EQ(refusal, message);
}

TEST(AgentChecks, SubtreeComponentsFitThirtyTwoBits) {
    std::vector<std::uint32_t> components;
    EXPECT_EQ(ParseSubtree("1.3.4294967295", &components), "");
    EXPECT_EQ(components.back(), 4294967295u);
    EXPECT_EQ(ParseSubtree("1.3.4294967296", &components), "Please enter valid subtree OID");
    EXPECT_EQ(ParseSubtree("1.3.000000000007", &components), "");
    EXPECT_EQ(components.back(), 7u);
}
