#include "snmp/snmp_engine.h"

// clang-format off
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
#include <net-snmp/library/large_fd_set.h>
// clang-format on

#include <arpa/inet.h>
#include <netdb.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "core/debug_out.h"
#include "snmp/common_snmp.h"
#include "snmp/engine_discovery.h"
#include "snmp/usm_user.h"

std::mutex& EngineLock() {
    static std::mutex lock;
    return lock;
}

namespace {

using Clock = std::chrono::steady_clock;

// Every answer's OIDs pass through here, under the engine lock: digits written backwards into one
// buffer, one allocation per text.
std::string OidValueText(const oid* arcs, size_t len) {
    len = std::min<size_t>(len, MAX_OID_LEN);
    char buf[MAX_OID_LEN * 21];
    char* end = buf + sizeof buf;
    char* p = end;
    for (size_t i = len; i-- > 0;) {
        unsigned long v = arcs[i];
        do {
            *--p = static_cast<char>('0' + v % 10);
            v /= 10;
        } while (v);
        if (i) *--p = '.';
    }
    return std::string(p, end);
}

}  // namespace

// What the Net-SNMP callback hands back to the waiting Transact. Only touched under the engine lock.
struct EngineSession::State {
    int expectedReqid = 0;
    long expectedMsgid = -1;  // SNMPv3: the message id of our request
    bool finished = false;
    bool relearn = false;                    // the agent reported our idea of its engine or clock wrong
    SnmpFailure report = SnmpFailure::None;  // the reason of the agent's report, when one came
    EngineResult* result = nullptr;          // filled by the callback from the answer
};

namespace {

// Runs inside snmp_sess_read2 / snmp_sess_timeout, so under the engine lock.
int OnPdu(int op, netsnmp_session*, int reqid, netsnmp_pdu* pdu, void* magic) {
    auto* state = static_cast<EngineSession::State*>(magic);
    // A late answer or time-out of an abandoned request is not ours any more. An agent that refuses a
    // message before reading its PDU reports with request id 0: the library matched it by message id.
    if (state == nullptr || state->finished) return 1;
    const bool ourReport = pdu && pdu->command == SNMP_MSG_REPORT && pdu->msgid == state->expectedMsgid;
    if (reqid != state->expectedReqid && !ourReport) return 1;
    if (const SnmpFailure reason = UsmReportReason(pdu); reason != SnmpFailure::None) {
        state->report = reason;
        // The agent restarted, or is another: what we knew of its engine is stale.
        state->relearn = reason == SnmpFailure::NotInTimeWindow || reason == SnmpFailure::UnknownEngineId;
    }

    // A security error (a report) and a re-send are announced before the message itself arrives.
    if (op == NETSNMP_CALLBACK_OP_SEC_ERROR || op == NETSNMP_CALLBACK_OP_RESEND) return 1;
    state->finished = true;
    // Reports (unknown user, wrong digest) count as failures.
    if (op != NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE || pdu == nullptr || pdu->command != SNMP_MSG_RESPONSE ||
        state->result == nullptr)
        return 1;
    EngineResult& r = *state->result;
    r.status = 0;
    r.failure = SnmpFailure::None;
    r.errorStatus = pdu->errstat;
    r.errorIndex = static_cast<unsigned long>(pdu->errindex);
    std::size_t count = 0;
    for (const variable_list* v = pdu->variables; v; v = v->next_variable) ++count;
    // The answers of the last request keep their arcs' storage for this one.
    r.answers.resize(count);
    EngineAnswer* a = r.answers.data();
    for (const variable_list* v = pdu->variables; v; v = v->next_variable, ++a) {
        a->oid.assign(v->name, v->name + v->name_length);
        // The OID's text is left to whoever keeps the binding: a walk builds it from its column's.
        ConvertValue(v, a->binding);
    }
    return 1;
}

}  // namespace

SnmpBinding ConvertVariable(const variable_list* var) {
    SnmpBinding b;
    ConvertValue(var, b);
    b.oid = OidValueText(var->name, var->name_length);
    return b;
}

