#include "snmp/snmp_failure.h"

#include <algorithm>
#include <iterator>

SnmpFailure UsmReportFailure(const std::uint32_t* arcs, std::size_t length) {
    static const std::uint32_t kUsmStats[] = {1, 3, 6, 1, 6, 3, 15, 1, 1};
    const std::size_t n = std::size(kUsmStats);
    if (arcs == nullptr || length != n + 2 || !std::equal(kUsmStats, kUsmStats + n, arcs) || arcs[n + 1] != 0)
        return SnmpFailure::NoAnswer;
    switch (arcs[n]) {
        case 1: return SnmpFailure::UnsupportedSecLevel;
        case 2: return SnmpFailure::NotInTimeWindow;
        case 3: return SnmpFailure::UnknownUser;
        case 4: return SnmpFailure::UnknownEngineId;
        case 5: return SnmpFailure::WrongDigest;
        case 6: return SnmpFailure::DecryptionError;
        default: return SnmpFailure::NoAnswer;
    }
}

const char* SnmpFailureText(SnmpFailure failure) {
    switch (failure) {
        case SnmpFailure::None: return "";
        case SnmpFailure::NoAnswer: return "no answer";
        case SnmpFailure::UnsupportedSecLevel: return "unsupported security level";
        case SnmpFailure::NotInTimeWindow: return "not in time window";
        case SnmpFailure::UnknownUser: return "unknown user";
        case SnmpFailure::UnknownEngineId: return "unknown engine ID";
        case SnmpFailure::WrongDigest: return "wrong digest (authentication failure)";
        case SnmpFailure::DecryptionError: return "decryption error (privacy failure)";
    }
    return "no answer";
}

std::string SnmpRefusalText(const std::string& address, SnmpFailure failure) {
    return address + " refused the request: " + SnmpFailureText(failure);
}
