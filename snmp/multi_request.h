#pragma once
// Many gets to many agents at once from one thread: what discovery of a range and the reachability poll
// of a device list need. Each request in flight has a Net-SNMP single session of its own, its socket
// connected to the agent (the kernel lets only that agent's datagrams in, and one misbehaving agent
// cannot hold up another's answers); SNMPv3 engine discovery goes out on one shared socket, matched by
// source and message id. The number in flight is bounded (sockets and sessions are finite), the waiting
// is one epoll outside the engine lock, and Stop() ends a run at once from any thread.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "snmp/oid_text.h"
#include "snmp/snmp_answer.h"
#include "snmp/snmp_engine.h"
#include "snmp/snmp_failure.h"

struct MultiGet {
    std::uint64_t tag = 0;  // the caller's, handed back with the result
    // host: dotted IPv4; port; version 1, 2 (SNMPv2c) or 3 with the USM fields. peer is not used.
    EngineTarget target;
    std::vector<OidArcs> oids;
    unsigned long timeoutMs = 1000;  // for each send
    int retries = 1;                 // sends after a time-out, each with a new request id
};

struct MultiGetResult {
    std::uint64_t tag = 0;
    SnmpFailure failure = SnmpFailure::NoAnswer;  // None: the agent answered
    long errorStatus = 0;                         // the answer's error status
    std::vector<SnmpBinding> bindings;            // the answer's bindings (exceptions included)
};

class MultiRequester {
public:
    // At most `maxInFlight` requests at once (fewer when the process may not open that many files).
    explicit MultiRequester(std::size_t maxInFlight = 2048);
    ~MultiRequester();
    MultiRequester(const MultiRequester&) = delete;
    MultiRequester& operator=(const MultiRequester&) = delete;

    // Runs on the calling thread. `next` is asked for a request whenever a slot is free (false: none
    // now); `done` gets each result on this thread, and may make more requests available to `next`. Returns
    // when `next` has none and nothing is in flight, or at once after Stop(). False when stopped or when
    // the engine cannot start.
    bool Run(const std::function<bool(MultiGet&)>& next, const std::function<void(MultiGetResult&&)>& done);
    // From any thread: the current or next Run returns at once, dropping what is in flight. For good.
    void Stop();
    bool Stopped() const { return m_stopped.load(); }
    std::size_t MaxInFlight() const { return m_maxInFlight; }
    // Forgets what was learnt of SNMPv3 agents' engines (a device was replaced).
    void ForgetEngines();

    struct Flight;
    struct Impl;

private:
    std::size_t m_maxInFlight;
    std::atomic<bool> m_stopped{false};
    int m_wakeFd = -1;
    std::unique_ptr<Impl> d;
};

// Raises this process's limit of open files to its hard limit; the new soft limit.
std::size_t RaiseOpenFileLimit();
