#include "sim/record/recorder.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>

#include "sim/record/scrub.h"
#include "snmp/common_snmp.h"

namespace kmssim {

namespace {

// A switch that never ends a subtree is not recorded for ever.
constexpr size_t kMaxObjectsPerSubtree = 200000;

void Usage() {
    std::fputs(
        "usage: kms-sim --record ADDRESS[:PORT] --out FILE.snmprec [--timeout MS]\n"
        "               [--community TEXT | --user NAME [--auth MD5|SHA|SHA-224|SHA-256|SHA-384|SHA-512\n"
        "                --auth-password TEXT [--priv DES|AES --priv-password TEXT]]]\n"
        "SNMPv1 with the community (default rdcomm), or SNMPv3 as the user. The community and passwords\n"
        "may come from KMS_COMMUNITY, KMS_AUTH_PASSWORD and KMS_PRIV_PASSWORD instead, out of the\n"
        "process list. Replay the file with: kms-sim --data FILE.snmprec\n",
        stderr);
}

// The codes of the module's settings: the last arcs of the USM protocol identifiers.
std::string AuthCode(std::string name) {
    for (char& c : name) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    const char* names[] = {"MD5", "SHA", "SHA-224", "SHA-256", "SHA-384", "SHA-512"};
    for (int i = 0; i < 6; ++i)
        if (name == names[i] || (i == 1 && name == "SHA-1")) return std::to_string(i + 2);
    return "";
}

std::string PrivCode(std::string name) {
    for (char& c : name) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    if (name == "DES") return "2";
    if (name == "AES" || name == "AES-128") return "4";
    return "";
}

// "192.0.2.1", "192.0.2.1:1161", "switch.lan:161", "[2001:db8::1]:161" or a bare IPv6 address.
bool SplitAddress(const std::string& text, std::string* host, std::string* port) {
    *port = "161";
    std::string rest;
    if (!text.empty() && text[0] == '[') {
        size_t close = text.find(']');
        if (close == std::string::npos) return false;
        *host = text.substr(1, close - 1);
        rest = text.substr(close + 1);
        if (!rest.empty() && rest[0] != ':') return false;
    } else if (text.find(':') != text.rfind(':')) {
        *host = text;  // IPv6 without a port
    } else {
        size_t colon = text.find(':');
        *host = text.substr(0, colon);
        if (colon != std::string::npos) rest = text.substr(colon);
    }
    if (!rest.empty()) {
        *port = rest.substr(1);
        int n = std::atoi(port->c_str());
        if (port->empty() || port->find_first_not_of("0123456789") != std::string::npos || n < 1 || n > 65535)
            return false;
    }
    return !host->empty();
}

// One answer binding in kms-sim's value form; false for types kms-sim cannot serve.
bool ToValue(const SnmpBinding& b, std::pair<Oid, Value>* out) {
    std::string line = b.oid + "|";
    switch (b.type) {
        case kSnmpOctetString:
            line += "4x|" + ToHex(b.value);
            break;
        case kSnmpInteger:
        case kSnmpObjectId:
        case kSnmpIpAddress:
        case kSnmpCounter32:
        case kSnmpGauge32:
        case kSnmpTimeTicks:
            line += std::to_string(b.type) + "|" + b.value;
            break;
        default:
            return false;
    }
    std::string why;
    auto parsed = ParseSnmprecLine(line, &why);
    if (!parsed) return false;
    *out = std::move(*parsed);
    return true;
}

bool WalkSubtree(CCommonSNMP& session, const std::string& root, const std::string& peer, Store* out,
                 int* skipped, std::string* error) {
    session.Open(kSnmpGetNext);
    if (session.AddValue(root, kBindNull, nullptr) != 0) {
        *error = "bad subtree " + root;
        return false;
    }
    Oid last = *ParseOid(root);
    for (size_t count = 0;; ++count) {
        std::unique_ptr<CSnmp> answer;
        const int status = session.GetNext(answer, 0);
        // The subtree has ended, or (SNMPv1) so has the agent's MIB.
        if (status == kSnmpEndOfWalk || status == 2) return true;
        if (status != kSnmpOk || !answer) {
            *error = status > 0 ? "the switch at " + peer + " refused to read " + root + " (error status " +
                                      std::to_string(status) + ")"
                                : "no answer from " + peer + " while reading " + root +
                                      " (address, port, community or user wrong?)";
            return false;
        }
        for (const SnmpBinding& b : answer->Bindings()) {
            std::pair<Oid, Value> entry;
            auto oid = ParseOid(b.oid);
            if (!oid || *oid <= last || count >= kMaxObjectsPerSubtree) {
                *error = "the switch at " + peer + " does not end " + root + " (answer " + b.oid + ")";
                return false;
            }
            last = *oid;
            if (ToValue(b, &entry))
                out->insert(std::move(entry));
            else
                ++*skipped;
        }
    }
}

std::string NowUtc() {
    std::time_t t = std::time(nullptr);
    char buf[32];
    std::tm tm{};
    gmtime_r(&t, &tm);
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M UTC", &tm);
    return buf;
}

}  // namespace

const std::vector<std::string>& RecordedSubtrees() {
    static const std::vector<std::string> roots = {
        "1.0.8802.1.1.2", "1.3.6.1.2.1.1", "1.3.6.1.2.1.2",  "1.3.6.1.2.1.4",
        "1.3.6.1.2.1.6",  "1.3.6.1.2.1.7", "1.3.6.1.2.1.17", "1.3.6.1.4.1.32473.10.75.13",
    };
    return roots;
}

bool RecordSwitch(const ModuleSettings& target, Store* out, int* skipped, std::string* error) {
    if (!SnmpEngineInit()) {
        *error = "the SNMP library cannot start";
        return false;
    }
    const std::string peer = target.DeviceAddress + ":" + target.SnmpPort;
    CCommonSNMP session(target);
    *skipped = 0;
    for (const std::string& root : RecordedSubtrees())
        if (!WalkSubtree(session, root, peer, out, skipped, error)) return false;
    session.Close();
    if (out->empty()) {
        *error = "the switch at " + peer + " showed none of the objects the module reads";
        return false;
    }
    return true;
}

int RecordMain(int argc, char** argv) {
    ModuleSettings target;
    std::string address, outPath, auth, priv;
    bool communityGiven = false;
    if (const char* c = std::getenv("KMS_COMMUNITY")) target.ReadCommunity = c;
    if (const char* p = std::getenv("KMS_AUTH_PASSWORD")) target.AuthPassword = p;
    if (const char* p = std::getenv("KMS_PRIV_PASSWORD")) target.PrivPassword = p;
    // "--record --help": the word after --record would otherwise be taken for the address.
    const std::string other = argc == 3 ? argv[std::string(argv[1]) == "--record" ? 2 : 1] : "";
    if (other == "--help" || other == "-h") {
        Usage();
        return 0;
    }
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](std::string* v) {
            if (i + 1 >= argc) return false;
            *v = argv[++i];
            return true;
        };
        bool ok = true;
        if (a == "--record")
            ok = value(&address);
        else if (a == "--out")
            ok = value(&outPath) && !outPath.empty();
        else if (a == "--community")
            ok = communityGiven = value(&target.ReadCommunity);
        else if (a == "--user")
            ok = value(&target.UserName) && !target.UserName.empty();
        else if (a == "--auth")
            ok = value(&auth) && !(target.AuthProtocol = AuthCode(auth)).empty();
        else if (a == "--auth-password")
            ok = value(&target.AuthPassword);
        else if (a == "--priv")
            ok = value(&priv) && !(target.PrivProtocol = PrivCode(priv)).empty();
        else if (a == "--priv-password")
            ok = value(&target.PrivPassword);
        else if (a == "--timeout")
            ok = value(&target.SnmpTimeoutText) && std::atoi(target.SnmpTimeoutText.c_str()) > 0;
        else
            ok = false;
        if (!ok) {
            std::fprintf(stderr, "kms-sim: bad argument %s\n", a.c_str());
            Usage();
            return 2;
        }
    }
    auto refuse = [](const char* why) {
        std::fprintf(stderr, "kms-sim: %s\n", why);
        Usage();
        return 2;
    };
    if (!SplitAddress(address, &target.DeviceAddress, &target.SnmpPort))
        return refuse("bad address to record");
    if (outPath.empty()) return refuse("--out FILE is missing");
    if (!target.UserName.empty()) {
        if (communityGiven) return refuse("a community is for SNMPv1, a user for SNMPv3: give one of them");
        if (!priv.empty() && auth.empty()) return refuse("privacy needs authentication (--auth)");
        // USM turns shorter passwords down (RFC 3414 asks for at least eight characters).
        if (!auth.empty() && target.AuthPassword.size() < 8)
            return refuse("the authentication password needs at least 8 characters");
        if (!priv.empty() && target.PrivPassword.size() < 8)
            return refuse("the privacy password needs at least 8 characters");
        target.SnmpVersion = "3";
        target.SecurityLevel = !priv.empty() ? "3" : !auth.empty() ? "2" : "1";
    } else if (!auth.empty() || !priv.empty()) {
        return refuse("--auth and --priv need --user");
    }

    Store recorded;
    int skipped = 0;
    std::string error;
    if (!RecordSwitch(target, &recorded, &skipped, &error)) {
        std::fprintf(stderr, "kms-sim: %s; nothing written\n", error.c_str());
        return 1;
    }
    std::vector<std::string> secrets;
    if (target.SnmpVersion == "3")
        secrets = {target.AuthPassword, target.PrivPassword};
    else
        secrets = {target.ReadCommunity};
    const int replaced = ScrubCredentials(recorded, secrets);
    const std::string header = "# A switch recorded by kms-sim --record on " + NowUtc() +
                               "; replay it with kms-sim --data FILE.\n"
                               "# Passwords, community names and the RADIUS key are placeholders.\n";
    if (!SaveSnmprec(outPath, recorded, &error, header)) {
        std::fprintf(stderr, "kms-sim: %s\n", error.c_str());
        return 1;
    }
    std::printf("kms-sim: recorded %zu objects from %s:%s into %s (%d credential values replaced",
                recorded.size(), target.DeviceAddress.c_str(), target.SnmpPort.c_str(), outPath.c_str(),
                replaced);
    if (skipped) std::printf("; %d values of types kms-sim cannot serve left out", skipped);
    std::puts(")");
    return 0;
}

}  // namespace kmssim
