// Get-next throughput of kms-sim against Debian's snmpd, the same request to both: one get-next of
// sysContact (1.3.6.1.2.1.1.4) at a time, SNMPv1 and SNMPv3 authPriv (SHA-1/AES-128). Both agents run
// on loopback in one run; the counters give each agent's rate and the ratio kms-sim / snmpd.
#include <benchmark/benchmark.h>
#include <unistd.h>

// clang-format off
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
// clang-format on

#include <chrono>
#include <cstdio>
#include <cstring>
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

// CPU time (user + system) a process has used so far, in seconds.
double CpuSeconds(pid_t pid) {
    std::FILE* f = std::fopen(("/proc/" + std::to_string(pid) + "/stat").c_str(), "r");
    if (!f) return 0;
    char buf[1024];
    size_t n = std::fread(buf, 1, sizeof buf - 1, f);
    std::fclose(f);
    buf[n] = '\0';
    const char* p = std::strrchr(buf, ')');  // fields after the command name
    unsigned long utime = 0, stime = 0;
    if (!p || std::sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &utime, &stime) != 2)
        return 0;
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

bool GetNextOnce(void* session) {
    static oid name[] = {1, 3, 6, 1, 2, 1, 1, 4};
    netsnmp_pdu* pdu = snmp_pdu_create(SNMP_MSG_GETNEXT);
    snmp_add_null_var(pdu, name, OID_LENGTH(name));
    netsnmp_pdu* response = nullptr;
    int status = snmp_sess_synch_response(session, pdu, &response);
    bool ok = status == STAT_SUCCESS && response && response->errstat == SNMP_ERR_NOERROR;
    if (response) snmp_free_pdu(response);
    return ok;
}

// Each iteration sends one get-next to kms-sim and one to snmpd, so that both see the same load of
// this shared machine; the time of each is kept apart.
void Interleaved(benchmark::State& state, const Credentials& mine, const Credentials& theirs) {
    void* a = OpenSession(g_sim->Port(), mine);
    void* b = OpenSession(g_snmpd->port(), theirs);
    if (!a || !b) {
        state.SkipWithError("cannot open the sessions");
        return;
    }
    using Clock = std::chrono::steady_clock;
    Clock::duration simTime{}, snmpdTime{};
    double simCpu = CpuSeconds(g_sim->Pid()), snmpdCpu = CpuSeconds(g_snmpd->pid());
    for (auto _ : state) {
        auto t0 = Clock::now();
        bool ok = GetNextOnce(a);
        auto t1 = Clock::now();
        ok = GetNextOnce(b) && ok;
        auto t2 = Clock::now();
        simTime += t1 - t0;
        snmpdTime += t2 - t1;
        if (!ok) {
            state.SkipWithError("no answer");
            break;
        }
    }
    double n = static_cast<double>(state.iterations());
    double simRate = n / std::chrono::duration<double>(simTime).count();
    double snmpdRate = n / std::chrono::duration<double>(snmpdTime).count();
    state.counters["kms_sim_per_s"] = simRate;
    state.counters["snmpd_per_s"] = snmpdRate;
    state.counters["ratio"] = simRate / snmpdRate;
    // The agents' own CPU time per request does not depend on what else runs on the machine.
    state.counters["kms_sim_cpu_us"] = (CpuSeconds(g_sim->Pid()) - simCpu) * 1e6 / n;
    state.counters["snmpd_cpu_us"] = (CpuSeconds(g_snmpd->pid()) - snmpdCpu) * 1e6 / n;
    snmp_sess_close(a);
    snmp_sess_close(b);
}

void GetNextV1(benchmark::State& s) {
    Interleaved(s, {false, "rdcomm", "", "", ""}, {false, "rdcomm", "", "", ""});
}
void GetNextV3AuthPriv(benchmark::State& s) {
    const kmstest::SimUser& u = kmstest::kSimUsers[9];  // SHA-1 / AES-128
    const SnmpdFixture::User& d = SnmpdFixture::FindUser("usrshaaes");
    Interleaved(s, {true, "", u.name, u.authPassword, u.privPassword},
                {true, "", d.name, d.authPassword, d.privPassword});
}

BENCHMARK(GetNextV1)->MinTime(3.0)->UseRealTime();
BENCHMARK(GetNextV3AuthPriv)->MinTime(3.0)->UseRealTime();

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
    benchmark::RunSpecifiedBenchmarks();
    snmpd.stop();
    sim.Stop();
    benchmark::Shutdown();
    return 0;
}
