#include "snmp/multi_request.h"

// clang-format off
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
#include <net-snmp/library/large_fd_set.h>
// clang-format on

#include <arpa/inet.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <map>
#include <random>
#include <unordered_map>

#include "snmp/common_snmp.h"
#include "snmp/engine_discovery.h"
#include "snmp/usm_user.h"

namespace {

using Clock = std::chrono::steady_clock;
using PeerKey = std::uint64_t;

PeerKey KeyOf(const sockaddr_in& a) {
    return (static_cast<PeerKey>(ntohl(a.sin_addr.s_addr)) << 16) | ntohs(a.sin_port);
}

// What a report said of an SNMPv3 agent's engine: its ID and its clock when we learnt it.
struct EngineKnowledge {
    std::string engineId;
    EngineClock clock;
    Clock::time_point learnt;
    // The agent's engine time now, as far as we can tell.
    std::uint32_t TimeNow() const {
        const auto elapsed = std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - learnt).count();
        return clock.time + static_cast<std::uint32_t>(std::max<long long>(0, elapsed));
    }
};

// Sentinels of the epoll registrations that are not flights.
char g_wakeTag, g_discoveryTag;

}  // namespace

struct MultiRequester::Flight {
    MultiGet request;
    sockaddr_in addr{};
    PeerKey key = 0;
    bool discovering = false;
    int timeoutsLeft = 0;
    bool relearned = false;
    bool armed = false;
    std::multimap<Clock::time_point, Flight*>::iterator timer;
    std::int32_t msgId = 0;
    void* sess = nullptr;  // Net-SNMP single session while getting
    int sock = -1;
    EngineKnowledge engine;
    std::unique_ptr<UsmUserKeys> keys;
    // Filled by the library's callback, under the engine lock.
    bool finished = false;
    bool answered = false;
    bool relearn = false;
    SnmpFailure report = SnmpFailure::None;
    MultiGetResult result;
};

namespace {

// Runs inside snmp_sess_read2, under the engine lock.
int OnFlightPdu(int op, netsnmp_session*, int, netsnmp_pdu* pdu, void* magic) {
    auto* f = static_cast<MultiRequester::Flight*>(magic);
    if (f == nullptr || f->finished) return 1;
    if (pdu && pdu->command == SNMP_MSG_REPORT) {
        f->report = UsmReportReason(pdu);
        // The agent restarted, or is another behind the same address: learn its engine again.
        f->relearn = f->report == SnmpFailure::NotInTimeWindow || f->report == SnmpFailure::UnknownEngineId;
    }
    // A security error and a re-send are announced before the message itself arrives.
    if (op != NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE) return 1;
    f->finished = true;
    if (pdu == nullptr || pdu->command != SNMP_MSG_RESPONSE) return 1;
    f->answered = true;
    f->result.errorStatus = pdu->errstat;
    for (const variable_list* v = pdu->variables; v; v = v->next_variable)
        f->result.bindings.push_back(ConvertVariable(v));
    return 1;
}

}  // namespace

struct MultiRequester::Impl {
    int epfd = -1;
    int discoverySock = -1;
    std::unordered_map<Flight*, std::unique_ptr<Flight>> flights;
    std::multimap<Clock::time_point, Flight*> timers;
    std::unordered_multimap<PeerKey, Flight*> discovering;
    std::unordered_map<PeerKey, EngineKnowledge> engines;
    UsmKeyCache keyCache;  // touched under the engine lock only
    std::mt19937 random{std::random_device{}()};
    std::vector<MultiGetResult> results;

    ~Impl() {
        AbandonAll();
        if (discoverySock >= 0) close(discoverySock);
        if (epfd >= 0) close(epfd);
    }

    void Start(MultiGet&& request);
    void SendDiscovery(Flight* f);
    void SendGet(Flight* f);
    void Arm(Flight* f);
    void Disarm(Flight* f);
    void CloseSession(Flight* f);
    void Finish(Flight* f, SnmpFailure failure);
    void StopDiscovering(Flight* f);
    void Relearn(Flight* f);
    void OnReadable(Flight* f);
    void OnDiscoveryReadable();
    void OnTimeout(Flight* f);
    void Install(Flight* f);
    void AbandonAll();
};

void MultiRequester::Impl::Arm(Flight* f) {
    Disarm(f);
    f->timer = timers.emplace(Clock::now() + std::chrono::milliseconds(f->request.timeoutMs), f);
    f->armed = true;
}

