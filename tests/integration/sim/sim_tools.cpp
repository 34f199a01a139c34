#include "tests/integration/sim/sim_tools.h"

#include <regex>
#include <sstream>

namespace simtest {

void SimTest::SetUpTestSuite() {
    s_sim = std::make_unique<kmstest::KmsSimFixture>();
    ASSERT_TRUE(s_sim->Start()) << s_sim->LastError();
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

std::string V1Status(const std::string& v2) {
    if (v2 == "wrongValue" || v2 == "wrongType" || v2 == "inconsistentValue" || v2 == "wrongLength")
        return "badValue";
    if (v2 == "noAccess" || v2 == "notWritable" || v2 == "noCreation" || v2 == "authorizationError")
        return "noSuchName";
    return v2;
}

namespace {

Answer Parse(int rc, const std::string& out, const std::string& err) {
    Answer a{rc, {}, "", out, err};
    // ".OID = TYPE: VALUE", or ".OID = TEXT" for an exception ("No Such Object ...") and an empty string.
    static const std::regex binding(R"(^\.([0-9.]+) = (?:([A-Za-z0-9-]+): )?(.*?) *$)");
    std::istringstream lines(out);
    std::smatch m;
    for (std::string line; std::getline(lines, line);) {
        if (std::regex_match(line, m, binding)) {
            Binding b{m[1],
                      m[2].matched     ? m[2].str()
                      : m[3] == "\"\"" ? "STRING"
                                       : m[3].str(),
                      m[2].matched ? m[3].str() : ""};
            if (b.type == "STRING" && b.value.size() >= 2 && b.value.front() == '"')
                b.value = b.value.substr(1, b.value.size() - 2);
            a.bindings.push_back(b);
        } else if (!line.empty() && !a.bindings.empty() && a.bindings.back().type == "Hex-STRING") {
            // Long hex strings go on over several lines.
            a.bindings.back().value += " " + std::regex_replace(line, std::regex(" +$"), "");
        }
    }
    const std::string all = out + err;
    if (std::regex_search(all, m, std::regex(R"(Reason: \(?(\w+))"))) a.error = m[1];
    for (const auto& [text, name] : {std::pair{"Timeout", "timeout"},
                                     {"Authentication failure", "authenticationFailure"},
                                     {"Unknown user name", "unknownUserName"}})
        if (a.error.empty() && all.find(text) != std::string::npos) a.error = name;
    if (a.error.empty() && rc != 0) a.error = "failed";
    return a;
}

}  // namespace

Answer Tools::Run(const std::string& tool, const std::vector<std::string>& args, double timeout,
                  int retries) const {
    std::vector<std::string> cmd = {tool};
    cmd.insert(cmd.end(), m_auth.begin(), m_auth.end());
    cmd.insert(cmd.end(),
               {"-On", "-t", std::to_string(timeout), "-r", std::to_string(retries), m_sim.Endpoint()});
    cmd.insert(cmd.end(), args.begin(), args.end());
    std::string out, err;
    int rc = m_sim.RunTool(cmd, &out, &err);
    return Parse(rc, out, err);
}

Answer Tools::Get(const std::vector<std::string>& oids, double timeout, int retries) const {
    return Run("snmpget", oids, timeout, retries);
}

Answer Tools::GetNext(const std::vector<std::string>& oids) const {
    return Run("snmpgetnext", oids);
}

Answer Tools::Walk(const std::string& root) const {
    Answer a = Run("snmpwalk", {root});
    // The end-of-MIB marker of a v2c walk is no binding of the tree.
    if (!a.bindings.empty() && a.bindings.back().type.rfind("No more variables", 0) == 0)
        a.bindings.pop_back();
    return a;
}

Answer Tools::Set(const Bindings& bindings) const {
    std::vector<std::string> args;
    for (const auto& [oid, type, value] : bindings)
        args.insert(args.end(), {oid, std::string(1, type), value});
    return Run("snmpset", args);
}

std::string Value(const Tools& tools, const std::string& oid) {
    Answer a = tools.Get({oid});
    if (a.bindings.size() != 1) return "?";
    return a.bindings[0].type.rfind("No Such", 0) == 0 ? a.bindings[0].type : a.bindings[0].value;
}

std::vector<std::string> Snapshot(const Tools& tools) {
    std::vector<std::string> lines;
    for (const Binding& b : tools.Walk(".1").bindings)
        if (b.oid != "1.3.6.1.2.1.1.3.0" && b.oid != "1.3.6.1.2.1.17.2.3.0")
            lines.push_back(b.oid + "=" + b.value);
    return lines;
}

}  // namespace simtest