void ConvertValue(const variable_list* var, SnmpBinding& b) {
    b.oid.clear();
    b.value.clear();
    b.type = var->type;
    switch (var->type) {
        case ASN_INTEGER:
            b.value = std::to_string(*var->val.integer);
            break;
        case ASN_OCTET_STR:
        case ASN_OPAQUE:
            if (var->val.string && var->val_len)
                b.value.assign(reinterpret_cast<const char*>(var->val.string), var->val_len);
            break;
        case ASN_IPADDRESS:
            if (var->val_len == 4) {
                char text[INET_ADDRSTRLEN] = {};
                inet_ntop(AF_INET, var->val.string, text, sizeof text);
                b.value = text;
            }
            break;
        case ASN_COUNTER:
        case ASN_GAUGE:
        case ASN_TIMETICKS:
            b.value = std::to_string(static_cast<unsigned long>(*var->val.integer) & 0xFFFFFFFFul);
            break;
        case ASN_COUNTER64: {
            const std::uint64_t v = (static_cast<std::uint64_t>(var->val.counter64->high) << 32) |
                                    (var->val.counter64->low & 0xFFFFFFFFul);
            b.value = std::to_string(v);
            break;
        }
        case ASN_OBJECT_ID:
            b.value = OidValueText(var->val.objid, var->val_len / sizeof(oid));
            break;
        default:  // null, exceptions
            break;
    }
}

EngineSession::EngineSession(EngineTarget target)
    : m_target(std::move(target)), m_state(std::make_unique<State>()) {
    m_wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

EngineSession::~EngineSession() {
    if (m_sess) {
        std::lock_guard<std::mutex> lock(EngineLock());
        snmp_sess_close(m_sess);
    }
    if (m_wakeFd >= 0) close(m_wakeFd);
}

void EngineSession::Wake() {
    if (m_wakeFd >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] ssize_t n = write(m_wakeFd, &one, sizeof one);
    }
}

// Engine lock held.
void EngineSession::InstallCredentials() {
    netsnmp_session* s = m_credentials ? snmp_sess_session(m_sess) : nullptr;
    if (s) UsmInstallKeys(s, *m_credentials);
}

bool EngineSession::EnsureOpen(Clock::time_point deadline, const std::function<bool()>& cancelled) {
    if (!m_sess) {
        if (!SnmpEngineInit()) return false;
        std::lock_guard<std::mutex> lock(EngineLock());
        netsnmp_session s;
        snmp_sess_init(&s);
        s.peername = const_cast<char*>(m_target.peer.c_str());
        s.retries = 0;
        s.timeout = 1000000;
        s.callback = OnPdu;
        s.callback_magic = m_state.get();
        if (m_target.version == 3) {
            s.version = SNMP_VERSION_3;
            // The engine ID is discovered by Discover(), which waits outside the engine lock.
            if (!UsmFillSession(s, m_target)) return false;
        } else {
            s.version = m_target.version == 2 ? SNMP_VERSION_2c : SNMP_VERSION_1;
            s.community = reinterpret_cast<u_char*>(const_cast<char*>(m_target.community.data()));
            s.community_len = m_target.community.size();
        }
        m_sess = snmp_sess_open(&s);
        UsmClearSessionKeys(s);
        if (!m_sess || !ConnectToDevice()) return false;
    }
    if (m_target.version == 3 && !m_discovered) m_discovered = Discover(deadline, cancelled);
    return m_target.version != 3 || m_discovered;
}

bool EngineSession::Discover(Clock::time_point deadline, const std::function<bool()>& cancelled) {
    std::string engineId;
    EngineClock clock;
    if (!DiscoverEngineId(m_target.host, m_target.port, deadline, m_wakeFd, cancelled, engineId, &clock))
        return false;
    std::lock_guard<std::mutex> lock(EngineLock());
    netsnmp_session* s = snmp_sess_session(m_sess);
    if (!s) return false;
    auto keys = std::make_unique<UsmUserKeys>();
    if (!UsmAdoptEngine(s, engineId, clock, *keys)) return false;
    m_credentials = std::move(keys);
    return true;
}

