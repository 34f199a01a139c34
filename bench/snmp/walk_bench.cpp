// Walks a 1000-row column of the test snmpd with CCommonSNMP callbacks and with a plain Net-SNMP
// get-next loop, over SNMPv1 and SNMPv3 authPriv, and prints requests per second and the ratio, and the
// CPU time each spends per request on its own thread (which does not depend on what else runs).

// clang-format off
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
// clang-format on

#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "snmp/common_snmp.h"
#include "snmp/oid_text.h"
#include "tests/fixtures/snmpd_fixture.h"

namespace {

const char kUser[] = "usrshaaes";

SnmpdFixture& Agent() {
    static SnmpdFixture* agent = [] {
        auto* a = new SnmpdFixture;
        std::string error;
        if (!a->start(&error)) std::fprintf(stderr, "snmpd fixture: %s\n", error.c_str());
        return a;
    }();
    return *agent;
}

// Get-next against get-next: the session's v3 walks would travel as get-bulk otherwise.
ModuleSettings SettingsFor(bool v3) {
    ModuleSettings s = v3 ? Agent().SettingsV3(kUser) : Agent().SettingsV1();
    s.UseGetBulk = false;
    return s;
}

// Figures of every single walk, by name. The ratios are the medians of the ratios within each pair of
// walks run back to back: on a shared machine the load changes from second to second, and a walk now
// and then takes several times as long, whichever code runs it.
std::map<std::string, std::vector<double>>& Walks() {
    static std::map<std::string, std::vector<double>> walks;
    return walks;
}

std::string Name(const char* what, bool v3) {
    return std::string(what) + (v3 ? " v3" : " v1");
}

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// CPU time of the calling thread, microseconds.
double ThreadCpuUs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

struct CallbackWalk {
    explicit CallbackWalk(CCommonSNMP& s) : session(s) {}
    CCommonSNMP& session;
    std::mutex m;
    std::condition_variable cv;
    bool finished = false;
    long requests = 0;
    long rows = 0;
    double cpuFirst = 0, cpuLast = 0;  // the worker's CPU time at the first and the last answer

