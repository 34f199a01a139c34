#include "dialogs/switch/dot1x_rules.h"

#include <gtest/gtest.h>

#include "core/text_number.h"

namespace {

TEST(LeadingInt64, WideEnoughForUnsignedTimersAndSaturating) {
    EXPECT_EQ(LeadingInt64("4294967296"), 4294967296LL);
    EXPECT_EQ(LeadingInt64(" -12x"), -12);
    EXPECT_EQ(LeadingInt64("99999999999999999999"), 9223372036854775807LL);
    EXPECT_EQ(LeadingInt64("-99999999999999999999"), -9223372036854775807LL - 1);
    EXPECT_EQ(LeadingInt64(""), 0);
    EXPECT_EQ(LeadingInt("4294967296"), 2147483647);
}

TEST(Dot1xTimerRefusal, RangesInOrderWithTheExactMessages) {
    const Dot1xTimerTexts good{"60", "30", "30", "30", "2", "3600"};
    struct Case {
        std::string Dot1xTimerTexts::*field;
        const char* text;
        const char* message;
    } cases[] = {
        {&Dot1xTimerTexts::quietPeriod, "0", ""},
        {&Dot1xTimerTexts::quietPeriod, "65535", ""},
        {&Dot1xTimerTexts::quietPeriod, "65536", "Invalid QuietPeriod (0-65535)"},
        {&Dot1xTimerTexts::quietPeriod, "-1", "Invalid QuietPeriod (0-65535)"},
        {&Dot1xTimerTexts::txPeriod, "0", "Invalid TxPeriod (1-65535)"},
        {&Dot1xTimerTexts::txPeriod, "65535", ""},
        {&Dot1xTimerTexts::suppTimeout, "0", "Invalid SuppTimeout (1-65535)"},
        {&Dot1xTimerTexts::serverTimeout, "70000", "Invalid ServerTimeout (1-65535)"},
        {&Dot1xTimerTexts::maxReq, "11", "Invalid MaxReq (1-10)"},
        {&Dot1xTimerTexts::maxReq, "10", ""},
        {&Dot1xTimerTexts::reAuthPeriod, "0", "Invalid ReAuthPeriod (1-4294967295)"},
        {&Dot1xTimerTexts::reAuthPeriod, "4294967296", "Invalid ReAuthPeriod (1-4294967295)"},
        {&Dot1xTimerTexts::reAuthPeriod, "9999999999", "Invalid ReAuthPeriod (1-4294967295)"},
        {&Dot1xTimerTexts::reAuthPeriod, "4294967295", ""},
        {&Dot1xTimerTexts::reAuthPeriod, "1", ""},
    };
    for (const Case& c : cases) {
        Dot1xTimerTexts t = good;
        t.*c.field = c.text;
        EXPECT_EQ(Dot1xTimerRefusal(t), c.message) << c.text;
    }
    // The first failing field in check order wins.
    EXPECT_EQ(Dot1xTimerRefusal({"70000", "0", "0", "0", "0", "0"}), "Invalid QuietPeriod (0-65535)");
    EXPECT_EQ(Dot1xTimerRefusal({"0", "1", "1", "0", "0", "0"}), "Invalid ServerTimeout (1-65535)");
}

TEST(Dot1xGlobalChecks, RadiusAddressAndKey) {
    struct Case {
        const char* address;
        bool refused;
    } cases[] = {{"192.168.0.200", false}, {"0.0.0.0", true},    {"0.1.2.3", true},   {"255.1.2.3", true},
                 {"10.1.2.0", true},       {"10.1.2.255", true}, {"10.0.0.1", false}, {"..", true},
                 {"10.1.2.", true},        {"10..2.3", false}};
    for (const Case& c : cases)
        EXPECT_EQ(RadiusAddressRefusal(*ParseIpv4Fields(c.address)),
                  c.refused ? "Invalid RADIUS Server IP Address." : "")
            << c.address;
    EXPECT_EQ(KeyRefusal("", ""), "Invalid Key.");
    EXPECT_EQ(KeyRefusal("", "x"), "Invalid Key.");
    EXPECT_EQ(KeyRefusal("secret", "Secret"), "Please confirm the key again !");
    EXPECT_EQ(KeyRefusal("secret", "secret"), "");
}

TEST(AllPortsRefusal, AtLeastOnePortStaysForceAuthorized) {
    const char* fu = "Could not set all port  Force Unauthorized to the port access control.";
    const char* au = "Could not set all port AUTO  to the port access control.";
    const char* either = "Could not set all port AUTO or Force Unauthorized to the port access control.";
    const std::vector<int> sevenAutoLastForced{2, 2, 2, 2, 2, 2, 2, 3};
    const std::vector<int> sevenAutoLastFu{2, 2, 2, 2, 2, 2, 2, 1};
    const std::vector<int> allForced(8, 3);
    struct Case {
        const std::vector<int>& controls;
        int from, to, code;
        const char* message;
    } cases[] = {
        {sevenAutoLastForced, 8, 8, 2, au},
        {sevenAutoLastForced, 8, 8, 1, either},
        {sevenAutoLastForced, 8, 8, 3, ""},
        {sevenAutoLastForced, 1, 7, 1, ""},
        {sevenAutoLastFu, 1, 7, 1, fu},
        {sevenAutoLastFu, 1, 7, 2, either},
        {sevenAutoLastFu, 1, 7, 3, ""},
        {sevenAutoLastFu, 1, 8, 3, ""},
        {allForced, 1, 8, 1, fu},
        {allForced, 1, 8, 2, au},
        {allForced, 1, 7, 2, ""},
        {std::vector<int>(8, 0), 2, 8, 2, ""},  // unread ports are no evidence either way
    };
    for (const Case& c : cases)
        EXPECT_EQ(AllPortsRefusal(c.controls, c.from, c.to, c.code), c.message)
            << c.from << "-" << c.to << " code " << c.code;
}

TEST(PortControlBatches, FirstPortAloneThenThirtyPerRequest) {
    using Batches = std::vector<std::vector<int>>;
    EXPECT_EQ(PortControlBatches(1, 8), (Batches{{1}, {2, 3, 4, 5, 6, 7, 8}}));
    EXPECT_EQ(PortControlBatches(5, 5), (Batches{{5}}));
    EXPECT_EQ(PortControlBatches(3, 4), (Batches{{3}, {4}}));
    Batches b = PortControlBatches(1, 52);
    ASSERT_EQ(b.size(), 3u);
    EXPECT_EQ(b[0], (std::vector<int>{1}));
    EXPECT_EQ(b[1].front(), 2);
    EXPECT_EQ(b[1].back(), 31);
    EXPECT_EQ(b[2].front(), 32);
    EXPECT_EQ(b[2].back(), 52);
    EXPECT_TRUE(PortControlBatches(4, 3).empty());
}

TEST(Dot1xTexts, StatusAndControlNames) {
    EXPECT_EQ(PortStatusText(1), "authorized");
    EXPECT_EQ(PortStatusText(2), "unauthorized");
    EXPECT_EQ(PortStatusText(0), "other");
    EXPECT_EQ(PortControlText(1), "forceUnauthorized");
    EXPECT_EQ(PortControlText(2), "auto");
    EXPECT_EQ(PortControlText(3), "forceAuthorized");
    EXPECT_EQ(PortControlText(4), "other");
}

}  // namespace
