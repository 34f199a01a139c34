// Walks a 1000-row column of the test snmpd with CCommonSNMP callbacks and with a plain Net-SNMP loop,
// get-next over SNMPv1 and SNMPv3 authPriv, get-bulk over SNMPv2c and SNMPv3 authPriv, and prints requests
// per second and the ratio, and the CPU time each spends per request and per row on its own thread (which
// does not depend on what else runs). The get-bulk loop asks as many repetitions as our walk received a
// request, so both send the same requests.

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

// The walks compared: get-next (one row a request) and get-bulk, by SNMP version.
struct Mode {
    int version;  // 1, 2 (SNMPv2c) or 3
    bool bulk;
};
const Mode kModes[] = {{1, false}, {3, false}, {2, true}, {3, true}};

ModuleSettings SettingsFor(const Mode& mode) {
    ModuleSettings s = mode.version == 3 ? Agent().SettingsV3(kUser) : Agent().SettingsV1();
    if (mode.version == 2) s.SnmpVersion = "2";
    s.UseGetBulk = mode.bulk;
    s.ReadAhead = false;  // one row a request, as the plain loop asks
    return s;
}

// Figures of every single walk, by name. The ratios are the medians of the ratios within each pair of
// walks run back to back: on a shared machine the load changes from second to second, and a walk now
// and then takes several times as long, whichever code runs it.
std::map<std::string, std::vector<double>>& Walks() {
    static std::map<std::string, std::vector<double>> walks;
    return walks;
}

