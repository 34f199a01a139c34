#include "snmp/common_snmp.h"

// clang-format off
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
// clang-format on

#include <arpa/inet.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "core/debug_out.h"
#include "snmp/snmp_engine.h"
#include "snmp/walk_cursor.h"

namespace {

using Clock = std::chrono::steady_clock;

// Request ids of all sessions come from one counter so that an answer can never be mistaken for
// another session's.
std::atomic<int> g_requestCounter{0};

int NextRequestId() {
    int id = ++g_requestCounter;
    while (id <= 0) {  // after wrapping, ids stay positive
        int expected = id;
        g_requestCounter.compare_exchange_strong(expected, 0);
        id = ++g_requestCounter;
    }
    return id;
}

int ProtocolCode(const std::string& text) {
    // Codes are compared as exact texts: "2", not "02" or " 2".
    if (text.size() == 1 && text[0] >= '0' && text[0] <= '9') return text[0] - '0';
    return 0;
}

bool IsException(int type) {
    return type == kSnmpNoSuchObject || type == kSnmpNoSuchInstance || type == kSnmpEndOfMibView;
}

// An answer that could not serve a get-bulk is asked again: once as get-next, or as a smaller get-bulk
// after each tooBig (halving from a few hundred repetitions takes fewer rounds than this).
constexpr int kWalkStepRounds = 24;

bool ParseLong(const char* text, long long min, long long max, long long& value) {
    if (text == nullptr || *text == '\0') return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtoll(text, &end, 10);
    return errno == 0 && end != text && *end == '\0' && value >= min && value <= max;
}

// The agent's error statuses keep their own range, 1..18 (RFC 3416), apart from the layer's 0, -1
// and -2; any other number an agent sends is a generic error.
int AgentErrorStatus(long errorStatus) {
    return errorStatus >= 1 && errorStatus <= 18 ? static_cast<int>(errorStatus) : SNMP_ERR_GENERR;
}

}  // namespace

struct SessionCore;

// One walk worker thread. Open retires it by moving the session to a new generation: a retired worker
// delivers nothing more and serves no further request, even when it outlives the wait for its end.
struct WalkerThread {
    std::thread thread;
    std::atomic<int> generation{0};
    bool running = true;  // under the session's stateMutex
};

namespace {
// The worker this thread is, and its session (null on every other thread).
thread_local const SessionCore* t_core = nullptr;
thread_local WalkerThread* t_walker = nullptr;
}  // namespace

// Everything a session shares with its walk worker. The worker holds a reference, so a worker that
// outlives its session (it did not end in time) still finds its state.
struct SessionCore {
    // Fixed at construction.
    int version = 0;  // 1 SNMPv1, 2 SNMPv2c (v1's communities, walks as over v3), 3 SNMPv3
    int timeoutMs = 3000;
    std::string readCommunity;
    std::string writeCommunity;
    EngineSession engine;

    // The lock event: serialises Open, AddValue, the sends and GetSuffix.
    std::mutex lock;
    bool hasRequest = false;
    int kind = 0;
    std::vector<EngineBinding> bindings;  // as added
    WalkCursor cursor;                    // get-next: where the walk of the added columns stands
    // SNMPv3 walks travel as get-bulk until the agent answers one wrongly, or leaves two in a row
    // unanswered that get-next then answered; from then on the session walks with get-next.
    bool bulkUsable = false;
    int bulkUnanswered = 0;
    // Get-next walks read ahead (walk_cursor.h) until the agent leaves two such requests in a row
    // unanswered that one-row get-next then answered.
    bool aheadUsable = false;
    int aheadUnanswered = 0;
    EngineRequest walkRequest;  // the request and result of every walk step, under `lock`
    EngineResult walkResult;
    // Why the last exchange with the agent failed, and the outcome of the last whole request.
    SnmpFailure exchangeFailure = SnmpFailure::NoAnswer;
    std::atomic<SnmpFailure> lastFailure{SnmpFailure::None};

    // Shared with Close, SetDone, RemoveRequestId and the worker; never held across a send.
    std::mutex stateMutex;
    std::condition_variable stateCv;
    bool done = true;
    bool closed = false;
    bool walkActive = false;
    std::atomic<int> generation{0};
    std::shared_ptr<WalkerThread> worker;  // the current generation's, or none
    SnmpResultCallback walkCallback;
    void* walkParam = nullptr;
    unsigned long walkTimeout = 0;
    int walkId = 0;
    std::vector<int> pending;

