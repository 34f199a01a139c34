// Typed values of the simulated device and the snmprec text form they are kept in.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kmssim {

using Oid = std::vector<uint32_t>;

// BER tags of the value types the device serves (the snmprec type numbers).
enum class Type : uint8_t {
    Integer = 0x02,
    Octets = 0x04,
    Null = 0x05,
    ObjectId = 0x06,
    IpAddress = 0x40,
    Counter32 = 0x41,
    Gauge32 = 0x42,
    TimeTicks = 0x43,
};

struct Value {
    Type type = Type::Null;
    int64_t num = 0;    // Integer (signed 32), Counter32, Gauge32, TimeTicks (unsigned 32)
    std::string bytes;  // Octets (binary), IpAddress (4 bytes)
    Oid oid;            // ObjectId

    static Value Int(int64_t v) { return {Type::Integer, v, {}, {}}; }
    static Value Str(std::string s) { return {Type::Octets, 0, std::move(s), {}}; }
    static Value Gauge(int64_t v) { return {Type::Gauge32, v, {}, {}}; }
    static Value Counter(int64_t v) { return {Type::Counter32, v, {}, {}}; }
    static Value Ticks(int64_t v) { return {Type::TimeTicks, v, {}, {}}; }
    static Value Ip(uint32_t hostOrder);
    static Value ObjId(Oid o) { return {Type::ObjectId, 0, {}, std::move(o)}; }

    bool operator==(const Value& o) const {
        return type == o.type && num == o.num && bytes == o.bytes && oid == o.oid;
    }
    uint32_t IpHost() const;  // IpAddress as a host-order number (0 when malformed)
};

using Store = std::map<Oid, Value>;

std::optional<Oid> ParseOid(const std::string& text);  // "1.3.6" or ".1.3.6"
std::string OidText(const Oid& oid);
Oid Concat(const Oid& a, const Oid& b);
bool StartsWith(const Oid& oid, const Oid& prefix);
inline Oid Sub(const Oid& o, size_t from) {
    return Oid(o.begin() + static_cast<long>(from), o.end());
}

// One snmprec line "OID|TYPE|VALUE". TYPE is the decimal BER tag; a trailing "x" means the value is
// hexadecimal (binary octet strings). Returns nullopt with a reason in *error for a malformed line.
std::optional<std::pair<Oid, Value>> ParseSnmprecLine(const std::string& line, std::string* error);
std::string FormatSnmprecLine(const Oid& oid, const Value& v);

// Reads a whole snmprec file (blank lines and lines starting with '#' are skipped).
bool LoadSnmprec(const std::string& path, Store* out, std::string* error);
// Writes beside and renames, so a crash never leaves half a file; `header` (comment lines) goes first.
bool SaveSnmprec(const std::string& path, const Store& store, std::string* error,
                 const std::string& header = "");

std::string ToHex(const std::string& bytes);
std::optional<std::string> FromHex(const std::string& hex);

}  // namespace kmssim
