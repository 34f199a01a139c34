// Drives kms-sim with Net-SNMP's command-line tools and reads their output back.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "tests/fixtures/kms_sim_fixture.h"
#include "tests/fixtures/snmp_reader.h"

namespace simtest {

inline const std::string kV = "1.3.6.1.4.1.32473.10.75.13";
inline const std::string kC = "1.3.6.1.4.1.32473.99";

// An OID as the tools take it: ".7.6.1.5.30" (the vendor MIB, shortened as in the write journal) is
// under kV; ".1" stays the root.
inline std::string Full(const std::string& oid) {
    return oid.size() > 2 && oid[0] == '.' ? kV + oid : oid;
}

using Binding = ToolBinding;  // as the tools print it: INTEGER, STRING, Hex-STRING, Gauge32, ...

struct Answer {
    int rc = 0;
    std::vector<Binding> bindings;
    std::string error;  // "wrongValue", "badValue", "timeout", ... (empty when none)
    std::string err;
};

// An SNMPv3 user's credentials as tool arguments.
inline std::vector<std::string> V3(const kmstest::SimUser& u) {
    std::vector<std::string> a = {"-v3", "-u", u.name, "-l", u.level};
    if (*u.auth) a.insert(a.end(), {"-a", u.auth, "-A", u.authPassword});
    if (*u.priv) a.insert(a.end(), {"-x", u.priv, "-X", u.privPassword});
    return a;
}

inline Answer Parse(int rc, const std::string& out, const std::string& err) {
    Answer a{rc, ParseToolOutput(out), "", err};
    std::smatch m;
    const std::string all = out + err;
    if (std::regex_search(all, m, std::regex(R"(Reason: \(?(\w+))"))) a.error = m[1];
    for (const auto& [text, name] : {std::pair{"Timeout", "timeout"},
                                     {"Authentication failure", "authenticationFailure"},
                                     {"Unknown user name", "unknownUserName"}})
        if (a.error.empty() && all.find(text) != std::string::npos) a.error = name;
    if (a.error.empty() && rc != 0) a.error = "failed";
    return a;
}

// Bindings to set as snmpset takes them: "OID TYPE VALUE" (".7.7.1.1.3 u 10", "1.3.6.1.2.1.1.6.0 s rack 2").
using Bindings = std::vector<std::string>;

inline std::tuple<std::string, char, std::string> Split(const std::string& binding) {
    const size_t blank = binding.find(' ');
    return {binding.substr(0, blank), binding.at(blank + 1),
            binding.substr(std::min(binding.size(), blank + 3))};
}

class Tools {
public:
    Tools(kmstest::KmsSimFixture& sim, std::vector<std::string> auth) : m_sim(sim), m_auth(std::move(auth)) {}
    // Any of the tools (snmpget, snmpgetnext, snmpbulkwalk...) with these arguments after the agent. Get,
    // Walk and Set take shortened vendor OIDs (see Full).
    Answer Run(const std::string& tool, const std::vector<std::string>& args, double timeout = 2,
               int retries = 1) const {
        std::vector<std::string> cmd = {tool};
        cmd.insert(cmd.end(), m_auth.begin(), m_auth.end());
        cmd.insert(cmd.end(),
                   {"-On", "-t", std::to_string(timeout), "-r", std::to_string(retries), m_sim.Endpoint()});
        cmd.insert(cmd.end(), args.begin(), args.end());
        std::string out, err;
        const int rc = m_sim.RunTool(cmd, &out, &err);
        return Parse(rc, out, err);
    }
    Answer Get(std::vector<std::string> oids, double timeout = 2, int retries = 1) const {
        for (std::string& oid : oids) oid = Full(oid);
        return Run("snmpget", oids, timeout, retries);
    }
    Answer Walk(const std::string& root) const {
        Answer a = Run("snmpwalk", {Full(root)});
        // The end-of-MIB marker of a v2c walk is no binding of the tree.
        if (!a.bindings.empty() && a.bindings.back().type.rfind("No more variables", 0) == 0)
            a.bindings.pop_back();
        return a;
    }
    Answer Set(const Bindings& bindings) const {
        std::vector<std::string> args;
        for (const std::string& binding : bindings) {
            const auto [oid, type, value] = Split(binding);
            args.insert(args.end(), {Full(oid), std::string(1, type), value});
        }
        return Run("snmpset", args);
    }

private:
    kmstest::KmsSimFixture& m_sim;
    std::vector<std::string> m_auth;
};

// The value of one object as printed ("No Such ..." when there is none, "?" without an answer).
inline std::string Value(const Tools& tools, const std::string& oid) {
    Answer a = tools.Get({oid});
    if (a.bindings.size() != 1) return "?";
    return a.bindings[0].type.rfind("No Such", 0) == 0 ? a.bindings[0].type : a.bindings[0].value;
}

// Expects each "OID=VALUE" to read as VALUE (OIDs as Full takes them).
inline void ExpectValues(const Tools& tools, const std::vector<std::string>& expected) {
    for (const std::string& e : expected)
        EXPECT_EQ(Value(tools, e.substr(0, e.find('='))), e.substr(e.find('=') + 1)) << e;
}

// Every object a whole walk shows, one "OID = TYPE: VALUE" line each, but the clocks (sysUpTime, the
// time since the last topology change). One text, so that a failed comparison shows a diff.
inline std::string Snapshot(const Tools& tools) {
    std::string lines;
    for (const Binding& b : tools.Walk(".1").bindings)
        if (b.oid != "1.3.6.1.2.1.1.3.0" && b.oid != "1.3.6.1.2.1.17.2.3.0")
            lines += b.oid + " = " + b.type + ": " + b.value + "\n";
    return lines;
}

// One kms-sim per test program, reset before every test; r reads, w writes (v2c).
class SimTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_sim = std::make_unique<kmstest::KmsSimFixture>();
        ASSERT_TRUE(s_sim->Start()) << s_sim->LastError();
    }
    static void TearDownTestSuite() { s_sim.reset(); }
    void SetUp() override { ASSERT_TRUE(s_sim && s_sim->Reset()); }
    static kmstest::KmsSimFixture& Sim() { return *s_sim; }
    static inline std::unique_ptr<kmstest::KmsSimFixture> s_sim;
    Tools r{Sim(), {"-v2c", "-c", "rdcomm"}};
    Tools w{Sim(), {"-v2c", "-c", "wrcomms"}};
};

}  // namespace simtest