    SessionCore(EngineTarget target) : engine(std::move(target)) {}
    ~SessionCore() {
        // Only reached on a worker itself when the session was destroyed before its worker ended.
        if (worker && worker->thread.joinable()) worker->thread.detach();
    }

    // This thread is a worker this session has retired: whatever its callback asks is refused.
    bool OnRetiredWorker() const { return t_core == this && t_walker && t_walker->generation != generation; }

    // Ends the walk for good: a new generation, so the worker delivers nothing more; a waiting send is
    // woken, and the worker is waited for up to 3000 ms, else left to end on its own (it holds its own
    // reference). From the worker's own callback, the worker stays and serves the new generation.
    // Called with stateMutex held through `l`.
    void RetireWorker(std::unique_lock<std::mutex>& l) {
        ++generation;
        walkActive = false;
        pending.clear();
        done = true;
        stateCv.notify_all();
        engine.Wake();
        if (!worker) return;
        if (t_core == this && t_walker == worker.get()) {
            worker->generation = generation.load();
            return;
        }
        std::shared_ptr<WalkerThread> w = std::move(worker);
        if (stateCv.wait_for(l, std::chrono::milliseconds(3000), [&w] { return !w->running; })) {
            l.unlock();
            w->thread.join();
            l.lock();
        } else {
            DebugOut("SNMP walk worker did not end within 3000 ms");
            w->thread.detach();
        }
    }

    // Sends the prepared request and turns the reply into the caller's answer and status. Called with
    // `lock` held.
    int Perform(unsigned long timeout, bool async, int requestId, std::unique_ptr<CSnmp>& response,
                const std::function<bool()>& cancelled);
    // Runs `send` (a Perform or WalkStep) and keeps why it failed for LastFailure. `lock` held.
    template <class Send>
    int Request(Send send) {
        exchangeFailure = SnmpFailure::NoAnswer;
        const int status = send();
        lastFailure = status != kSnmpFailed                  ? SnmpFailure::None
                      : exchangeFailure == SnmpFailure::None ? SnmpFailure::NoAnswer
                                                             : exchangeFailure;
        return status;
    }
    EngineResult Transact(const EngineRequest& request, const std::function<bool()>& cancelled) {
        EngineResult result;
        Transact(request, cancelled, result);
        return result;
    }
    void Transact(const EngineRequest& request, const std::function<bool()>& cancelled, EngineResult& result) {
        engine.Transact(request, cancelled, result);
        exchangeFailure = result.failure;
    }
    // A request of the open kind without bindings: time-out (0: the session's), retry, community.
    EngineRequest BaseRequest(unsigned long timeout) const {
        EngineRequest request;
        FillBase(request, timeout);
        return request;
    }
    void FillBase(EngineRequest& request, unsigned long timeout) const {
        request.timeoutMs = timeout ? timeout : static_cast<unsigned long>(timeoutMs);
        // A read that timed out is sent once more; a write may have been applied.
        request.retry = kind != kSnmpSet;
        if (version != 3) request.community = kind == kSnmpSet ? writeCommunity : readCommunity;
    }
    // One step of the walk `walk`: a row held from a get-bulk or read-ahead answer, or a request for more
    // (a get-bulk when `mayBulk` and the agent has served them). Called with `lock` held.
    int WalkStep(WalkCursor& walk, bool mayBulk, unsigned long timeout, bool async, int requestId,
                 std::unique_ptr<CSnmp>& response, const std::function<bool()>& cancelled);
    void GiveUpBulk(const char* why) {
        if (!bulkUsable) return;
        bulkUsable = false;
        DebugOut(std::string("SNMP get-bulk ") + why + ": this session walks with get-next from now on");
    }
};