void MultiRequester::Impl::Disarm(Flight* f) {
    if (f->armed) timers.erase(f->timer);
    f->armed = false;
}

void MultiRequester::Impl::Start(MultiGet&& request) {
    auto owned = std::make_unique<Flight>();
    Flight* f = owned.get();
    flights.emplace(f, std::move(owned));
    f->request = std::move(request);
    f->result.tag = f->request.tag;
    f->timeoutsLeft = std::max(0, f->request.retries);
    f->addr.sin_family = AF_INET;
    f->addr.sin_port = htons(static_cast<std::uint16_t>(f->request.target.port));
    if (inet_pton(AF_INET, f->request.target.host.c_str(), &f->addr.sin_addr) != 1 ||
        f->request.target.port <= 0 || f->request.target.port > 65535 || f->request.oids.empty())
        return Finish(f, SnmpFailure::NoAnswer);
    f->key = KeyOf(f->addr);
    if (f->request.target.version == 3) {
        auto known = engines.find(f->key);
        if (known == engines.end()) return SendDiscovery(f);
        f->engine = known->second;
    }
    SendGet(f);
}

void MultiRequester::Impl::SendDiscovery(Flight* f) {
    f->discovering = true;
    f->msgId = static_cast<std::int32_t>(random() & 0x7FFFFFFF);
    const std::string message = BuildDiscoveryRequest(f->msgId);
    // A full send buffer loses this datagram as the network would: the time-out sends it again.
    sendto(discoverySock, message.data(), message.size(), MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&f->addr),
           sizeof f->addr);
    discovering.emplace(f->key, f);
    Arm(f);
}

void MultiRequester::Impl::OnDiscoveryReadable() {
    char buf[2048];
    while (true) {
        sockaddr_in from{};
        socklen_t len = sizeof from;
        const ssize_t got =
            recvfrom(discoverySock, buf, sizeof buf, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &len);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return;
        const std::string message(buf, static_cast<std::size_t>(got));
        auto [begin, end] = discovering.equal_range(KeyOf(from));
        for (auto it = begin; it != end; ++it) {
            Flight* f = it->second;
            std::string engineId;
            EngineClock clock;
            if (!ParseDiscoveryReport(message, f->msgId, engineId, &clock)) continue;
            discovering.erase(it);
            f->discovering = false;
            f->engine = {engineId, clock, Clock::now()};
            engines[f->key] = f->engine;
            SendGet(f);
            break;
        }
    }
}

// Engine lock held. Agents may share an engine ID (a default left unchanged): each request carries its
// own agent's clock and its own keys.
void MultiRequester::Impl::Install(Flight* f) {
    if (f->request.target.version != 3 || !f->keys) return;
    netsnmp_session* s = snmp_sess_session(f->sess);
    const std::string& id = f->engine.engineId;
    set_enginetime(reinterpret_cast<const u_char*>(id.data()), static_cast<u_int>(id.size()),
                   f->engine.clock.boots, f->engine.TimeNow(), TRUE);
    UsmInstallKeys(s, *f->keys);
}