void EngineSession::Forget() {
    m_discovered = false;
    std::lock_guard<std::mutex> lock(EngineLock());
    netsnmp_session* s = m_sess ? snmp_sess_session(m_sess) : nullptr;
    // What we knew of the agent's clock would keep every request outside its time window.
    if (s && s->securityEngineIDLen) free_enginetime(s->securityEngineID, s->securityEngineIDLen);
}

bool EngineSession::ConnectToDevice() {
    netsnmp_transport* t = snmp_sess_transport(m_sess);
    addrinfo hints{};
    hints.ai_socktype = SOCK_DGRAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (!t || getaddrinfo(m_target.host.c_str(), std::to_string(m_target.port).c_str(), &hints, &found) != 0)
        return false;
    bool ok = false;
    for (const addrinfo* a = found; a && !ok; a = a->ai_next)
        ok = connect(t->sock, a->ai_addr, a->ai_addrlen) == 0;
    freeaddrinfo(found);
    return ok;
}

EngineSession::Outcome EngineSession::Exchange(netsnmp_pdu* pdu, Clock::time_point deadline,
                                               const std::function<bool()>& cancelled, EngineResult& result) {
    int sock = -1;
    {
        std::lock_guard<std::mutex> lock(EngineLock());
        netsnmp_session* s = snmp_sess_session(m_sess);
        *m_state = State{};
        // Requests we gave up on leave the library's list once their own time has come.
        snmp_sess_timeout(m_sess);
        const auto left =
            std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now()).count();
        s->timeout = left > 0 ? static_cast<long>(left) : 1;
        s->retries = 0;
        InstallCredentials();
        const int reqid = snmp_sess_send(m_sess, pdu);
        if (reqid == 0) {
            snmp_free_pdu(pdu);
            m_state->finished = true;
            return Outcome::Failed;
        }
        m_state->expectedReqid = reqid;
        // The library keeps the sent PDU until its answer or time-out, and it numbered the message.
        if (m_target.version == 3) m_state->expectedMsgid = pdu->msgid;
        m_state->result = &result;
        netsnmp_transport* t = snmp_sess_transport(m_sess);
        sock = t ? t->sock : -1;
    }
    // The wait ends at our deadline, whatever the library's own timer says: it started a little later.
    Outcome outcome = Outcome::TimedOut;
    while (true) {
        const Clock::time_point now = Clock::now();
        if (now >= deadline) break;
        const auto waitMs = std::chrono::ceil<std::chrono::milliseconds>(deadline - now).count();
        pollfd pfd[2] = {{sock, POLLIN, 0}, {m_wakeFd, POLLIN, 0}};
        const int n = poll(pfd, m_wakeFd >= 0 ? 2 : 1, static_cast<int>(waitMs));
        if (n < 0 && errno != EINTR) {
            outcome = Outcome::Failed;
            break;
        }
        if (m_wakeFd >= 0 && (pfd[1].revents & POLLIN)) {
            std::uint64_t count;
            [[maybe_unused]] ssize_t r = read(m_wakeFd, &count, sizeof count);
            if (cancelled && cancelled()) {
                outcome = Outcome::Failed;
                break;
            }
        }
        if (pfd[0].revents & POLLERR) {
            // An ICMP refusal on the connected socket (the device is down): keep waiting for its answer.
            int error = 0;
            socklen_t len = sizeof error;
            getsockopt(sock, SOL_SOCKET, SO_ERROR, &error, &len);
        }
        if (!(pfd[0].revents & POLLIN)) continue;
        std::lock_guard<std::mutex> lock(EngineLock());
        InstallCredentials();
        netsnmp_large_fd_set readable;
        netsnmp_large_fd_set_init(&readable, sock + 1);
        NETSNMP_LARGE_FD_SET(sock, &readable);
        snmp_sess_read2(m_sess, &readable);
        netsnmp_large_fd_set_cleanup(&readable);
        if (m_state->finished) {
            outcome = result.status == 0 ? Outcome::Answered
                      : m_state->relearn ? Outcome::Relearn
                                         : Outcome::Failed;
            break;
        }
    }
    std::lock_guard<std::mutex> lock(EngineLock());
    // Whatever happens to the request from now on is not ours any more.
    m_state->finished = true;
    m_state->result = nullptr;
    if (outcome != Outcome::Answered && m_state->report != SnmpFailure::None)
        result.failure = m_state->report;
    return outcome;
}