int SessionCore::Perform(unsigned long timeout, bool async, int requestId, std::unique_ptr<CSnmp>& response,
                         const std::function<bool()>& cancelled) {
    response.reset();
    if (kind == kSnmpGetNext) return WalkStep(cursor, true, timeout, async, requestId, response, cancelled);
    EngineRequest request = BaseRequest(timeout);
    request.pduType = kind == kSnmpGet ? SNMP_MSG_GET : SNMP_MSG_SET;
    request.bindings = bindings;

    EngineResult result = Transact(request, cancelled);
    if (result.status != 0) return kSnmpFailed;
    if (result.errorStatus != 0) return async ? kSnmpEndOfWalk : AgentErrorStatus(result.errorStatus);
    // An agent answers every binding it was asked, in order; anything else is no usable answer.
    if (result.answers.size() != request.bindings.size()) return kSnmpFailed;
    std::vector<SnmpBinding> kept;
    kept.reserve(result.answers.size());
    for (std::size_t k = 0; k < result.answers.size(); ++k) {
        EngineAnswer& a = result.answers[k];
        if (a.oid != request.bindings[k].oid) return kSnmpFailed;
        // No such object or instance: treated as the protocol's noSuchName.
        if (IsException(a.binding.type)) return async ? kSnmpEndOfWalk : SNMP_ERR_NOSUCHNAME;
        a.binding.oid = OidArcsText(a.oid);
        kept.push_back(std::move(a.binding));
    }
    response = std::make_unique<CSnmp>(std::move(kept), requestId);
    return kSnmpOk;
}

int SessionCore::WalkStep(WalkCursor& walk, bool mayBulk, unsigned long timeout, bool async, int requestId,
                          std::unique_ptr<CSnmp>& response, const std::function<bool()>& cancelled) {
    using Step = WalkCursor::Step;
    std::vector<SnmpBinding> row;
    bool serialOnce = false;
    for (int round = 0; round < kWalkStepRounds; ++round) {
        Step step;
        if (walk.Held()) {
            step = walk.Take(row);
            if (step == Step::Failed) {
                // Get-next decides whether the agent cannot walk on from here at all.
                GiveUpBulk("answer out of order");
                continue;
            }
        } else {
            const bool bulk = mayBulk && bulkUsable;
            const long ahead = !bulk && mayBulk && aheadUsable && !serialOnce ? walk.RowsAhead() : 1;
            serialOnce = false;
            // One request and one result serve every step: their storage is reused.
            EngineRequest& request = walkRequest;
            EngineResult& result = walkResult;
            FillBase(request, timeout);
            request.retryBindings.clear();
            walk.AskedInto(request.bindings);
            if (request.bindings.empty()) return kSnmpEndOfWalk;  // every column of the walk has ended
            request.pduType = bulk ? SNMP_MSG_GETBULK : SNMP_MSG_GETNEXT;
            request.maxRepetitions = bulk ? walk.Repetitions() : 0;
            request.retryPduType = bulk ? SNMP_MSG_GETNEXT : 0;
            if (ahead > 1) {
                request.retryBindings.swap(request.bindings);
                request.bindings = walk.AskedAhead(ahead);
            }
            Transact(request, cancelled, result);
            if (result.status != 0) return kSnmpFailed;
            if (!request.retryBindings.empty() && !result.answeredRetry) {
                aheadUnanswered = 0;
                if (result.errorStatus != 0) {
                    // A binding of the next row itself: what a one-row request would have been told.
                    const long row = walk.AheadRow(result.errorIndex);
                    if (row == 0 && result.errorStatus != SNMP_ERR_TOOBIG)
                        return async ? kSnmpEndOfWalk : AgentErrorStatus(result.errorStatus);
                    // Too big, or a guess past the end of the MIB (agents name any one of the bindings at
                    // fault): this step goes as one row, and later ones read ahead less far.
                    walk.AheadRefused(ahead, row);
                    serialOnce = true;
                } else if (!walk.HoldAhead(result.answers)) {
                    walk.AheadRefused(2);  // an agent that cannot answer them: one row a request
                    serialOnce = true;
                }
                continue;
            }
            if (!request.retryBindings.empty() && ++aheadUnanswered >= 2) {
                aheadUsable = false;
                DebugOut("SNMP read-ahead not answered: this session walks one row a request from now on");
            }
            if (result.answeredPduType == SNMP_MSG_GETBULK) {
                if (result.errorStatus == SNMP_ERR_TOOBIG && walk.Shrink(request.maxRepetitions)) continue;
                if (result.errorStatus == 0 && walk.HoldBulk(result.answers, request.maxRepetitions)) {
                    bulkUnanswered = 0;
                } else {
                    GiveUpBulk(result.errorStatus ? "refused" : "answer malformed");
                }
                continue;
            }
            if (bulk && ++bulkUnanswered >= 2) GiveUpBulk("not answered");
            if (result.errorStatus != 0) return async ? kSnmpEndOfWalk : AgentErrorStatus(result.errorStatus);
            step = walk.TakeNext(result.answers, row);
        }
        if (step == Step::Failed) return kSnmpFailed;
        if (step == Step::End) return kSnmpEndOfWalk;
        response = std::make_unique<CSnmp>(std::move(row), requestId);
        return kSnmpOk;
    }
    return kSnmpFailed;
}

