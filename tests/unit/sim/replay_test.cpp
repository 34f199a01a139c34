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

    // The control state inferred from the recording, the model's knobs at rest, the recorded values kept, and
    // neither a derived object nor an interface the switch did not show.
    std::string got;
    for (const std::string& oid :
         {std::string(ctl::kPortLink) + ".1", std::string(ctl::kTftpBusySeconds),
          std::string(ctl::kPortPartnerSpeed) + ".1", std::string(ctl::kPoeDraw) + ".1", poe + "10.1.1",
          std::string("1.3.6.1.2.1.2.2.1.5.1"), poe + "11.1.1", std::string("1.3.6.1.2.1.2.2.1.8.2")}) {
        const Value* v = device.Get(*ParseOid(oid));
        got += (v ? std::to_string(v->num) : "none") + " ";
    }
    EXPECT_EQ(got, "1 3 100 9 48 100000000 none none ");
    const Value* text = device.Get(*ParseOid(std::string(ctl::kPoeStatusText) + ".1"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->bytes, "POWER ON");
}

}  // namespace
}  // namespace kmssim
