// Drives kms-sim with Net-SNMP's command-line tools and reads their output back.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "tests/fixtures/kms_sim_fixture.h"

namespace simtest {

inline const std::string kV = "1.3.6.1.4.1.32473.10.75.13";
inline const std::string kC = "1.3.6.1.4.1.32473.99";

struct Binding {
    std::string oid;   // numeric, without a leading dot
    std::string type;  // as the tools print it: INTEGER, STRING, Hex-STRING, Gauge32, ...
    std::string value;
};

struct Answer {
    int rc = 0;
    std::vector<Binding> bindings;
    std::string error;  // "wrongValue", "badValue", "timeout", ... (empty when none)
    std::string out, err;
};

// Credentials as tool arguments.
std::vector<std::string> V1(const std::string& community);
std::vector<std::string> V2c(const std::string& community);
std::vector<std::string> V3(const kmstest::SimUser& user);

using Bindings = std::vector<std::tuple<std::string, char, std::string>>;  // oid, snmpset type, value

class Tools {
public:
    Tools(kmstest::KmsSimFixture& sim, std::vector<std::string> auth) : m_sim(sim), m_auth(std::move(auth)) {}
    Answer Get(const std::vector<std::string>& oids, double timeout = 2, int retries = 1) const;
    Answer GetNext(const std::vector<std::string>& oids) const;
    Answer Walk(const std::string& root) const;
    Answer Set(const Bindings& bindings) const;

private:
    Answer Run(const std::string& tool, const std::vector<std::string>& args, double timeout = 2,
               int retries = 1) const;
    kmstest::KmsSimFixture& m_sim;
    std::vector<std::string> m_auth;
};

// The value of one object as printed ("No Such ..." when there is none, "?" without an answer).
std::string Value(const Tools& tools, const std::string& oid);
// Every object a whole walk shows, as "OID=VALUE", but the clocks (sysUpTime, time since the last
// topology change).
std::vector<std::string> Snapshot(const Tools& tools);
// The v1 error status a v2 status maps to.
std::string V1Status(const std::string& v2);

// One kms-sim per test program, reset before every test; r reads, w writes (v2c).
class SimTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite() { s_sim.reset(); }
    void SetUp() override { ASSERT_TRUE(s_sim && s_sim->Reset()); }
    static kmstest::KmsSimFixture& Sim() { return *s_sim; }
    static inline std::unique_ptr<kmstest::KmsSimFixture> s_sim;
    Tools r{Sim(), V2c("rdcomm")};
    Tools w{Sim(), V2c("wrcomms")};
};

}  // namespace simtest
