#include "dialogs/switch/dot1x_rules.h"

#include <gtest/gtest.h>

#include "core/text_number.h"

namespace {

TEST(Dot1xTimerRefusal, RangesInOrderWithTheExactMessages) {
    EXPECT_EQ(LeadingInt64("-99999999999999999999"), -9223372036854775807LL - 1);
    const Dot1xTimerTexts good{"60", "30", "30", "30", "2", "3600"};
    // One field changed from `good`, and the refusal.
    const std::tuple<std::string Dot1xTimerTexts::*, const char*, const char*> cases[] = {
        {&Dot1xTimerTexts::quietPeriod, "0", ""},
        {&Dot1xTimerTexts::quietPeriod, "65536", "Invalid QuietPeriod (0-65535)"},
        {&Dot1xTimerTexts::quietPeriod, "", "Invalid QuietPeriod (0-65535)"},  // not sent as 0
        {&Dot1xTimerTexts::txPeriod, "3O", "Invalid TxPeriod (1-65535)"},
        {&Dot1xTimerTexts::maxReq, "\xEF\xBC\x92", "Invalid MaxReq (1-10)"},  // a full-width 2
        {&Dot1xTimerTexts::txPeriod, "0", "Invalid TxPeriod (1-65535)"},
        {&Dot1xTimerTexts::suppTimeout, "0", "Invalid SuppTimeout (1-65535)"},
        {&Dot1xTimerTexts::serverTimeout, "70000", "Invalid ServerTimeout (1-65535)"},
        {&Dot1xTimerTexts::maxReq, "11", "Invalid MaxReq (1-10)"},
        {&Dot1xTimerTexts::reAuthPeriod, "4294967296", "Invalid ReAuthPeriod (1-4294967295)"},
        {&Dot1xTimerTexts::reAuthPeriod, "99999999999999999999", "Invalid ReAuthPeriod (1-4294967295)"},
        {&Dot1xTimerTexts::reAuthPeriod, "4294967295", ""},
    };
    for (const auto& [field, text, message] : cases) {
        Dot1xTimerTexts t = good;
        t.*field = text;
        EXPECT_EQ(Dot1xTimerRefusal(t), message) << text;
    }
    EXPECT_EQ(Dot1xTimerRefusal({"0", "1", "1", "0", "0", "0"}),
              "Invalid ServerTimeout (1-65535)");  // in order
}

TEST(Dot1xGlobalChecks, RadiusAddressAndKey) {
    for (const char* refused : {"0.0.0.0", "255.1.2.3", "10.1.2.0", "10.1.2.255", "10.1.2."})
        EXPECT_EQ(RadiusAddressRefusal(*ParseIpv4Fields(refused)), "Invalid RADIUS Server IP Address.")
            << refused;
    EXPECT_EQ(RadiusAddressRefusal(*ParseIpv4Fields("10.0.0.1")), "");
    EXPECT_EQ(KeyRefusal("", ""), "Invalid Key.");
    EXPECT_EQ(KeyRefusal("secret", "Secret"), "Please confirm the key again !");
    EXPECT_EQ(KeyRefusal("secret", "secret"), "");
    // Apply checks the server, then the key, then the timers.
    const Ipv4Fields bad = *ParseIpv4Fields("0.0.0.0"), good = *ParseIpv4Fields("10.0.0.1");
    const Dot1xTimerTexts timers{"0", "0", "30", "30", "2", "3600"};
    EXPECT_EQ(Dot1xApplyRefusal(bad, "k", "c", timers), "Invalid RADIUS Server IP Address.");
    EXPECT_EQ(Dot1xApplyRefusal(good, "k", "c", timers), "Please confirm the key again !");
    EXPECT_EQ(Dot1xApplyRefusal(good, "k", "k", timers), "Invalid TxPeriod (1-65535)");
    EXPECT_EQ(Dot1xApplyRefusal(good, "k", "k", {"0", "1", "1", "1", "1", "1"}), "");
}

TEST(AllPortsRefusal, AtLeastOnePortStaysForceAuthorized) {
    const char* fu = "Could not set all port  Force Unauthorized to the port access control.";
    const char* au = "Could not set all port AUTO  to the port access control.";
    const char* either = "Could not set all port AUTO or Force Unauthorized to the port access control.";
    const std::vector<int> lastForced{2, 2, 2, 2, 2, 2, 2, 3}, lastFu{2, 2, 2, 2, 2, 2, 2, 1};
    // The controls listed, the ports from and to, the control code chosen; the refusal.
    const std::tuple<const std::vector<int>&, int, int, int, const char*> cases[] = {
        {lastForced, 8, 8, 2, au}, {lastForced, 8, 8, 1, either}, {lastForced, 8, 8, 3, ""},
        {lastForced, 1, 7, 1, ""}, {lastFu, 1, 7, 1, fu},         {lastFu, 1, 7, 2, either},
        {lastFu, 1, 7, 3, ""},     {lastFu, 1, 8, 1, fu},         {lastFu, 1, 8, 2, au},
    };
    for (const auto& [controls, from, to, code, message] : cases)
        EXPECT_EQ(AllPortsRefusal(controls, from, to, code), message)
            << from << "-" << to << " code " << code;
}

TEST(PortControlBatches, FirstPortAloneThenThirtyPerRequest) {
    using Batches = std::vector<std::vector<int>>;
    EXPECT_EQ(PortControlBatches(1, 8), (Batches{{1}, {2, 3, 4, 5, 6, 7, 8}}));
    EXPECT_EQ(PortControlBatches(5, 5), (Batches{{5}}));
    const Batches b = PortControlBatches(1, 52);
    ASSERT_EQ(b.size(), 3u);
    EXPECT_EQ((std::vector<int>{b[1].front(), b[1].back(), b[2].front(), b[2].back()}),
              (std::vector<int>{2, 31, 32, 52}));
}

}  // namespace