void MultiRequester::Impl::SendGet(Flight* f) {
    const EngineTarget& t = f->request.target;
    bool ok = true;
    {
        std::lock_guard<std::mutex> lock(EngineLock());
        if (!f->sess) {
            netsnmp_session s;
            snmp_sess_init(&s);
            char peer[64];
            snprintf(peer, sizeof peer, "udp:%s:%d", t.host.c_str(), t.port);
            s.peername = peer;
            s.retries = 0;
            s.timeout = 3600L * 1000000L;  // the time-outs are ours
            s.callback = OnFlightPdu;
            s.callback_magic = f;
            if (t.version == 3) {
                ok = UsmFillSession(s, t, &keyCache);
            } else {
                s.version = t.version == 2 ? SNMP_VERSION_2c : SNMP_VERSION_1;
                s.community = reinterpret_cast<u_char*>(const_cast<char*>(t.community.data()));
                s.community_len = t.community.size();
            }
            if (ok) f->sess = snmp_sess_open(&s);
            UsmClearSessionKeys(s);
            netsnmp_transport* transport = f->sess ? snmp_sess_transport(f->sess) : nullptr;
            ok = transport &&
                 connect(transport->sock, reinterpret_cast<sockaddr*>(&f->addr), sizeof f->addr) == 0;
            if (ok) {
                f->sock = transport->sock;
                epoll_event ev{};
                ev.events = EPOLLIN;
                ev.data.ptr = f;
                ok = epoll_ctl(epfd, EPOLL_CTL_ADD, f->sock, &ev) == 0;
            }
            if (ok && t.version == 3) {
                f->keys = std::make_unique<UsmUserKeys>();
                EngineClock now{f->engine.clock.boots, f->engine.TimeNow()};
                ok = UsmAdoptEngine(snmp_sess_session(f->sess), f->engine.engineId, now, *f->keys);
            }
        }
        if (ok) {
            f->finished = f->answered = f->relearn = false;
            f->report = SnmpFailure::None;
            Install(f);
            netsnmp_pdu* pdu = snmp_pdu_create(SNMP_MSG_GET);
            oid name[MAX_OID_LEN];
            for (const OidArcs& arcs : f->request.oids) {
                const size_t len = std::min(arcs.size(), static_cast<size_t>(MAX_OID_LEN));
                std::copy_n(arcs.begin(), len, name);
                snmp_pdu_add_variable(pdu, name, len, ASN_NULL, nullptr, 0);
            }
            if (snmp_sess_send(f->sess, pdu) == 0) {
                snmp_free_pdu(pdu);
                ok = false;
            }
        }
    }
    if (!ok) return Finish(f, SnmpFailure::NoAnswer);
    Arm(f);
}

void MultiRequester::Impl::CloseSession(Flight* f) {
    if (!f->sess) return;
    if (f->sock >= 0) epoll_ctl(epfd, EPOLL_CTL_DEL, f->sock, nullptr);
    std::lock_guard<std::mutex> lock(EngineLock());
    snmp_sess_close(f->sess);
    f->sess = nullptr;
    f->sock = -1;
    f->keys.reset();
}

void MultiRequester::Impl::StopDiscovering(Flight* f) {
    if (!f->discovering) return;
    auto [begin, end] = discovering.equal_range(f->key);
    for (auto it = begin; it != end; ++it)
        if (it->second == f) {
            discovering.erase(it);
            break;
        }
    f->discovering = false;
}

void MultiRequester::Impl::Finish(Flight* f, SnmpFailure failure) {
    Disarm(f);
    StopDiscovering(f);
    CloseSession(f);
    f->result.failure = failure;
    if (failure != SnmpFailure::None) f->result.bindings.clear();
    results.push_back(std::move(f->result));
    flights.erase(f);
}

void MultiRequester::Impl::Relearn(Flight* f) {
    f->relearned = true;
    engines.erase(f->key);
    CloseSession(f);
    SendDiscovery(f);
}

void MultiRequester::Impl::OnReadable(Flight* f) {
    {
        std::lock_guard<std::mutex> lock(EngineLock());
        Install(f);
        netsnmp_large_fd_set readable;
        netsnmp_large_fd_set_init(&readable, f->sock + 1);
        NETSNMP_LARGE_FD_SET(f->sock, &readable);
        snmp_sess_read2(f->sess, &readable);
        netsnmp_large_fd_set_cleanup(&readable);
    }
    if (f->answered) return Finish(f, SnmpFailure::None);
    const bool reported = f->report != SnmpFailure::None;
    if (f->relearn && !f->relearned) return Relearn(f);
    if (f->finished || (reported && !f->relearn)) Finish(f, reported ? f->report : SnmpFailure::NoAnswer);
}

void MultiRequester::Impl::OnTimeout(Flight* f) {
    f->armed = false;
    if (f->timeoutsLeft <= 0) return Finish(f, SnmpFailure::NoAnswer);
    --f->timeoutsLeft;
    if (f->discovering) {
        StopDiscovering(f);
        return SendDiscovery(f);
    }
    if (f->request.target.version == 3) {
        // The library drops, unseen, a report of an agent whose boots went back: learn its engine anew.
        engines.erase(f->key);
        CloseSession(f);
        return SendDiscovery(f);
    }
    SendGet(f);
}

void MultiRequester::Impl::AbandonAll() {
    while (!flights.empty()) {
        Flight* f = flights.begin()->first;
        Disarm(f);
        CloseSession(f);
        flights.erase(f);
    }
    discovering.clear();
    timers.clear();
    results.clear();
}

