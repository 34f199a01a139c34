#include "snmp/usm_user.h"

#include <algorithm>
#include <cstring>

namespace {

struct ProtoOid {
    const oid* arcs;
    size_t len;
};

bool AuthProtocol(int code, ProtoOid& proto) {
    switch (code) {
        case 2:
            proto = {usmHMACMD5AuthProtocol, OID_LENGTH(usmHMACMD5AuthProtocol)};
            return true;
        case 3:
            proto = {usmHMACSHA1AuthProtocol, OID_LENGTH(usmHMACSHA1AuthProtocol)};
            return true;
        case 4:
            proto = {usmHMAC128SHA224AuthProtocol, OID_LENGTH(usmHMAC128SHA224AuthProtocol)};
            return true;
        case 5:
            proto = {usmHMAC192SHA256AuthProtocol, OID_LENGTH(usmHMAC192SHA256AuthProtocol)};
            return true;
        case 6:
            proto = {usmHMAC256SHA384AuthProtocol, OID_LENGTH(usmHMAC256SHA384AuthProtocol)};
            return true;
        case 7:
            proto = {usmHMAC384SHA512AuthProtocol, OID_LENGTH(usmHMAC384SHA512AuthProtocol)};
            return true;
        default:
            return false;
    }
}

bool PrivProtocol(int code, ProtoOid& proto) {
    switch (code) {
        case 2:
            proto = {usmDESPrivProtocol, OID_LENGTH(usmDESPrivProtocol)};
            return true;
        case 4:
            proto = {usmAESPrivProtocol, OID_LENGTH(usmAESPrivProtocol)};
            return true;
        default:
            return false;
    }
}

void Wipe(std::string& s) {
    std::fill(s.begin(), s.end(), '\0');
}

bool MakeKey(const ProtoOid& auth, int code, const std::string& password, UsmKeyCache* cache, u_char* out,
             size_t& outLen) {
    if (cache) {
        std::string key;
        if (!cache->Key(code, password, key) || key.size() > outLen) return false;
        std::memcpy(out, key.data(), key.size());
        outLen = key.size();
        Wipe(key);
        return true;
    }
    return generate_Ku(auth.arcs, static_cast<u_int>(auth.len),
                       reinterpret_cast<const u_char*>(password.data()), password.size(), out,
                       &outLen) == SNMPERR_SUCCESS;
}

std::vector<oid> OidCopy(const oid* arcs, size_t len) {
    return arcs ? std::vector<oid>(arcs, arcs + len) : std::vector<oid>();
}

std::string KeyCopy(const u_char* key, size_t len) {
    return key ? std::string(reinterpret_cast<const char*>(key), len) : std::string();
}

bool SameOid(const oid* arcs, size_t len, const std::vector<oid>& value) {
    return len == value.size() && (len == 0 || std::equal(value.begin(), value.end(), arcs));
}

bool SameKey(const u_char* key, size_t len, const std::string& value) {
    return len == value.size() && (len == 0 || memcmp(key, value.data(), len) == 0);
}

void ReplaceOid(oid*& field, size_t& len, const std::vector<oid>& value) {
    SNMP_FREE(field);
    len = value.size();
    if (!value.empty()) field = static_cast<oid*>(netsnmp_memdup(value.data(), value.size() * sizeof(oid)));
}

void ReplaceKey(u_char*& field, size_t& len, const std::string& value) {
    if (field && len) memset(field, 0, len);
    SNMP_FREE(field);
    len = value.size();
    if (!value.empty()) field = static_cast<u_char*>(netsnmp_memdup(value.data(), value.size()));
}

}  // namespace

UsmUserKeys::~UsmUserKeys() {
    Wipe(authKey);
    Wipe(privKey);
}

UsmKeyCache::~UsmKeyCache() {
    for (auto& [id, key] : m_keys) Wipe(key);
}

bool UsmKeyCache::Key(int authCode, const std::string& password, std::string& key) {
    auto found = m_keys.find({authCode, password});
    if (found == m_keys.end()) {
        ProtoOid auth{};
        if (!AuthProtocol(authCode, auth)) return false;
        u_char buf[USM_AUTH_KU_LEN];
        size_t len = sizeof buf;
        if (generate_Ku(auth.arcs, static_cast<u_int>(auth.len),
                        reinterpret_cast<const u_char*>(password.data()), password.size(), buf,
                        &len) != SNMPERR_SUCCESS)
            return false;
        found =
            m_keys.emplace(std::make_pair(authCode, password), std::string(reinterpret_cast<char*>(buf), len))
                .first;
        memset(buf, 0, sizeof buf);
    }
    key = found->second;
    return true;
}