    unsigned OnAnswer(std::unique_ptr<CSnmp> response, int id, int status) {
        if (++requests == 1) cpuFirst = ThreadCpuUs();
        if (session.RemoveRequestId(id) == 0) return 0;
        if (status != 0) {
            cpuLast = ThreadCpuUs();
            session.SetDone();
            std::lock_guard<std::mutex> l(m);
            finished = true;
            cv.notify_all();
            return 0;
        }
        rows += response->getValuesCount();
        session.GetNextAsync(
            [this](std::unique_ptr<CSnmp> r, int i, void*, int s) { return OnAnswer(std::move(r), i, s); },
            this, 0);
        return 0;
    }
};

// Requests per second of one walk (0 when incomplete), and its CPU time per request.
struct WalkFigures {
    double rate = 0;
    double cpuUs = 0;
};

// One walk of the big column through CCommonSNMP callbacks.
WalkFigures CCommonSNMPWalk(CCommonSNMP& session) {
    CallbackWalk walk(session);
    const auto t0 = std::chrono::steady_clock::now();
    session.Open(kSnmpGetNext);
    session.AddValue(SnmpdFixture::BigColumnOid(), kBindNull, nullptr);
    session.GetNextAsync(
        [&walk](std::unique_ptr<CSnmp> r, int i, void*, int s) { return walk.OnAnswer(std::move(r), i, s); },
        &walk, 0);
    std::unique_lock<std::mutex> l(walk.m);
    walk.cv.wait(l, [&walk] { return walk.finished; });
    const double rate = walk.requests / Seconds(t0);
    // The first request's own CPU time is not seen: the rest stands for all.
    return {walk.rows == SnmpdFixture::BigColumnRows() ? rate : 0,
            (walk.cpuLast - walk.cpuFirst) / static_cast<double>(walk.requests - 1)};
}

// The same walk written directly against Net-SNMP's single-session API, as a tool would.
void* OpenPlain(bool v3) {
    netsnmp_session s;
    snmp_sess_init(&s);
    const std::string peer = "udp:127.0.0.1:" + std::to_string(Agent().port());
    s.peername = const_cast<char*>(peer.c_str());
    s.retries = 0;
    s.timeout = 3000000;
    const std::string community = SnmpdFixture::ReadCommunity();
    const SnmpdFixture::User& u = SnmpdFixture::FindUser(kUser);
    if (v3) {
        s.version = SNMP_VERSION_3;
        s.securityName = const_cast<char*>(u.name.c_str());
        s.securityNameLen = u.name.size();
        s.securityLevel = SNMP_SEC_LEVEL_AUTHPRIV;
        s.securityAuthProto = usmHMACSHA1AuthProtocol;
        s.securityAuthProtoLen = OID_LENGTH(usmHMACSHA1AuthProtocol);
        s.securityAuthKeyLen = USM_AUTH_KU_LEN;
        generate_Ku(s.securityAuthProto, static_cast<u_int>(s.securityAuthProtoLen),
                    reinterpret_cast<const u_char*>(u.authPassword.data()), u.authPassword.size(),
                    s.securityAuthKey, &s.securityAuthKeyLen);
        s.securityPrivProto = usmAESPrivProtocol;
        s.securityPrivProtoLen = OID_LENGTH(usmAESPrivProtocol);
        s.securityPrivKeyLen = USM_PRIV_KU_LEN;
        generate_Ku(s.securityAuthProto, static_cast<u_int>(s.securityAuthProtoLen),
                    reinterpret_cast<const u_char*>(u.privPassword.data()), u.privPassword.size(),
                    s.securityPrivKey, &s.securityPrivKeyLen);
    } else {
        s.version = SNMP_VERSION_1;
        s.community = reinterpret_cast<u_char*>(const_cast<char*>(community.data()));
        s.community_len = community.size();
    }
    return snmp_sess_open(&s);
}

// The same walk as a plain get-next loop.
__attribute__((noinline)) WalkFigures PlainWalk(void* sess) {
    OidArcs column;
    ParseOidText(SnmpdFixture::BigColumnOid(), column);
    const std::vector<oid> columnOid(column.begin(), column.end());
    const auto t0 = std::chrono::steady_clock::now();
    const double cpu0 = ThreadCpuUs();
    std::vector<oid> current = columnOid;
    long rows = 0, requests = 0;
    while (true) {
        netsnmp_pdu* pdu = snmp_pdu_create(SNMP_MSG_GETNEXT);
        snmp_add_null_var(pdu, current.data(), current.size());
        netsnmp_pdu* response = nullptr;
        const int status = snmp_sess_synch_response(sess, pdu, &response);
        ++requests;
        bool more = false;
        if (status == STAT_SUCCESS && response && response->errstat == SNMP_ERR_NOERROR) {
            const netsnmp_variable_list* v = response->variables;
            if (v && v->type != SNMP_ENDOFMIBVIEW && v->name_length > columnOid.size() &&
                std::equal(columnOid.begin(), columnOid.end(), v->name)) {
                current.assign(v->name, v->name + v->name_length);
                ++rows;
                more = true;
            }
        }
        if (response) snmp_free_pdu(response);
        if (!more) break;
    }
    const double rate = requests / Seconds(t0);
    return {rows == SnmpdFixture::BigColumnRows() ? rate : 0,
            (ThreadCpuUs() - cpu0) / static_cast<double>(requests)};
}

// The two walks run in pairs, in alternating order, so that both meet the same load on a shared
// machine.
void BM_Walk(benchmark::State& state) {
    const bool v3 = state.range(0) == 3;
    CCommonSNMP session(SettingsFor(v3));
    void* plain = OpenPlain(v3);
    if (!plain) {
        state.SkipWithError("cannot open a Net-SNMP session");
        return;
    }
    std::vector<double> ours, theirs, oursCpu, theirsCpu, rateRatios, cpuRatios;
    long requests = 0;
    for (auto _ : state) {
        const bool oursFirst = ours.size() % 2 == 0;
        WalkFigures o, p;
        if (oursFirst) o = CCommonSNMPWalk(session);
        p = PlainWalk(plain);
        if (!oursFirst) o = CCommonSNMPWalk(session);
        ours.push_back(o.rate);
        theirs.push_back(p.rate);
        oursCpu.push_back(o.cpuUs);
        theirsCpu.push_back(p.cpuUs);
        rateRatios.push_back(p.rate > 0 ? o.rate / p.rate : 0);
        cpuRatios.push_back(p.cpuUs > 0 ? o.cpuUs / p.cpuUs : 0);
        if (o.rate == 0 || p.rate == 0) state.SkipWithError("incomplete walk");
        requests += 2 * (SnmpdFixture::BigColumnRows() + 1);
    }
    snmp_sess_close(plain);
    state.SetItemsProcessed(requests);
    const double o = Median(ours), p = Median(theirs);
    state.counters["ours_req_per_s"] = o;
    state.counters["plain_req_per_s"] = p;
    state.counters["ratio"] = Median(rateRatios);
    state.counters["cpu_ratio"] = Median(cpuRatios);
    state.counters["cpu_us_ours"] = Median(oursCpu);
    state.counters["cpu_us_plain"] = Median(theirsCpu);
    Walks()[Name("CCommonSNMP", v3)] = ours;
    Walks()[Name("plain Net-SNMP", v3)] = theirs;
    Walks()[Name("CCommonSNMP cpu", v3)] = oursCpu;
    Walks()[Name("plain Net-SNMP cpu", v3)] = theirsCpu;
    Walks()[Name("ratio", v3)] = rateRatios;
    Walks()[Name("cpu ratio", v3)] = cpuRatios;
}

BENCHMARK(BM_Walk)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(4.0);

}  // namespace
int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (!SnmpEngineInit() || !Agent().running()) return 1;
    // Fill the agent's cache of the extension's output before anything is timed.
    {
        CCommonSNMP warm(Agent().SettingsV1());
        warm.Open(kSnmpGet);
        warm.AddValue(SnmpdFixture::BigColumnOid() + ".1", kBindNull, nullptr);
        std::unique_ptr<CSnmp> answer;
        warm.GetNext(answer, 0);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (bool v3 : {false, true}) {
        const auto& ourWalks = Walks()[Name("CCommonSNMP", v3)];
        const double ours = Median(ourWalks);
        const double plain = Median(Walks()[Name("plain Net-SNMP", v3)]);
        const double oursCpu = Median(Walks()[Name("CCommonSNMP cpu", v3)]);
        const double plainCpu = Median(Walks()[Name("plain Net-SNMP cpu", v3)]);
        const double ratio = Median(Walks()[Name("ratio", v3)]);
        const double cpuRatio = Median(Walks()[Name("cpu ratio", v3)]);
        if (ours > 0 && plain > 0)
            std::printf(
                "SNMPv%s walk (medians of %zu pairs): CCommonSNMP %.0f requests/s, plain Net-SNMP %.0f "
                "requests/s, ratio %.3f (our cost %+.1f%%); CPU per request %.1f us against %.1f us, ratio "
                "%.3f\n",
                v3 ? "3 authPriv" : "1", ourWalks.size(), ours, plain, ratio, (1.0 / ratio - 1.0) * 100.0,
                oursCpu, plainCpu, cpuRatio);
    }
    Agent().stop();
    return 0;
}