EngineSession::Outcome EngineSession::Attempt(const EngineRequest& request, Clock::time_point deadline,
                                              const std::function<bool()>& cancelled, EngineResult& result) {
    result.status = -1;
    result.answeredPduType = 0;
    result.answeredRetry = false;
    result.errorStatus = 0;
    result.errorIndex = 0;
    result.failure = SnmpFailure::NoAnswer;
    // An agent that did not tell its engine timed out like any read.
    if (!EnsureOpen(deadline, cancelled))
        return cancelled && cancelled() ? Outcome::Failed : Outcome::TimedOut;
    netsnmp_pdu* pdu;
    {
        std::lock_guard<std::mutex> lock(EngineLock());
        pdu = snmp_pdu_create(request.pduType);
        if (request.pduType == SNMP_MSG_GETBULK) {
            pdu->non_repeaters = 0;
            pdu->max_repetitions = request.maxRepetitions;
        }
        // The session's own community goes without a copy in every request.
        if (m_target.version != 3 && !request.community.empty() && request.community != m_target.community) {
            pdu->community =
                static_cast<u_char*>(netsnmp_memdup(request.community.data(), request.community.size()));
            pdu->community_len = request.community.size();
        }
        oid name[MAX_OID_LEN];
        for (const EngineBinding& b : request.bindings) {
            const size_t len = std::min(b.oid.size(), static_cast<size_t>(MAX_OID_LEN));
            std::copy_n(b.oid.begin(), len, name);
            snmp_pdu_add_variable(pdu, name, len, b.asnType, b.value.empty() ? nullptr : b.value.data(),
                                  b.value.size());
        }
    }
    return Exchange(pdu, deadline, cancelled, result);
}

EngineResult EngineSession::Transact(const EngineRequest& request, const std::function<bool()>& cancelled) {
    EngineResult result;
    Transact(request, cancelled, result);
    return result;
}

void EngineSession::Transact(const EngineRequest& request, const std::function<bool()>& cancelled,
                             EngineResult& result) {
    const auto timeout = std::chrono::milliseconds(request.timeoutMs);
    auto deadline = Clock::now() + timeout;
    bool relearned = false, retried = false;
    Outcome outcome;
    EngineRequest resend;
    const EngineRequest* sent = &request;
    while (true) {
        outcome = Attempt(*sent, deadline, cancelled, result);
        if (outcome == Outcome::Relearn && m_target.version == 3 && !relearned) {
            // Refused at the agent's security check, so even a write was not applied: learn and resend.
            relearned = true;
            Forget();
            continue;
        }
        if (outcome == Outcome::TimedOut && request.retry && !retried && !(cancelled && cancelled())) {
            retried = true;
            deadline = Clock::now() + timeout;
            // The library drops, unseen, a report of an agent whose boots went back: the retry goes out
            // after learning the agent's engine anew.
            if (m_target.version == 3) Forget();
            if ((request.retryPduType && request.retryPduType != request.pduType) ||
                !request.retryBindings.empty()) {
                resend = request;
                if (request.retryPduType) resend.pduType = request.retryPduType;
                if (!request.retryBindings.empty()) resend.bindings = request.retryBindings;
                sent = &resend;
            }
            continue;
        }
        break;
    }
    if (outcome == Outcome::Answered) {
        m_failuresInARow = 0;
        result.answeredPduType = sent->pduType;
        result.answeredRetry = sent != &request;
        return;
    }
    const SnmpFailure failure = result.failure;
    result = EngineResult{};  // a failure carries nothing but its reason
    if (cancelled && cancelled()) return;
    // A device that restarted with a new engine, or without counting its boots, may answer nothing we
    // accept: after two failures in a row the next request learns its engine again.
    if (m_target.version == 3 && ++m_failuresInARow >= 2) {
        m_failuresInARow = 0;
        Forget();
    }
    result.failure = failure;
    if (IsSecurityRefusal(failure)) DebugOut(SnmpRefusalText(m_target.host, failure));
}
