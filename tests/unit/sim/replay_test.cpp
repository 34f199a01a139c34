#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "sim/control_oids.h"
#include "sim/device.h"

namespace kmssim {
namespace {

// A real switch measures 48 V where kms-sim models 53 V, and lists no interface beyond port 1 here.
TEST(Replay, ControlStateComesFromTheRecordingAndRecordedValuesStay) {
    char path[] = "/tmp/kms-replay-XXXXXX";
    int fd = ::mkstemp(path);
    ASSERT_GE(fd, 0);
    ::close(fd);
    const std::string poe = "1.3.6.1.4.1.32473.10.75.13.22.1.1.";
    std::ofstream(path) << "1.3.6.1.2.1.2.2.1.5.1|66|100000000\n"
                           "1.3.6.1.2.1.2.2.1.7.1|2|1\n"
                           "1.3.6.1.2.1.2.2.1.8.1|2|1\n"
                           "1.3.6.1.4.1.32473.10.75.13.1.13.1.2.1|2|6\n"
                        << poe << "3.1.1|2|1\n"
                        << poe << "9.1.1|2|9\n"
                        << poe << "10.1.1|2|48\n"
                        << poe << "13.1.1|4|  POWER ON\n";
    DeviceOptions options;
    options.dataDir = path;
    options.stockDataDir = KMS_SIM_DATA;
    Device device;
    std::string error;
    ASSERT_TRUE(device.Init(options, &error)) << error;
    std::remove(path);

    auto num = [&device](const std::string& oid) {
        const Value* v = device.Get(*ParseOid(oid));
        return v ? v->num : -1;
    };
    EXPECT_EQ(num(std::string(ctl::kPortLink) + ".1"), 1);
    EXPECT_EQ(num(ctl::kTftpBusySeconds), 3) << "the model's knobs at rest";
    EXPECT_EQ(num(std::string(ctl::kPortPartnerSpeed) + ".1"), 100);
    EXPECT_EQ(num(std::string(ctl::kPoeDraw) + ".1"), 9);
    const Value* text = device.Get(*ParseOid(std::string(ctl::kPoeStatusText) + ".1"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->bytes, "POWER ON");
    EXPECT_EQ(num(poe + "10.1.1"), 48);
    EXPECT_EQ(num(poe + "11.1.1"), -1) << "a derived object the switch did not show";
    EXPECT_EQ(num("1.3.6.1.2.1.2.2.1.8.2"), -1);
    EXPECT_EQ(num("1.3.6.1.2.1.2.2.1.5.1"), 100000000);
}

}  // namespace
}  // namespace kmssim