struct CCommonSNMP::Impl {
    std::shared_ptr<SessionCore> core;
};

namespace {

void WorkerLoop(const std::shared_ptr<SessionCore>& core, const std::shared_ptr<WalkerThread>& self) {
    t_core = core.get();
    t_walker = self.get();
    while (true) {
        {
            std::lock_guard<std::mutex> l(core->stateMutex);
            const bool current = self->generation == core->generation;
            if (!current || !core->walkActive) {
                self->running = false;
                if (current) core->done = true;
                core->stateCv.notify_all();
                return;
            }
        }
        std::unique_lock<std::mutex> sessionLock(core->lock);
        SnmpResultCallback callback;
        void* param = nullptr;
        unsigned long timeout = 0;
        int id = 0;
        {
            std::lock_guard<std::mutex> l(core->stateMutex);
            if (!core->walkActive || self->generation != core->generation) continue;
            if (!core->hasRequest || core->bindings.empty()) {
                core->walkActive = false;
                continue;
            }
            // Taken, not copied: a callback that walks on hands in its successor.
            callback = std::move(core->walkCallback);
            param = core->walkParam;
            timeout = core->walkTimeout;
            id = core->walkId;
        }
        std::unique_ptr<CSnmp> response;
        DebugOut("getNext begin");
        const int status = core->Request([&] {
            return core->Perform(timeout, true, id, response, [&core, &self] {
                std::lock_guard<std::mutex> l(core->stateMutex);
                return !core->walkActive || self->generation != core->generation;
            });
        });
        DebugOut("getNext end");
        const bool requestKept = core->hasRequest;
        sessionLock.unlock();
        bool deliver;
        {
            std::lock_guard<std::mutex> l(core->stateMutex);
            deliver = core->walkActive && requestKept && self->generation == core->generation;
            core->walkActive = false;
        }
        // The callback runs without the session's lock, so it may call the session again; a
        // GetNextAsync from it sets walk active and this loop sends the next step.
        if (deliver && callback) callback(std::move(response), id, param, status);
    }
}

int PortNumber(const ModuleSettings& s) {
    const int port = std::atoi(s.SnmpPort.c_str());
    return port > 0 && port <= 65535 ? port : 161;
}

std::string PeerName(const ModuleSettings& s) {
    const std::string portText = std::to_string(PortNumber(s));
    if (s.DeviceAddress.find(':') != std::string::npos) return "udp6:[" + s.DeviceAddress + "]:" + portText;
    return "udp:" + s.DeviceAddress + ":" + portText;
}

}  // namespace

CCommonSNMP::CCommonSNMP(const ModuleSettings& settings) : d(std::make_unique<Impl>()) {
    EngineTarget target;
    target.peer = PeerName(settings);
    target.host = settings.DeviceAddress;
    target.port = PortNumber(settings);
    target.version = std::atoi(settings.SnmpVersion.c_str());
    target.community = settings.ReadCommunity;
    target.securityLevel = ProtocolCode(settings.SecurityLevel);
    target.userName = settings.UserName;
    target.authCode = ProtocolCode(settings.AuthProtocol);
    target.privCode = ProtocolCode(settings.PrivProtocol);
    target.authPassword = settings.AuthPassword;
    target.privPassword = settings.PrivPassword;
    d->core = std::make_shared<SessionCore>(std::move(target));
    SessionCore& c = *d->core;
    c.version = std::atoi(settings.SnmpVersion.c_str());
    const int timeout = std::atoi(settings.SnmpTimeoutText.c_str());
    // A time-out of zero or less would fail every request at once; fall back to the default.
    c.timeoutMs = timeout > 0 ? timeout : 3000;
    c.readCommunity = settings.ReadCommunity;
    c.writeCommunity = settings.WriteCommunity;
    // SNMPv2c has get-bulk too: its walks travel as those of SNMPv3.
    c.bulkUsable = (c.version == 2 || c.version == 3) && settings.UseGetBulk;
    c.aheadUsable = settings.ReadAhead;
    // The worker writes debug lines; the logging category is built here, before any worker exists.
    (void)kmsDebug();
}

