#pragma once
// Why a request brought no answer we could use. An SNMPv3 agent that refuses a request at its security
// check says why in a report (RFC 3414, the usmStats counters); a wrong password and a switch that is
// down call for different actions, so the reason travels with the failure up to what the user sees.

#include <cstddef>
#include <cstdint>
#include <string>

enum class SnmpFailure {
    None,                 // answered
    NoAnswer,             // time-out or transport failure (also a v1/v2c community the agent ignores)
    UnsupportedSecLevel,  // usmStatsUnsupportedSecLevels
    NotInTimeWindow,      // usmStatsNotInTimeWindows, still after learning the agent's clock again
    UnknownUser,          // usmStatsUnknownUserNames
    UnknownEngineId,      // usmStatsUnknownEngineIDs, still after learning the agent's engine again
    WrongDigest,          // usmStatsWrongDigests: the authentication password or protocol is wrong
    DecryptionError,      // usmStatsDecryptionErrors: the privacy password or protocol is wrong
};

// The reason a report gives by the OID of its first binding (1.3.6.1.6.3.15.1.1.N.0); NoAnswer for any
// other OID.
SnmpFailure UsmReportFailure(const std::uint32_t* arcs, std::size_t length);
// For people: "unknown user", "wrong digest (authentication failure)", ...; "no answer" for NoAnswer,
// empty for None. Never holds a credential.
const char* SnmpFailureText(SnmpFailure failure);
// True when the agent answered, but refused us at its security check.
inline bool IsSecurityRefusal(SnmpFailure f) { return f != SnmpFailure::None && f != SnmpFailure::NoAnswer; }
// "ADDRESS refused the request: REASON", for a security refusal (the status line, dialogs, debug lines).
std::string SnmpRefusalText(const std::string& address, SnmpFailure failure);
