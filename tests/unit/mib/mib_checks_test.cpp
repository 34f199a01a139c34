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
    struct C {
        long maxAge, hello, delay;
        QString message;
    };
    for (const C& c : std::vector<C>{
             {2000, 200, 1500, ""},
             {600, 200, 400, ""},  // both relations hold with equality
             {600, 201, 400, kHelloRelation},
             {599, 200, 1500, kAge},
             {4001, 200, 1500, kAge},
             {-1, -1, -1, kAge},       // unreadable field
             {599, 50, 100, kAge},     // age is checked before the others
             {2000, 50, 399, kDelay},  // delay before hello
             {2000, 50, 1500, kHello},
             {2000, 1001, 1500, kHello},
             {2000, 1000, 1500, kHelloRelation},  // 2000 < 2200
             {2200, 1000, 1500, ""},
             {2000, 200, 1000, kDelayRelation},  // 1800 < 2000
             {2000, 200, 1100, ""},
             {4000, 100, 3000, ""},
             {600, 100, 400, ""},  // 2*400-200 = 600
             {601, 100, 400, kDelayRelation},
         })
        EXPECT_EQ(CheckBridgeTimes(c.maxAge, c.hello, c.delay), c.message)
            << c.maxAge << " " << c.hello << " " << c.delay;
}

TEST(PathCost, RangeZeroToTwoHundredMillion) {
    struct C {
        std::string text;
        bool ok;
        long value;
    };
    for (const C& c : std::vector<C>{{"0", true, 0},
                                     {"1", true, 1},
                                     {"200000000", true, 200000000},
                                     {"200000001", false, 0},
                                     {"999999999", false, 0},
                                     {"", false, 0},
                                     {"-5", false, 0},
                                     {"12x", false, 0}}) {
        long cost = -7;
        QString msg = CheckPathCost(c.text, cost);
        if (c.ok) {
            EXPECT_TRUE(msg.isEmpty()) << c.text;
            EXPECT_EQ(cost, c.value) << c.text;
        } else {
            EXPECT_EQ(msg, "Invalid Path Cost(1-200000000)") << c.text;
        }
    }
}

TEST(PortApply, AggregatedPortsAreNeverWritten) {
    PortStpSettings cur{128, 20000, true};
    PortStpSettings same = cur;
    PortStpSettings otherCost{128, 0, true};
    PortStpSettings otherPrio{64, 20000, true};
    PortStpSettings otherEnable{128, 20000, false};
    EXPECT_EQ(DecidePortApply(false, &cur, otherCost), PortApplyAction::Send);
    EXPECT_EQ(DecidePortApply(false, &cur, same), PortApplyAction::Send);
    EXPECT_EQ(DecidePortApply(false, nullptr, same), PortApplyAction::Send);
    EXPECT_EQ(DecidePortApply(true, &cur, same), PortApplyAction::Nothing);
    for (const PortStpSettings& w : {otherCost, otherPrio, otherEnable})
        EXPECT_EQ(DecidePortApply(true, &cur, w), PortApplyAction::RefuseAggregated);
    EXPECT_EQ(DecidePortApply(true, nullptr, same), PortApplyAction::RefuseAggregated);
}

TEST(SystemInfo, NameAndLocationChecks) {
    struct C {
        std::string name, location;
        QString message;
    };
    for (const C& c : std::vector<C>{{"Core Switch", "Rack 4", ""},
                                     {"sw-01_a(b)+=", "", ""},
                                     {"", "", ""},
                                     {"sw.01", "Rack 4", "Invalid System Name."},
                                     {"sw/01", "Rack.4", "Invalid System Name."},
                                     {"sw", "Rack.4", "Invalid System Location."},
                                     {"sw", "a,b", "Invalid System Location."},
                                     {"Zürich", "Büro", ""}})
        EXPECT_EQ(CheckSystemInfo(c.name, c.location), c.message) << c.name << "/" << c.location;
    for (char bad : std::string("~`!@#$%^&*{}[]|\\:;\"'<>,.?/"))
        EXPECT_EQ(CheckSystemInfo(std::string("a") + bad, "x"), "Invalid System Name.") << bad;
}

TEST(ForwardingFilter, LeavesOutExactlyThePortTyped) {
    EXPECT_TRUE(ForwardingRowListed("5", ""));
    EXPECT_FALSE(ForwardingRowListed("5", "5"));
    EXPECT_TRUE(ForwardingRowListed("15", "5"));
    EXPECT_TRUE(ForwardingRowListed("5", "05"));
    EXPECT_TRUE(ForwardingRowListed("4", "5"));
}

}  // namespace
