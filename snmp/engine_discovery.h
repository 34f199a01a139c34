#pragma once
// SNMPv3 engine discovery (RFC 3414, 4) done by hand on a socket of our own: Net-SNMP would probe
// synchronously inside its send, holding the process-wide engine lock for the whole time-out.

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

// The unauthenticated, reportable get without bindings that makes an agent report its engine ID.
std::string BuildDiscoveryRequest(std::int32_t msgId);
// What a discovery report tells of the agent's engine.
struct EngineClock {
    std::uint32_t boots = 0;
    std::uint32_t time = 0;  // seconds
};
// The authoritative engine ID of the agent's answer to BuildDiscoveryRequest(msgId), and its boots and
// time when `clock` is given. False for anything else (another message id, malformed BER, an empty
// engine ID).
bool ParseDiscoveryReport(const std::string& message, std::int32_t msgId, std::string& engineId,
                          EngineClock* clock = nullptr);

// Sends the request to host:port (UDP) and waits until `deadline` for the report. The wait also wakes
// when `wakeFd` becomes readable (its counter is consumed) and gives up when `cancelled` says so.
bool DiscoverEngineId(const std::string& host, int port, std::chrono::steady_clock::time_point deadline,
                      int wakeFd, const std::function<bool()>& cancelled, std::string& engineId,
                      EngineClock* clock = nullptr);