CCommonSNMP::~CCommonSNMP() {
    SessionCore& c = *d->core;
    {
        // Late answers are stale from here on, and a walk waiting for one gives up.
        std::lock_guard<std::mutex> l(c.stateMutex);
        c.closed = true;
        c.walkActive = false;
        c.pending.clear();
    }
    c.engine.Wake();
    if (t_core != &c) {
        // The lock is waited for at most time-out + 1000 ms (a synchronous request of another thread
        // may hold it that long).
        std::unique_lock<std::mutex> lock(c.lock, std::defer_lock);
        const auto bound = Clock::now() + std::chrono::milliseconds(c.timeoutMs + 1000);
        while (!lock.try_lock() && Clock::now() < bound)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    std::unique_lock<std::mutex> l(c.stateMutex);
    c.RetireWorker(l);
    // A worker still running keeps the shared state alive until it ends.
}

bool CCommonSNMP::Open(int kind) {
    SessionCore& c = *d->core;
    {
        std::unique_lock<std::mutex> l(c.stateMutex);
        if (c.OnRetiredWorker()) return false;
        c.RetireWorker(l);
    }
    std::lock_guard<std::mutex> lock(c.lock);
    c.hasRequest = false;
    c.bindings.clear();
    c.cursor.Clear();
    if (c.version < 1 || c.version > 3) return false;
    if (kind != kSnmpGet && kind != kSnmpGetNext && kind != kSnmpSet) return false;
    c.kind = kind;
    c.hasRequest = true;
    std::lock_guard<std::mutex> l(c.stateMutex);
    c.closed = false;
    return true;
}

int CCommonSNMP::AddValue(const std::string& oid, int kind, const char* value) {
    const unsigned long length = (kind == kBindOctets && value) ? std::char_traits<char>::length(value) : 0;
    return AddValue(oid, kind, value, length);
}

int CCommonSNMP::AddValue(const std::string& oid, int kind, const char* value, unsigned long length) {
    SessionCore& c = *d->core;
    std::lock_guard<std::mutex> lock(c.lock);
    if (!c.hasRequest || c.OnRetiredWorker()) return -1;
    EngineBinding b;
    if (!ParseOidText(oid, b.oid)) return -1;
    long long number = 0;
    switch (kind) {
        case kBindInteger: {
            if (!ParseLong(value, INT32_MIN, INT32_MAX, number)) return -1;
            const long v = static_cast<long>(number);
            b.asnType = ASN_INTEGER;
            b.value.assign(reinterpret_cast<const char*>(&v), sizeof v);
            break;
        }
        case kBindUnsigned: {
            if (!ParseLong(value, 0, UINT32_MAX, number)) return -1;
            const long v = static_cast<long>(number);
            b.asnType = ASN_GAUGE;
            b.value.assign(reinterpret_cast<const char*>(&v), sizeof v);
            break;
        }
        case kBindIpAddress: {
            in_addr addr{};
            if (value == nullptr || inet_pton(AF_INET, value, &addr) != 1) return -1;
            b.asnType = ASN_IPADDRESS;
            b.value.assign(reinterpret_cast<const char*>(&addr), 4);
            break;
        }
        case kBindOctets:
            if (value == nullptr && length > 0) return -1;
            if (length > 65535) return -1;
            b.asnType = ASN_OCTET_STR;
            if (length) b.value.assign(value, length);
            break;
        case kBindNull:
            b.asnType = ASN_NULL;
            break;
        default:
            return -1;
    }
    c.cursor.AddColumn(b.oid);
    c.bindings.push_back(std::move(b));
    return 0;
}

int CCommonSNMP::GetNextAsync(SnmpResultCallback callback, void* param, int /*reserved*/,
                              unsigned long timeout) {
    SessionCore& c = *d->core;
    std::lock_guard<std::mutex> lock(c.lock);
    std::lock_guard<std::mutex> l(c.stateMutex);
    // A retired walk's callback may not start anything, nor touch the new request's state.
    if (c.OnRetiredWorker()) return -1;
    if (c.closed || !c.hasRequest || c.bindings.empty()) {
        c.done = true;
        c.stateCv.notify_all();
        return -1;
    }
    c.walkCallback = std::move(callback);
    c.walkParam = param;
    c.walkTimeout = timeout ? timeout : static_cast<unsigned long>(c.timeoutMs);
    c.walkId = NextRequestId();
    c.pending.push_back(c.walkId);
    c.walkActive = true;
    c.done = false;
    if (!c.worker || !c.worker->running) {
        // The previous worker has left its loop; it only has to return.
        if (c.worker && c.worker->thread.joinable()) c.worker->thread.join();
        c.worker = std::make_shared<WalkerThread>();
        c.worker->generation = c.generation.load();
        c.worker->thread = std::thread(WorkerLoop, d->core, c.worker);
    }
    return 0;
}

int CCommonSNMP::GetNextAsync(SnmpResultCallback callback, void* param, unsigned long timeout) {
    return GetNextAsync(std::move(callback), param, 0, timeout);
}

int CCommonSNMP::GetNext(std::unique_ptr<CSnmp>& response, unsigned long timeout) {
    SessionCore& c = *d->core;
    std::lock_guard<std::mutex> lock(c.lock);
    response.reset();
    if (!c.hasRequest || c.bindings.empty() || c.OnRetiredWorker()) return -1;
    return c.Request([&] { return c.Perform(timeout, false, NextRequestId(), response, {}); });
}

int CCommonSNMP::Send(std::unique_ptr<CSnmp>& response, unsigned long timeout) {
    SessionCore& c = *d->core;
    std::lock_guard<std::mutex> lock(c.lock);
    response.reset();
    if (!c.hasRequest || c.bindings.empty() || c.OnRetiredWorker()) return -1;
    if (c.kind != kSnmpGetNext)
        return c.Request([&] { return c.Perform(timeout, false, NextRequestId(), response, {}); });
    // A get-next through Send asks from the added OIDs each time and leaves the walk where it is.
    WalkCursor fresh;
    for (const EngineBinding& b : c.bindings) fresh.AddColumn(b.oid);
    return c.Request([&] { return c.WalkStep(fresh, false, timeout, false, NextRequestId(), response, {}); });
}

void CCommonSNMP::LimitWalkRows(int rows) {
    SessionCore& c = *d->core;
    std::lock_guard<std::mutex> lock(c.lock);
    c.cursor.LimitRows(rows);
}

int CCommonSNMP::GetSuffix(int index, const CSnmp* response, std::string& suffix) {
    suffix.clear();
    if (response == nullptr || index < 0 || index >= response->getValuesCount()) return -1;
    OidArcs oid;
    if (!ParseOidText(response->getOid(index), oid)) return -1;
    SessionCore& c = *d->core;
    std::lock_guard<std::mutex> lock(c.lock);
    const OidArcs* column = nullptr;
    for (const EngineBinding& b : c.bindings) {
        const bool within = b.oid == oid || OidIsBelow(oid, b.oid);
        if (within && (column == nullptr || b.oid.size() > column->size())) column = &b.oid;
    }
    if (column == nullptr) return -1;
    for (std::size_t i = column->size(); i < oid.size(); ++i) suffix += "." + std::to_string(oid[i]);
    return 0;
}

int CCommonSNMP::RemoveRequestId(int id) {
    SessionCore& c = *d->core;
    std::lock_guard<std::mutex> l(c.stateMutex);
    if (c.OnRetiredWorker()) return 0;
    auto it = std::find(c.pending.begin(), c.pending.end(), id);
    if (it == c.pending.end()) return 0;
    c.pending.erase(it);
    return 1;
}

void CCommonSNMP::SetDone() {
    SessionCore& c = *d->core;
    std::lock_guard<std::mutex> l(c.stateMutex);
    if (c.OnRetiredWorker()) return;
    c.done = true;
    c.stateCv.notify_all();
}

void CCommonSNMP::Close() {
    SessionCore& c = *d->core;
    std::unique_lock<std::mutex> l(c.stateMutex);
    c.closed = true;
    c.walkActive = false;
    c.pending.clear();
    c.engine.Wake();
    // From inside a callback the walk cannot end while we wait for it.
    if (t_core == &c) return;
    c.stateCv.wait_for(l, std::chrono::milliseconds(c.timeoutMs + 1000), [&c] { return c.done; });
}

int CCommonSNMP::TimeoutMs() const {
    return d->core->timeoutMs;
}

SnmpFailure CCommonSNMP::LastFailure() const {
    return d->core->lastFailure;
}
