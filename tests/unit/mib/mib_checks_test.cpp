#include <gtest/gtest.h>

#include "dialogs/mib/forwarding_table_dlg.h"
#include "dialogs/mib/stp_config_dlg.h"
#include "dialogs/mib/stp_port_config_dlg.h"
#include "dialogs/mib/system_info_dlg.h"

// Readable failure output for the expected messages.
void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

const QString kAge = "Invalid Age Time value, the valid Age Time range is  (600-4000) ms !";
const QString kDelay = "Invalid Forward Delay value, the valid Forward Delay range is (400-3000) ms !";
const QString kHello = "Invalid Hello Time value, the valid Hello Time range is (100-1000) ms !";
const QString kHelloRelation =
    "To set the parameters Hello Time and Max Age the following relation is to be satisfied: \n"
    "Max Age >= (2*(Hello Time + 1.0))";
const QString kDelayRelation =
    "To set the parameters Forward Delay and Max Age, the following relation is to be satisfied: \n"
    "2*(Forward Delay - 1) >= Max Age";

TEST(BridgeTimes, ChecksInOrderFirstFailureWins) {
    const std::tuple<long, long, long, QString> cases[] = {
        {600, 200, 400, ""},  // both relations hold with equality
        {600, 201, 400, kHelloRelation},
        {4000, 100, 3000, ""},
        {4001, 200, 1500, kAge},
        {-1, -1, -1, kAge},       // unreadable field
        {599, 50, 100, kAge},     // age is checked before the others
        {2000, 50, 399, kDelay},  // delay before hello
        {2000, 50, 1500, kHello},
        {2000, 1001, 1500, kHello},
        {2000, 1000, 1500, kHelloRelation},  // 2000 < 2200
        {2000, 200, 1000, kDelayRelation},   // 1800 < 2000
        {600, 100, 400, ""},                 // 2*400-200 = 600
        {601, 100, 400, kDelayRelation},
    };
    for (const auto& [maxAge, hello, delay, message] : cases)
        EXPECT_EQ(CheckBridgeTimes(maxAge, hello, delay), message) << maxAge << " " << hello << " " << delay;
}

TEST(PathCost, RangeZeroToTwoHundredMillion) {
    // The text; the value taken, or -1: refused.
    for (const auto& [text, cost] : std::vector<std::pair<std::string, long>>{
             {"0", 0}, {"200000000", 200000000}, {"200000001", -1}, {"", -1}, {"-5", -1}, {"12x", -1}}) {
        long value = -7;
        EXPECT_EQ(CheckPathCost(text, value), cost < 0 ? "Invalid Path Cost(1-200000000)" : "") << text;
        EXPECT_TRUE(cost < 0 || value == cost) << text << " gave " << value;
    }
}

TEST(PortApply, AggregatedPortsAreNeverWritten) {
    const PortStpSettings cur{128, 20000, true}, same = cur, otherCost{128, 0, true},
                                                 otherPrio{64, 20000, true}, otherEnable{128, 20000, false};
    using A = PortApplyAction;
    EXPECT_EQ(
        (std::vector<A>{DecidePortApply(false, &cur, otherCost), DecidePortApply(false, &cur, same),
                        DecidePortApply(false, nullptr, same), DecidePortApply(true, &cur, same),
                        DecidePortApply(true, &cur, otherCost), DecidePortApply(true, &cur, otherPrio),
                        DecidePortApply(true, &cur, otherEnable), DecidePortApply(true, nullptr, same)}),
        (std::vector<A>{A::Send, A::Send, A::Send, A::Nothing, A::RefuseAggregated, A::RefuseAggregated,
                        A::RefuseAggregated, A::RefuseAggregated}));
}

// The refused characters themselves are IsValidName's, tested with the encodings.
TEST(SystemInfo, NameAndLocationChecks) {
    const std::tuple<std::string, std::string, QString> cases[] = {
        {"Core Switch", "Rack 4", ""},
        {"sw-01_a(b)+=", "", ""},
        {"Zürich", "Büro", ""},
        {"sw.01", "Rack 4", "Invalid System Name."},
        {"sw/01", "Rack.4", "Invalid System Name."},  // the name first
        {"sw", "a,b", "Invalid System Location."},
    };
    for (const auto& [name, location, message] : cases)
        EXPECT_EQ(CheckSystemInfo(name, location), message) << name << "/" << location;
}

TEST(ForwardingFilter, LeavesOutExactlyThePortTyped) {
    for (const auto& [port, filter, listed] : {std::tuple{"5", "", true},
                                               {"5", "5", false},
                                               {"15", "5", true},
                                               {"5", "05", true},
                                               {"4", "5", true}})
        EXPECT_EQ(ForwardingRowListed(port, filter), listed) << port << "/" << filter;
}

}  // namespace