MultiRequester::MultiRequester(std::size_t maxInFlight) : d(std::make_unique<Impl>()) {
    const std::size_t files = RaiseOpenFileLimit();
    // Room for what else the process holds open.
    m_maxInFlight = std::max<std::size_t>(1, std::min(maxInFlight, files > 256 ? files - 128 : files / 2));
    m_wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    d->epfd = epoll_create1(EPOLL_CLOEXEC);
    d->discoverySock = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (d->discoverySock >= 0) {
        // Reports of a whole range may arrive at once.
        const int size = 1 << 20;
        setsockopt(d->discoverySock, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    }
    epoll_event ev{};
    ev.events = EPOLLIN;
    ev.data.ptr = &g_wakeTag;
    if (d->epfd >= 0 && m_wakeFd >= 0) epoll_ctl(d->epfd, EPOLL_CTL_ADD, m_wakeFd, &ev);
    ev.data.ptr = &g_discoveryTag;
    if (d->epfd >= 0 && d->discoverySock >= 0) epoll_ctl(d->epfd, EPOLL_CTL_ADD, d->discoverySock, &ev);
}

MultiRequester::~MultiRequester() {
    d.reset();
    if (m_wakeFd >= 0) close(m_wakeFd);
}

void MultiRequester::Stop() {
    m_stopped.store(true);
    const std::uint64_t one = 1;
    if (m_wakeFd >= 0) [[maybe_unused]]
        ssize_t n = write(m_wakeFd, &one, sizeof one);
}

void MultiRequester::ForgetEngines() {
    d->engines.clear();
}

bool MultiRequester::Run(const std::function<bool(MultiGet&)>& next,
                         const std::function<void(MultiGetResult&&)>& done) {
    if (!SnmpEngineInit() || d->epfd < 0 || d->discoverySock < 0 || m_wakeFd < 0) return false;
    epoll_event events[128];
    while (!m_stopped.load()) {
        while (d->flights.size() < m_maxInFlight && !m_stopped.load()) {
            MultiGet request;
            if (!next(request)) break;
            d->Start(std::move(request));
        }
        if (!d->results.empty()) {
            std::vector<MultiGetResult> ready;
            ready.swap(d->results);
            for (MultiGetResult& r : ready) {
                if (m_stopped.load()) break;
                done(std::move(r));
            }
            continue;  // `done` may have made more requests available
        }
        if (d->flights.empty()) break;
        int waitMs = -1;
        if (!d->timers.empty()) {
            const auto left = d->timers.begin()->first - Clock::now();
            waitMs = static_cast<int>(
                std::max<long long>(0, std::chrono::ceil<std::chrono::milliseconds>(left).count()));
        }
        const int n = epoll_wait(d->epfd, events, static_cast<int>(std::size(events)), waitMs);
        if (n < 0 && errno != EINTR) break;
        for (int i = 0; i < n && !m_stopped.load(); ++i) {
            void* tag = events[i].data.ptr;
            if (tag == &g_wakeTag) {
                std::uint64_t count;
                [[maybe_unused]] ssize_t r = read(m_wakeFd, &count, sizeof count);
            } else if (tag == &g_discoveryTag) {
                d->OnDiscoveryReadable();
            } else {
                auto* f = static_cast<Flight*>(tag);
                // An earlier event of this round may have finished it.
                if (!d->flights.count(f) || !f->sess) continue;
                if (events[i].events & EPOLLERR) {
                    // An ICMP refusal (nothing listens there now): the device may still answer in time.
                    int error = 0;
                    socklen_t len = sizeof error;
                    getsockopt(f->sock, SOL_SOCKET, SO_ERROR, &error, &len);
                }
                if (events[i].events & EPOLLIN) d->OnReadable(f);
            }
        }
        const auto now = Clock::now();
        while (!m_stopped.load() && !d->timers.empty() && d->timers.begin()->first <= now) {
            Flight* f = d->timers.begin()->second;
            d->timers.erase(d->timers.begin());
            d->OnTimeout(f);
        }
    }
    d->AbandonAll();
    return !m_stopped.load();
}

std::size_t RaiseOpenFileLimit() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return 1024;
    if (limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max == RLIM_INFINITY ? 65536 : std::min<rlim_t>(limit.rlim_max, 65536);
        setrlimit(RLIMIT_NOFILE, &limit);
        getrlimit(RLIMIT_NOFILE, &limit);
    }
    return static_cast<std::size_t>(std::min<rlim_t>(limit.rlim_cur, 65536));
}