std::string Name(const char* what, const Mode& mode) {
    return std::string(what) + " v" + std::to_string(mode.version) + (mode.bulk ? " bulk" : " next");
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
    long rows = 0;
    double cpu = 0;  // the worker's CPU time at the last answer: a walk has a worker of its own

    unsigned OnAnswer(std::unique_ptr<CSnmp> response, int id, int status) {
        if (session.RemoveRequestId(id) == 0) return 0;
        if (status != 0) {
            cpu = ThreadCpuUs();
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

// Requests per second of one walk (0 when incomplete), its CPU time per request and per row, and the
// requests it sent.
struct WalkFigures {
    double rate = 0;
    double cpuUs = 0;
    double cpuRowUs = 0;
    long requests = 0;
};

// Packets snmpd has received so far (snmpInPkts), read through a plain SNMPv1 session; the read
// itself is one of them.
long AgentPackets(void* counter) {
    static const oid kInPkts[] = {1, 3, 6, 1, 2, 1, 11, 1, 0};
    netsnmp_pdu* pdu = snmp_pdu_create(SNMP_MSG_GET);
    snmp_add_null_var(pdu, kInPkts, OID_LENGTH(kInPkts));
    netsnmp_pdu* response = nullptr;
    long packets = -1;
    if (snmp_sess_synch_response(counter, pdu, &response) == STAT_SUCCESS && response &&
        response->variables && response->variables->type == ASN_COUNTER)
        packets = static_cast<long>(*response->variables->val.integer);
    if (response) snmp_free_pdu(response);
    return packets;
}

// One walk of the big column through CCommonSNMP callbacks.
WalkFigures CCommonSNMPWalk(CCommonSNMP& session, void* counter) {
    CallbackWalk walk(session);
    const long packets = AgentPackets(counter);
    const auto t0 = std::chrono::steady_clock::now();
    session.Open(kSnmpGetNext);
    session.AddValue(SnmpdFixture::BigColumnOid(), kBindNull, nullptr);
    session.GetNextAsync(
        [&walk](std::unique_ptr<CSnmp> r, int i, void*, int s) { return walk.OnAnswer(std::move(r), i, s); },
        &walk, 0);
    std::unique_lock<std::mutex> l(walk.m);
    walk.cv.wait(l, [&walk] { return walk.finished; });
    const double seconds = Seconds(t0);
    const long requests = AgentPackets(counter) - packets - 1;
    return {walk.rows == SnmpdFixture::BigColumnRows() ? requests / seconds : 0,
            walk.cpu / static_cast<double>(requests), walk.cpu / static_cast<double>(walk.rows), requests};
}

// The same walk written directly against Net-SNMP's single-session API, as a tool would.
void* OpenPlain(int version) {
    netsnmp_session s;
    snmp_sess_init(&s);
    const std::string peer = "udp:127.0.0.1:" + std::to_string(Agent().port());
    s.peername = const_cast<char*>(peer.c_str());
    s.retries = 0;
    s.timeout = 3000000;
    const std::string community = SnmpdFixture::ReadCommunity();
    const SnmpdFixture::User& u = SnmpdFixture::FindUser(kUser);
    if (version == 3) {
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
        s.version = version == 2 ? SNMP_VERSION_2c : SNMP_VERSION_1;
        s.community = reinterpret_cast<u_char*>(const_cast<char*>(community.data()));
        s.community_len = community.size();
    }
    return snmp_sess_open(&s);
}

// The same walk as a plain get-next loop, or a get-bulk loop of `repetitions`.
__attribute__((noinline)) WalkFigures PlainWalk(void* sess, long repetitions) {
    OidArcs column;
    ParseOidText(SnmpdFixture::BigColumnOid(), column);
    const std::vector<oid> columnOid(column.begin(), column.end());
    const auto t0 = std::chrono::steady_clock::now();
    const double cpu0 = ThreadCpuUs();
    std::vector<oid> current = columnOid;
    long rows = 0, requests = 0;
    while (true) {
        netsnmp_pdu* pdu = snmp_pdu_create(repetitions > 0 ? SNMP_MSG_GETBULK : SNMP_MSG_GETNEXT);
        if (repetitions > 0) {
            pdu->non_repeaters = 0;
            pdu->max_repetitions = repetitions;
        }
        snmp_add_null_var(pdu, current.data(), current.size());
        netsnmp_pdu* response = nullptr;
        const int status = snmp_sess_synch_response(sess, pdu, &response);
        ++requests;
        bool more = false;
        if (status == STAT_SUCCESS && response && response->errstat == SNMP_ERR_NOERROR) {
            more = true;
            for (const netsnmp_variable_list* v = response->variables; v && more; v = v->next_variable) {
                more = v->type != SNMP_ENDOFMIBVIEW && v->name_length > columnOid.size() &&
                       std::equal(columnOid.begin(), columnOid.end(), v->name);
                if (!more) break;
                current.assign(v->name, v->name + v->name_length);
                ++rows;
            }
        }
        if (response) snmp_free_pdu(response);
        if (!more) break;
    }
    const double cpu = ThreadCpuUs() - cpu0;
    return {rows == SnmpdFixture::BigColumnRows() ? requests / Seconds(t0) : 0,
            cpu / static_cast<double>(requests), cpu / static_cast<double>(rows), requests};
}

// The two walks run in pairs, in alternating order, so that both meet the same load on a shared
// machine.
void BM_Walk(benchmark::State& state) {
    const Mode mode = kModes[state.range(0)];
    CCommonSNMP session(SettingsFor(mode));
    void* plain = OpenPlain(mode.version);
    void* counter = OpenPlain(1);
    if (!plain || !counter) {
        state.SkipWithError("cannot open a Net-SNMP session");
        return;
    }
    std::vector<double> ours, theirs, oursCpu, theirsCpu, oursRow, theirsRow, rateRatios, cpuRatios,
        rowRatios;
    // A first walk of each learns the agent (SNMPv3 engine discovery), and ours tells how many rows a
    // get-bulk answer brings: the plain loop asks as many (the rows over the full answers).
    const long warm = CCommonSNMPWalk(session, counter).requests;
    const long repetitions =
        mode.bulk && warm > 1 ? (SnmpdFixture::BigColumnRows() + warm - 2) / (warm - 1) : 0;
    PlainWalk(plain, repetitions);
    long requests = 0;
    for (auto _ : state) {
        const bool oursFirst = ours.size() % 2 == 0;
        WalkFigures o, p;
        if (oursFirst) o = CCommonSNMPWalk(session, counter);
        p = PlainWalk(plain, repetitions);
        if (!oursFirst) o = CCommonSNMPWalk(session, counter);
        ours.push_back(o.rate);
        theirs.push_back(p.rate);
        oursCpu.push_back(o.cpuUs);
        theirsCpu.push_back(p.cpuUs);
        oursRow.push_back(o.cpuRowUs);
        theirsRow.push_back(p.cpuRowUs);
        rateRatios.push_back(p.rate > 0 ? o.rate / p.rate : 0);
        cpuRatios.push_back(p.cpuUs > 0 ? o.cpuUs / p.cpuUs : 0);
        rowRatios.push_back(p.cpuRowUs > 0 ? o.cpuRowUs / p.cpuRowUs : 0);
        if (o.rate == 0 || p.rate == 0) state.SkipWithError("incomplete walk");
        if (o.requests != p.requests) {
            std::fprintf(stderr, "requests: ours %ld, plain %ld\n", o.requests, p.requests);
            state.SkipWithError("the walks sent different numbers of requests");
        }
        requests += o.requests + p.requests;
    }
    snmp_sess_close(plain);
    snmp_sess_close(counter);
    state.SetItemsProcessed(requests);
    state.counters["ratio"] = Median(rateRatios);
    state.counters["cpu_ratio"] = Median(cpuRatios);
    state.counters["row_cpu_ratio"] = Median(rowRatios);
    state.counters["cpu_us_ours"] = Median(oursCpu);
    state.counters["cpu_us_plain"] = Median(theirsCpu);
    Walks()[Name("CCommonSNMP", mode)] = ours;
    Walks()[Name("plain Net-SNMP", mode)] = theirs;
    Walks()[Name("CCommonSNMP cpu", mode)] = oursCpu;
    Walks()[Name("plain Net-SNMP cpu", mode)] = theirsCpu;
    Walks()[Name("CCommonSNMP row", mode)] = oursRow;
    Walks()[Name("plain Net-SNMP row", mode)] = theirsRow;
    Walks()[Name("ratio", mode)] = rateRatios;
    Walks()[Name("cpu ratio", mode)] = cpuRatios;
    Walks()[Name("row ratio", mode)] = rowRatios;
}

BENCHMARK(BM_Walk)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(4.0);

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
    for (const Mode& mode : kModes) {
        const auto& ourWalks = Walks()[Name("CCommonSNMP", mode)];
        const double ours = Median(ourWalks);
        const double plain = Median(Walks()[Name("plain Net-SNMP", mode)]);
        const double ratio = Median(Walks()[Name("ratio", mode)]);
        if (ours > 0 && plain > 0)
            std::printf(
                "SNMPv%s %s walk (medians of %zu pairs): CCommonSNMP %.0f requests/s, plain Net-SNMP %.0f "
                "requests/s, ratio %.3f (our cost %+.1f%%); CPU per request %.1f us against %.1f us, ratio "
                "%.3f; per row %.2f us against %.2f us, ratio %.3f\n",
                mode.version == 3   ? "3 authPriv"
                : mode.version == 2 ? "2c"
                                    : "1",
                mode.bulk ? "get-bulk" : "get-next", ourWalks.size(), ours, plain, ratio,
                (1.0 / ratio - 1.0) * 100.0, Median(Walks()[Name("CCommonSNMP cpu", mode)]),
                Median(Walks()[Name("plain Net-SNMP cpu", mode)]), Median(Walks()[Name("cpu ratio", mode)]),
                Median(Walks()[Name("CCommonSNMP row", mode)]),
                Median(Walks()[Name("plain Net-SNMP row", mode)]), Median(Walks()[Name("row ratio", mode)]));
    }
    Agent().stop();
    return 0;
}