bool UsmFillSession(netsnmp_session& s, const EngineTarget& target, UsmKeyCache* cache) {
    s.version = SNMP_VERSION_3;
    s.flags |= SNMP_FLAGS_DONT_PROBE;
    s.securityModel = USM_SEC_MODEL_NUMBER;
    s.securityName = const_cast<char*>(target.userName.c_str());
    s.securityNameLen = target.userName.size();
    s.securityLevel = SNMP_SEC_LEVEL_NOAUTH;
    ProtoOid auth{}, priv{};
    if (target.securityLevel < 2 || !AuthProtocol(target.authCode, auth)) return true;
    s.securityLevel = SNMP_SEC_LEVEL_AUTHNOPRIV;
    s.securityAuthProto = const_cast<oid*>(auth.arcs);
    s.securityAuthProtoLen = auth.len;
    s.securityAuthKeyLen = USM_AUTH_KU_LEN;
    if (!MakeKey(auth, target.authCode, target.authPassword, cache, s.securityAuthKey, s.securityAuthKeyLen))
        return false;
    if (target.securityLevel < 3 || !PrivProtocol(target.privCode, priv)) return true;
    s.securityLevel = SNMP_SEC_LEVEL_AUTHPRIV;
    s.securityPrivProto = const_cast<oid*>(priv.arcs);
    s.securityPrivProtoLen = priv.len;
    s.securityPrivKeyLen = USM_PRIV_KU_LEN;
    // The privacy key is derived with the authentication hash (RFC 3414, 3826).
    return MakeKey(auth, target.authCode, target.privPassword, cache, s.securityPrivKey,
                   s.securityPrivKeyLen);
}

void UsmClearSessionKeys(netsnmp_session& s) {
    // The library copied the key material when it opened the session; do not leave it on the stack.
    memset(s.securityAuthKey, 0, sizeof s.securityAuthKey);
    memset(s.securityPrivKey, 0, sizeof s.securityPrivKey);
}

bool UsmAdoptEngine(netsnmp_session* s, const std::string& engineId, const EngineClock& clock,
                    UsmUserKeys& keys) {
    // The report's boots and time, the agent's own now: the next request goes out inside its window.
    set_enginetime(reinterpret_cast<const u_char*>(engineId.data()), static_cast<u_int>(engineId.size()),
                   clock.boots, clock.time, TRUE);
    SNMP_FREE(s->securityEngineID);
    s->securityEngineID = static_cast<u_char*>(netsnmp_memdup(engineId.data(), engineId.size()));
    s->securityEngineIDLen = engineId.size();
    if (s->contextEngineIDLen == 0) {
        SNMP_FREE(s->contextEngineID);
        s->contextEngineID = static_cast<u_char*>(netsnmp_memdup(engineId.data(), engineId.size()));
        s->contextEngineIDLen = engineId.size();
    }
    // Localises the keys for this engine and enters the user into the library's table; an entry of
    // another session goes first so that the new one carries this session's keys.
    if (struct usmUser* old = usm_get_user(s->securityEngineID, s->securityEngineIDLen, s->securityName)) {
        usm_remove_user(old);
        usm_free_user(old);
    }
    // The library creates a user once per session (it may have done so on the report already).
    s->flags &= ~SNMP_FLAGS_USER_CREATED;
    if (usm_create_user_from_session(s) != SNMPERR_SUCCESS) return false;
    struct usmUser* user = usm_get_user(s->securityEngineID, s->securityEngineIDLen, s->securityName);
    if (!user) return false;
    keys.authProtocol = OidCopy(user->authProtocol, user->authProtocolLen);
    keys.privProtocol = OidCopy(user->privProtocol, user->privProtocolLen);
    keys.authKey = KeyCopy(user->authKey, user->authKeyLen);
    keys.privKey = KeyCopy(user->privKey, user->privKeyLen);
    return true;
}

void UsmInstallKeys(netsnmp_session* s, const UsmUserKeys& keys) {
    struct usmUser* user = usm_get_user(s->securityEngineID, s->securityEngineIDLen, s->securityName);
    if (!user) {
        s->flags &= ~SNMP_FLAGS_USER_CREATED;
        usm_create_user_from_session(s);
        user = usm_get_user(s->securityEngineID, s->securityEngineIDLen, s->securityName);
        if (!user) return;
    }
    if (!SameOid(user->authProtocol, user->authProtocolLen, keys.authProtocol))
        ReplaceOid(user->authProtocol, user->authProtocolLen, keys.authProtocol);
    if (!SameOid(user->privProtocol, user->privProtocolLen, keys.privProtocol))
        ReplaceOid(user->privProtocol, user->privProtocolLen, keys.privProtocol);
    if (!SameKey(user->authKey, user->authKeyLen, keys.authKey))
        ReplaceKey(user->authKey, user->authKeyLen, keys.authKey);
    if (!SameKey(user->privKey, user->privKeyLen, keys.privKey))
        ReplaceKey(user->privKey, user->privKeyLen, keys.privKey);
}

SnmpFailure UsmReportReason(const netsnmp_pdu* pdu) {
    if (pdu == nullptr || pdu->command != SNMP_MSG_REPORT) return SnmpFailure::None;
    const variable_list* v = pdu->variables;
    if (v == nullptr || v->name_length > MAX_OID_LEN) return SnmpFailure::NoAnswer;
    std::uint32_t arcs[MAX_OID_LEN];
    for (size_t i = 0; i < v->name_length; ++i) arcs[i] = static_cast<std::uint32_t>(v->name[i]);
    return UsmReportFailure(arcs, v->name_length);
}
