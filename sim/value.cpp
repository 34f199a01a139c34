#include "sim/value.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace kmssim {

Value Value::Ip(uint32_t h) {
    std::string b(4, '\0');
    b[0] = static_cast<char>(h >> 24);
    b[1] = static_cast<char>(h >> 16);
    b[2] = static_cast<char>(h >> 8);
    b[3] = static_cast<char>(h);
    return {Type::IpAddress, 0, b, {}};
}

uint32_t Value::IpHost() const {
    if (bytes.size() != 4) return 0;
    uint32_t h = 0;
    for (unsigned char c : bytes) h = (h << 8) | c;
    return h;
}

std::optional<Oid> ParseOid(const std::string& text) {
    Oid out;
    size_t i = 0;
    if (i < text.size() && text[i] == '.') ++i;
    if (i >= text.size()) return std::nullopt;
    while (i < text.size()) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        uint64_t v = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            v = v * 10 + static_cast<uint64_t>(text[i] - '0');
            if (v > 0xffffffffULL) return std::nullopt;
            ++i;
        }
        out.push_back(static_cast<uint32_t>(v));
        if (i < text.size()) {
            if (text[i] != '.' || i + 1 == text.size()) return std::nullopt;
            ++i;
        }
    }
    return out;
}

std::string OidText(const Oid& oid) {
    std::string s;
    for (size_t i = 0; i < oid.size(); ++i) {
        if (i) s += '.';
        s += std::to_string(oid[i]);
    }
    return s;
}

Oid Concat(const Oid& a, const Oid& b) {
    Oid r = a;
    r.insert(r.end(), b.begin(), b.end());
    return r;
}

bool StartsWith(const Oid& oid, const Oid& prefix) {
    return oid.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), oid.begin());
}

std::string ToHex(const std::string& bytes) {
    static const char* d = "0123456789abcdef";
    std::string s;
    for (unsigned char c : bytes) {
        s += d[c >> 4];
        s += d[c & 15];
    }
    return s;
}

static int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::string> FromHex(const std::string& hex) {
    if (hex.size() % 2) return std::nullopt;
    std::string out;
    for (size_t i = 0; i < hex.size(); i += 2) {
        int a = HexDigit(hex[i]), b = HexDigit(hex[i + 1]);
        if (a < 0 || b < 0) return std::nullopt;
        out += static_cast<char>(a * 16 + b);
    }
    return out;
}

static bool ParseNumber(const std::string& s, int64_t lo, int64_t hi, int64_t* out) {
    if (s.empty()) return false;
    size_t i = 0;
    bool neg = false;
    if (s[0] == '-') {
        neg = true;
        i = 1;
    }
    if (i >= s.size()) return false;
    int64_t v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        v = v * 10 + (s[i] - '0');
        if (v > 0x1ffffffffLL) return false;
    }
    if (neg) v = -v;
    if (v < lo || v > hi) return false;
    *out = v;
    return true;
}

std::optional<std::pair<Oid, Value>> ParseSnmprecLine(const std::string& line, std::string* error) {
    size_t a = line.find('|');
    size_t b = a == std::string::npos ? a : line.find('|', a + 1);
    if (b == std::string::npos) {
        *error = "expected OID|TYPE|VALUE";
        return std::nullopt;
    }
    auto oid = ParseOid(line.substr(0, a));
    if (!oid) {
        *error = "bad OID";
        return std::nullopt;
    }
    std::string tag = line.substr(a + 1, b - a - 1);
    std::string text = line.substr(b + 1);
    bool hex = !tag.empty() && tag.back() == 'x';
    if (hex) tag.pop_back();
    int64_t t = 0;
    if (!ParseNumber(tag, 0, 255, &t)) {
        *error = "bad type";
        return std::nullopt;
    }
    Value v;
    v.type = static_cast<Type>(t);
    switch (v.type) {
        case Type::Integer:
            if (!ParseNumber(text, INT32_MIN, INT32_MAX, &v.num)) {
                *error = "bad integer";
                return std::nullopt;
            }
            break;
        case Type::Counter32:
        case Type::Gauge32:
        case Type::TimeTicks:
            if (!ParseNumber(text, 0, UINT32_MAX, &v.num)) {
                *error = "bad unsigned";
                return std::nullopt;
            }
            break;
        case Type::Octets:
            if (hex) {
                auto bytes = FromHex(text);
                if (!bytes) {
                    *error = "bad hex";
                    return std::nullopt;
                }
                v.bytes = *bytes;
            } else {
                v.bytes = text;
            }
            break;
        case Type::IpAddress: {
            unsigned p[4];
            char tail;
            if (std::sscanf(text.c_str(), "%u.%u.%u.%u%c", &p[0], &p[1], &p[2], &p[3], &tail) != 4 ||
                p[0] > 255 || p[1] > 255 || p[2] > 255 || p[3] > 255) {
                *error = "bad IpAddress";
                return std::nullopt;
            }
            v = Value::Ip((p[0] << 24) | (p[1] << 16) | (p[2] << 8) | p[3]);
            break;
        }
        case Type::ObjectId: {
            auto o = ParseOid(text);
            if (!o) {
                *error = "bad OBJECT IDENTIFIER";
                return std::nullopt;
            }
            v.oid = *o;
            break;
        }
        case Type::Null:
            break;
        default:
            *error = "unsupported type";
            return std::nullopt;
    }
    return std::make_pair(*oid, v);
}

std::string FormatSnmprecLine(const Oid& oid, const Value& v) {
    std::string s = OidText(oid) + "|";
    switch (v.type) {
        case Type::Octets: {
            bool printable = true;
            for (unsigned char c : v.bytes)
                if (c < 0x20 || c > 0x7e || c == '|') printable = false;
            if (printable) return s + "4|" + v.bytes;
            return s + "4x|" + ToHex(v.bytes);
        }
        case Type::IpAddress: {
            uint32_t h = v.IpHost();
            return s + "64|" + std::to_string(h >> 24) + "." + std::to_string((h >> 16) & 255) + "." +
                   std::to_string((h >> 8) & 255) + "." + std::to_string(h & 255);
        }
        case Type::ObjectId:
            return s + "6|" + OidText(v.oid);
        case Type::Null:
            return s + "5|";
        default:
            return s + std::to_string(static_cast<int>(v.type)) + "|" + std::to_string(v.num);
    }
}

bool LoadSnmprec(const std::string& path, Store* out, std::string* error) {
    std::ifstream in(path);
    if (!in) {
        *error = "cannot open " + path;
        return false;
    }
    std::string line;
    int n = 0;
    while (std::getline(in, line)) {
        ++n;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        std::string why;
        auto rec = ParseSnmprecLine(line, &why);
        if (!rec) {
            *error = path + ":" + std::to_string(n) + ": " + why;
            return false;
        }
        (*out)[rec->first] = rec->second;
    }
    return true;
}

bool SaveSnmprec(const std::string& path, const Store& store, std::string* error, const std::string& header) {
    std::string tmp = path + ".tmp";
    {
        std::ofstream out(tmp, std::ios::trunc);
        if (!out) {
            *error = "cannot write " + tmp;
            return false;
        }
        out << header;
        for (const auto& [oid, v] : store) out << FormatSnmprecLine(oid, v) << '\n';
        if (!out.flush()) {
            *error = "cannot write " + tmp;
            return false;
        }
    }
    // Written beside and renamed so that a crash never leaves half a saved configuration.
    if (std::rename(tmp.c_str(), path.c_str()) != 0) {
        *error = "cannot rename " + tmp;
        return false;
    }
    return true;
}

}  // namespace kmssim
