#pragma once
// The process's one door to Net-SNMP. Net-SNMP 5.9 has no locking of its own and its SNMPv3 state (the
// user table, the engine-time cache) is global, so every library call runs under EngineLock(); the
// waiting for answers happens outside it, on the session's socket, so sessions never queue behind
// each other's time-outs.

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "snmp/oid_text.h"
#include "snmp/snmp_answer.h"
#include "snmp/snmp_failure.h"

std::mutex& EngineLock();

// Where and as whom a session talks.
struct EngineTarget {
    std::string peer;  // "udp:ADDRESS:PORT"
    std::string host;  // ADDRESS
    int port = 161;
    int version = 1;        // 1 SNMPv1, 2 SNMPv2c, 3 SNMPv3
    std::string community;  // SNMPv1 and v2c default community
    // SNMPv3 USM. Levels: 1 noAuthNoPriv, 2 authNoPriv, 3 authPriv. Codes are the last arcs of the USM
    // protocol identifiers: auth 2 MD5, 3 SHA-1, 4..7 SHA-224..512; priv 2 DES, 4 AES-128.
    int securityLevel = 1;
    std::string userName;
    int authCode = 0;
    int privCode = 0;
    std::string authPassword;
    std::string privPassword;
};

struct EngineBinding {
    OidArcs oid;
    unsigned char asnType = 0;  // BER tag
    std::string value;          // raw value bytes in Net-SNMP's in-memory form (long, in_addr, octets)
};

struct EngineRequest {
    int pduType = 0;          // Net-SNMP message type (SNMP_MSG_GET ...)
    long maxRepetitions = 0;  // get-bulk (its non-repeaters are 0)
    std::vector<EngineBinding> bindings;
    std::string community;           // SNMPv1 and v2c: overrides the target's community when not empty
    unsigned long timeoutMs = 3000;  // for each attempt
    // A read that times out is sent once more (a new request id) before it fails; a write never is,
    // since a write that timed out may have been applied.
    bool retry = false;
    // The message type of that second send when it differs (a get-bulk that went unanswered is asked
    // again as get-next, so an agent that ignores get-bulk still answers).
    int retryPduType = 0;
    // The bindings of that second send when not empty (a read-ahead get-next is asked again for one row,
    // so an agent that drops long requests still answers).
    std::vector<EngineBinding> retryBindings;
};

struct EngineAnswer {
    OidArcs oid;
    SnmpBinding binding;
};

struct EngineResult {
    int status = -1;  // 0 an answer PDU arrived; -1 time-out, transport or security failure, cancelled
    int answeredPduType = 0;     // the message type of the send that was answered
    bool answeredRetry = false;  // the second send was answered
    long errorStatus = 0;
    unsigned long errorIndex = 0;
    std::vector<EngineAnswer> answers;
    // Why there is no answer: None with one; the agent's report when it refused us at its security check
    // (still after learning its engine again, where that was the report); NoAnswer otherwise.
    SnmpFailure failure = SnmpFailure::NoAnswer;
};

// One Net-SNMP single session (snmp_sess_*), opened on first use. For SNMPv3 the agent's engine ID is
// discovered on first use too, on a socket of our own and outside the engine lock. Not thread-safe itself:
// the owning CCommonSNMP serialises its requests.
class EngineSession {
public:
    explicit EngineSession(EngineTarget target);
    ~EngineSession();
    EngineSession(const EngineSession&) = delete;
    EngineSession& operator=(const EngineSession&) = delete;

    // Sends the request and waits for its answer or its time-out. `cancelled` is asked whenever the
    // wait is woken through Wake(); a true answer abandons the request (status -1). Over SNMPv3, a report
    // that the agent's clock or engine is not what we knew (it restarted), or two failures in a row,
    // make the session learn the agent's engine anew; after such a report the request is sent again.
    EngineResult Transact(const EngineRequest& request, const std::function<bool()>& cancelled = {});
    // The same into `result`, whose storage is reused (a walk asks many times over).
    void Transact(const EngineRequest& request, const std::function<bool()>& cancelled, EngineResult& result);
    // Wakes a waiting Transact so it asks its `cancelled` predicate. Any thread.
    void Wake();

    struct State;

private:
    void InstallCredentials();
    bool EnsureOpen(std::chrono::steady_clock::time_point deadline, const std::function<bool()>& cancelled);
    bool Discover(std::chrono::steady_clock::time_point deadline, const std::function<bool()>& cancelled);
    // Forgets the agent's engine ID and clock, so the next request discovers them again.
    void Forget();
    // Connects the session's socket to the device, so datagrams from anywhere else never reach us.
    bool ConnectToDevice();
    enum class Outcome { Answered, TimedOut, Relearn, Failed };
    // Sends `pdu` (consumed) and waits until the callback filled `result` from the answer, the
    // deadline passed or the caller cancelled.
    Outcome Exchange(struct snmp_pdu* pdu, std::chrono::steady_clock::time_point deadline,
                     const std::function<bool()>& cancelled, EngineResult& result);
    Outcome Attempt(const EngineRequest& request, std::chrono::steady_clock::time_point deadline,
                    const std::function<bool()>& cancelled, EngineResult& result);

    EngineTarget m_target;
    void* m_sess = nullptr;  // Net-SNMP single-session handle
    bool m_discovered = false;
    int m_failuresInARow = 0;
    int m_wakeFd = -1;
    std::unique_ptr<State> m_state;
    std::unique_ptr<struct UsmUserKeys> m_credentials;  // SNMPv3, once the engine is known
};

// Converts one Net-SNMP variable to the answer form (exposed for the unit tests).
SnmpBinding ConvertVariable(const struct variable_list* var);
// The same without the OID's text (type and value only).
void ConvertValue(const struct variable_list* var, SnmpBinding& binding);
