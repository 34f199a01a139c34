#include "tests/integration/sim/sim_tools.h"

#include <sstream>

namespace simtest {

kmstest::KmsSimFixture* SimTest::s_sim = nullptr;

void SimTest::SetUpTestSuite() {
    s_sim = new kmstest::KmsSimFixture();
    ASSERT_TRUE(s_sim->Start()) << s_sim->LastError();
}

void SimTest::TearDownTestSuite() {
    delete s_sim;
    s_sim = nullptr;
}

void SimTest::SetUp() {
    ASSERT_TRUE(s_sim && s_sim->Running());
    ASSERT_TRUE(s_sim->Reset());
}

std::vector<std::string> V1(const std::string& community) {
    return {"-v1", "-c", community};
}
std::vector<std::string> V2c(const std::string& community) {
    return {"-v2c", "-c", community};
}
std::vector<std::string> V3(const kmstest::SimUser& u) {
    std::vector<std::string> a = {"-v3", "-u", u.name, "-l", u.level};
    if (*u.auth) a.insert(a.end(), {"-a", u.auth, "-A", u.authPassword});
    if (*u.priv) a.insert(a.end(), {"-x", u.priv, "-X", u.privPassword});
    return a;
}

bool OidLess(const std::string& a, const std::string& b) {
    std::istringstream sa(a), sb(b);
    std::string x, y;
    for (;;) {
        bool ha = static_cast<bool>(std::getline(sa, x, '.'));
        bool hb = static_cast<bool>(std::getline(sb, y, '.'));
        if (!ha || !hb) return !ha && hb;
        unsigned long nx = std::stoul(x), ny = std::stoul(y);
        if (nx != ny) return nx < ny;
    }
}

std::string V1Status(const std::string& v2) {
    if (v2 == "wrongValue" || v2 == "wrongType" || v2 == "inconsistentValue" || v2 == "wrongLength")
        return "badValue";
    if (v2 == "noAccess" || v2 == "notWritable" || v2 == "noCreation" || v2 == "authorizationError")
        return "noSuchName";
    return v2;
}

Answer Parse(int rc, const std::string& out, const std::string& err) {
    Answer a;
    a.rc = rc;
    a.out = out;
    a.err = err;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.empty()) continue;
        if (line[0] != '.') {
            // Long hex strings go on over several lines.
            if (!a.bindings.empty() && a.bindings.back().type == "Hex-STRING") {
                while (!line.empty() && line.back() == ' ') line.pop_back();
                a.bindings.back().value += " " + line;
            }
            continue;
        }
        auto eq = line.find(" = ");
        if (eq == std::string::npos) continue;
        Binding b;
        b.oid = line.substr(1, eq - 1);
        std::string rest = line.substr(eq + 3);
        auto colon = rest.find(": ");
        if (rest == "\"\"") {
            b.type = "STRING";
        } else if (colon != std::string::npos && rest[0] != '"') {
            b.type = rest.substr(0, colon);
            b.value = rest.substr(colon + 2);
        } else {
            b.type = rest;  // "No Such Object available ...", "No more variables ..."
        }
        if (b.type == "STRING" && b.value.size() >= 2 && b.value.front() == '"')
            b.value = b.value.substr(1, b.value.size() - 2);
        while (!b.value.empty() && b.value.back() == ' ') b.value.pop_back();
        a.bindings.push_back(b);
    }
    std::string all = out + err;
    auto r = all.find("Reason: ");
    if (r != std::string::npos) {
        std::string word = all.substr(r + 8);
        if (!word.empty() && word[0] == '(') word = word.substr(1);
        auto end = word.find_first_of(" )\n");
        a.error = word.substr(0, end);
    } else if (all.find("Timeout") != std::string::npos) {
        a.error = "timeout";
    } else if (all.find("Authentication failure") != std::string::npos) {
        a.error = "authenticationFailure";
    } else if (all.find("Unknown user name") != std::string::npos) {
        a.error = "unknownUserName";
    } else if (rc != 0) {
        a.error = "failed";
    }
    return a;
}

Answer Tools::Run(const std::string& tool, std::vector<std::string> args) const {
    std::vector<std::string> cmd = {tool};
    cmd.insert(cmd.end(), m_auth.begin(), m_auth.end());
    cmd.insert(cmd.end(), {"-On"});
    cmd.insert(cmd.end(), args.begin(), args.end());
    std::string out, err;
    int rc = m_sim.RunTool(cmd, &out, &err);
    return Parse(rc, out, err);
}

Answer Tools::Get(const std::vector<std::string>& oids, double timeout, int retries) const {
    std::vector<std::string> args = {"-t", std::to_string(timeout), "-r", std::to_string(retries),
                                     m_sim.Endpoint()};
    args.insert(args.end(), oids.begin(), oids.end());
    return Run("snmpget", args);
}

Answer Tools::GetNext(const std::vector<std::string>& oids) const {
    std::vector<std::string> args = {"-t", "2", "-r", "1", m_sim.Endpoint()};
    args.insert(args.end(), oids.begin(), oids.end());
    return Run("snmpgetnext", args);
}

Answer Tools::Walk(const std::string& root) const {
    Answer a = Run("snmpwalk", {"-t", "2", "-r", "1", m_sim.Endpoint(), root});
    // The end-of-MIB marker of a v2c walk is no binding of the tree.
    if (!a.bindings.empty() && a.bindings.back().type.rfind("No more variables", 0) == 0)
        a.bindings.pop_back();
    return a;
}

Answer Tools::Set(const std::vector<std::tuple<std::string, char, std::string>>& bindings) const {
    std::vector<std::string> args = {"-t", "2", "-r", "1", m_sim.Endpoint()};
    for (const auto& [oid, type, value] : bindings)
        args.insert(args.end(), {oid, std::string(1, type), value});
    return Run("snmpset", args);
}

}  // namespace simtest
