// Get-next throughput of kms-sim against Debian's snmpd, the same request to both: one get-next of
// sysContact (1.3.6.1.2.1.1.4) at a time, SNMPv1 and SNMPv3 authPriv (SHA-1/AES-128). Both agents run
// on loopback in one run; the ratios kms-sim / snmpd are printed after the table.
#include <benchmark/benchmark.h>
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "tests/fixtures/kms_sim_fixture.h"
#include "tests/fixtures/snmpd_fixture.h"

namespace {

kmstest::KmsSimFixture* g_sim = nullptr;
SnmpdFixture* g_snmpd = nullptr;

struct Credentials {
    bool v3 = false;
    std::string community, user, authPassword, privPassword;
};

void* OpenSession(int port, const Credentials& c) {
    netsnmp_session s;
    snmp_sess_init(&s);
    std::string peer = "udp:127.0.0.1:" + std::to_string(port);
    s.peername = const_cast<char*>(peer.c_str());
    s.timeout = 2000000;
    s.retries = 1;
    if (!c.v3) {
        s.version = SNMP_VERSION_1;
        s.community = reinterpret_cast<u_char*>(const_cast<char*>(c.community.c_str()));
        s.community_len = c.community.size();
    } else {
        s.version = SNMP_VERSION_3;
        s.securityName = const_cast<char*>(c.user.c_str());
        s.securityNameLen = c.user.size();
        s.securityLevel = SNMP_SEC_LEVEL_AUTHPRIV;
        s.securityAuthProto = usmHMACSHA1AuthProtocol;
        s.securityAuthProtoLen = USM_AUTH_PROTO_SHA_LEN;
        s.securityAuthKeyLen = USM_AUTH_KU_LEN;
        if (generate_Ku(s.securityAuthProto, s.securityAuthProtoLen,
                        reinterpret_cast<const u_char*>(c.authPassword.c_str()), c.authPassword.size(),
                        s.securityAuthKey, &s.securityAuthKeyLen) != SNMPERR_SUCCESS)
            return nullptr;
        s.securityPrivProto = usmAESPrivProtocol;
        s.securityPrivProtoLen = USM_PRIV_PROTO_AES_LEN;
        s.securityPrivKeyLen = USM_PRIV_KU_LEN;
        if (generate_Ku(s.securityAuthProto, s.securityAuthProtoLen,
                        reinterpret_cast<const u_char*>(c.privPassword.c_str()), c.privPassword.size(),
                        s.securityPrivKey, &s.securityPrivKeyLen) != SNMPERR_SUCCESS)
            return nullptr;
    }
    return snmp_sess_open(&s);
}

void GetNextLoop(benchmark::State& state, int port, const Credentials& c) {
    void* session = OpenSession(port, c);
    if (!session) {
        state.SkipWithError("cannot open the session");
        return;
    }
    oid name[] = {1, 3, 6, 1, 2, 1, 1, 4};
    for (auto _ : state) {
        netsnmp_pdu* pdu = snmp_pdu_create(SNMP_MSG_GETNEXT);
        snmp_add_null_var(pdu, name, OID_LENGTH(name));
        netsnmp_pdu* response = nullptr;
        int status = snmp_sess_synch_response(session, pdu, &response);
        bool ok = status == STAT_SUCCESS && response && response->errstat == SNMP_ERR_NOERROR;
        if (response) snmp_free_pdu(response);
        if (!ok) {
            state.SkipWithError("no answer");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
    snmp_sess_close(session);
}

void KmsSimV1(benchmark::State& s) { GetNextLoop(s, g_sim->Port(), {false, "rdcomm", "", "", ""}); }
void SnmpdV1(benchmark::State& s) { GetNextLoop(s, g_snmpd->port(), {false, "rdcomm", "", "", ""}); }
void KmsSimV3AuthPriv(benchmark::State& s) {
    const kmstest::SimUser& u = kmstest::kSimUsers[9];  // SHA-1 / AES-128
    GetNextLoop(s, g_sim->Port(), {true, "", u.name, u.authPassword, u.privPassword});
}
void SnmpdV3AuthPriv(benchmark::State& s) {
    const SnmpdFixture::User& u = SnmpdFixture::FindUser("usrshaaes");
    GetNextLoop(s, g_snmpd->port(), {true, "", u.name, u.authPassword, u.privPassword});
}

BENCHMARK(KmsSimV1)->MinTime(2.0)->UseRealTime();
BENCHMARK(SnmpdV1)->MinTime(2.0)->UseRealTime();
BENCHMARK(KmsSimV3AuthPriv)->MinTime(2.0)->UseRealTime();
BENCHMARK(SnmpdV3AuthPriv)->MinTime(2.0)->UseRealTime();

// Keeps each benchmark's rate to print the ratios at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            auto it = r.counters.find("items_per_second");
            if (it != r.counters.end() && !r.error_occurred) rates[r.benchmark_name()] = it->second.value;
        }
    }
    std::map<std::string, double> rates;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    setenv("MIBS", "", 1);
    init_snmp("kms-sim-bench");
    kmstest::KmsSimFixture sim;
    if (!sim.Start()) {
        std::fprintf(stderr, "kms-sim: %s\n", sim.LastError().c_str());
        return 1;
    }
    SnmpdFixture snmpd;
    std::string error;
    if (!snmpd.start(&error)) {
        std::fprintf(stderr, "snmpd: %s\n", error.c_str());
        return 1;
    }
    g_sim = &sim;
    g_snmpd = &snmpd;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const auto& [mine, theirs] : {std::pair<std::string, std::string>{"KmsSimV1", "SnmpdV1"},
                                       {"KmsSimV3AuthPriv", "SnmpdV3AuthPriv"}}) {
        auto a = reporter.rates.find(mine + "/min_time:2.000/real_time");
        auto b = reporter.rates.find(theirs + "/min_time:2.000/real_time");
        if (a == reporter.rates.end() || b == reporter.rates.end()) continue;
        std::printf("%-18s %10.0f get-next/s   %-16s %10.0f get-next/s   ratio kms-sim/snmpd %.2f\n",
                    mine.c_str(), a->second, theirs.c_str(), b->second, a->second / b->second);
    }
    snmpd.stop();
    sim.Stop();
    benchmark::Shutdown();
    return 0;
}
