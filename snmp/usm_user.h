#pragma once
// The SNMPv3 user-based security pieces every Net-SNMP session of ours shares: filling a session's
// user, adopting an agent's engine, and keeping the session's own keys in the library's user table.
// Internal to snmp/ (it speaks Net-SNMP's types); every function runs under EngineLock().

// clang-format off
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
// clang-format on

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "snmp/engine_discovery.h"
#include "snmp/snmp_engine.h"

// A session's USM user as the library keeps it: protocols and keys localised to the agent's engine.
struct UsmUserKeys {
    std::vector<oid> authProtocol, privProtocol;
    std::string authKey, privKey;
    UsmUserKeys() = default;
    UsmUserKeys(const UsmUserKeys&) = delete;
    UsmUserKeys& operator=(const UsmUserKeys&) = delete;
    ~UsmUserKeys();  // key material does not outlive its owner
};

// Password-to-key results (RFC 3414 A.2): each costs a megabyte of hashing, so an owner of many
// sessions for the same credentials makes each key once.
class UsmKeyCache {
public:
    UsmKeyCache() = default;
    UsmKeyCache(const UsmKeyCache&) = delete;
    UsmKeyCache& operator=(const UsmKeyCache&) = delete;
    ~UsmKeyCache();
    // The key of `password` under the hash of auth protocol `authCode`; false when it cannot be made.
    bool Key(int authCode, const std::string& password, std::string& key);

private:
    std::map<std::pair<int, std::string>, std::string> m_keys;
};

// The reason of an agent's report by its first binding (RFC 3414's usmStats counters): None for a PDU
// that is no report, NoAnswer for a report of another kind.
SnmpFailure UsmReportReason(const netsnmp_pdu* pdu);

// Fills the SNMPv3 fields of `s` from the target: user, level, protocols and the keys made from the
// passwords (through `cache` when given). Engine discovery is left to the caller (the session does not
// probe). False when a key cannot be made. Call UsmClearSessionKeys once the session is open.
bool UsmFillSession(netsnmp_session& s, const EngineTarget& target, UsmKeyCache* cache = nullptr);
void UsmClearSessionKeys(netsnmp_session& s);
// Makes the open session `s` talk to the agent engine `engineId`, whose clock the report told, and
// enters its user, with keys localised for that engine, into the library's table; `keys` receives them.
bool UsmAdoptEngine(netsnmp_session* s, const std::string& engineId, const EngineClock& clock,
                    UsmUserKeys& keys);
// The library keeps one user per engine ID and name for the whole process. Sessions with other pass
// phrases for the same user (or agents that share an engine ID) would use each other's keys; so each
// session puts its own into the table before every library call that signs, encrypts or checks.
void UsmInstallKeys(netsnmp_session* s, const UsmUserKeys& keys);
