#include "sim/schema.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "sim/control_oids.h"

namespace kmssim {

Oid O(const char* text) {
    auto o = ParseOid(text);
    return o ? *o : Oid{};
}

namespace {

const Oid kV = O("1.3.6.1.4.1.32473.10.75.13");
const Oid kMib2 = O("1.3.6.1.2.1");
const Oid kDefaultOui = {90, 194, 145, 0, 0, 0};

Oid V(std::initializer_list<uint32_t> tail) {
    Oid o = kV;
    o.insert(o.end(), tail);
    return o;
}
Oid M(std::initializer_list<uint32_t> tail) {
    Oid o = kMib2;
    o.insert(o.end(), tail);
    return o;
}

const Value* At(const Store& s, const Oid& o) {
    auto it = s.find(o);
    return it == s.end() ? nullptr : &it->second;
}
int64_t IntAt(const Store& s, const Oid& o, int64_t fallback = 0) {
    const Value* v = At(s, o);
    return v ? v->num : fallback;
}
std::string StrAt(const Store& s, const Oid& o) {
    const Value* v = At(s, o);
    return v ? v->bytes : std::string();
}
void SetIfDiffers(Store& s, const Oid& o, const Value& v) {
    auto it = s.find(o);
    if (it == s.end())
        s.emplace(o, v);
    else if (!(it->second == v))
        it->second = v;
}

// Value rules.
auto Range(int64_t lo, int64_t hi) {
    return [lo, hi](const Value& v, const Oid&) { return v.num >= lo && v.num <= hi; };
}
auto OneOf(std::initializer_list<int64_t> set) {
    std::vector<int64_t> values(set);
    return [values](const Value& v, const Oid&) {
        for (int64_t x : values)
            if (v.num == x) return true;
        return false;
    };
}
auto Steps(int64_t lo, int64_t hi, int64_t step) {
    return [=](const Value& v, const Oid&) { return v.num >= lo && v.num <= hi && (v.num - lo) % step == 0; };
}
auto Text(size_t minChars, size_t maxChars, bool nameCheck, size_t maxBytes = 0) {
    return [=](const Value& v, const Oid&) {
        size_t n = 0;
        if (!Utf8Length(v.bytes, &n)) return false;
        if (n < minChars || n > maxChars) return false;
        if (maxBytes && v.bytes.size() > maxBytes) return false;
        return !nameCheck || IsValidName(v.bytes);
    };
}
// Unicast host address whose first and last fields are neither 0 nor 255.
bool ServerAddress(uint32_t h) {
    uint32_t first = h >> 24, last = h & 255;
    return h != 0 && first != 0 && first != 255 && last != 0 && last != 255;
}
auto IpRule() {
    return [](const Value& v, const Oid&) { return ServerAddress(v.IpHost()); };
}
// Gateway addresses of the ARP spoofing table: class A, B or C unicast ranges.
bool GatewayAddress(uint32_t h) {
    return (h >= 0x01000001u && h <= 0x7efffffeu) || (h >= 0x80010001u && h <= 0xbffefffeu) ||
           (h >= 0xc0000101u && h <= 0xdffffefeu);
}
// Trap host addresses: a usable host of class A, B or C.
bool HostAddress(uint32_t h) {
    uint32_t first = h >> 24;
    if (first <= 127) return first != 0 && first != 127 && (h & 0xffffff) != 0 && (h & 0xffffff) != 0xffffff;
    if (first <= 191) return (h & 0xffff) != 0 && (h & 0xffff) != 0xffff;
    if (first <= 223) return (h & 0xff) != 0 && (h & 0xff) != 0xff;
    return false;
}
bool UnicastMac(const std::string& b) {
    if (b.size() != 6) return false;
    if (b == std::string(6, '\0')) return false;
    return (static_cast<unsigned char>(b[0]) & 1) == 0;
}
uint32_t IpFromIndex(const Oid& idx) {
    return (idx[0] << 24) | (idx[1] << 16) | (idx[2] << 8) | idx[3];
}
bool IpIndex(const Oid& idx) {
    if (idx.size() != 4) return false;
    for (uint32_t x : idx)
        if (x > 255) return false;
    return true;
}
// "." length "." bytes...: returns the name and the number of sub-identifiers used.
bool NameFromIndex(const Oid& idx, size_t at, std::string* name, size_t* used) {
    if (at >= idx.size()) return false;
    uint32_t n = idx[at];
    if (n == 0 || n > 127 || at + 1 + n > idx.size()) return false;
    name->clear();
    for (uint32_t i = 0; i < n; ++i) {
        if (idx[at + 1 + i] > 255) return false;
        *name += static_cast<char>(idx[at + 1 + i]);
    }
    *used = 1 + n;
    return true;
}
bool ValidPowerLimit(const std::string& text, int port) {
    // Decimal watts "d[.d]" ("15", "15.", "15.60" too): 1.0..30.0 in steps of 0.2; above 15.4 only on
    // ports 1..4.
    if (text.empty() || text.size() > 8) return false;
    int tenths = 0, digits = 0, frac = -1;
    for (char c : text) {
        if (c == '.') {
            if (frac >= 0) return false;
            frac = 0;
            continue;
        }
        if (c < '0' || c > '9') return false;
        ++digits;
        if (frac >= 0 && ++frac > 1) {
            if (c != '0') return false;  // finer than a tenth
            continue;
        }
        tenths = tenths * 10 + (c - '0');
    }
    if (digits == 0) return false;
    if (frac <= 0) tenths *= 10;
    if (tenths < 10 || tenths > 300 || tenths % 2) return false;
    return tenths <= 154 || port <= 4;
}

}  // namespace

bool Utf8Length(const std::string& s, size_t* chars) {
    size_t n = 0;
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        int len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (!len || i + len > s.size()) return false;
        for (int k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return false;
        if (len == 1 && c < 0x20) return false;  // no control characters in names and texts
        i += len;
        ++n;
    }
    *chars = n;
    return true;
}

bool IsValidName(const std::string& s) {
    static const char* refused = "~`!@#$%^&*{}[]|\\:;\"'<>,.?/";
    return s.find_first_of(refused) == std::string::npos;
}

std::string PortBits(const std::string& list, int ports) {
    size_t bytes = ports <= 32 ? 4 : ((ports + 63) / 64) * 8;
    std::string r = list.substr(0, std::min(list.size(), bytes));
    r.resize(bytes, '\0');
    return r;
}

bool PortInList(const std::string& list, int port) {
    size_t byte = static_cast<size_t>(port - 1) / 8;
    if (byte >= list.size()) return false;
    return (static_cast<unsigned char>(list[byte]) & (0x80 >> ((port - 1) % 8))) != 0;
}

int PortCountIn(const std::string& list) {
    int n = 0;
    for (unsigned char c : list) n += __builtin_popcount(c);
    return n;
}

Schema::Schema(const DeviceShape& shape) : m_shape(shape) {
    BuildSystem();
    BuildPorts();
    BuildVlans();
    BuildTrunks();
    BuildPoe();
    BuildSecurity();
    BuildSecurityFilters();
    BuildAgentTables();
    BuildMisc();
    BuildControl();
    BuildLldp();
    BuildRefusals();
    BuildTrunkPort();
}

void Schema::AddRule(Rule r) {
    if (r.config) m_configPrefixes.push_back(r.scalar ? Concat(r.oid, {0}) : r.oid);
    Oid key = r.oid;
    m_rules.emplace(std::move(key), std::move(r));
}

void Schema::AddTable(TableRule t) {
    // Whole rows of tables whose rows come and go belong to the configuration.
    if (t.statusColumn) m_configPrefixes.push_back(t.entry);
    Oid key = t.entry;
    m_tables.emplace(std::move(key), std::move(t));
}

const Rule* Schema::Find(const Oid& oid, Oid* index) const {
    for (size_t len = oid.size(); len > 0; --len) {
        auto it = m_rules.find(Oid(oid.begin(), oid.begin() + static_cast<long>(len)));
        if (it == m_rules.end()) continue;
        *index = Sub(oid, len);
        if (it->second.scalar && !(index->size() == 1 && (*index)[0] == 0)) return nullptr;
        if (!it->second.scalar && index->empty()) return nullptr;
        if (it->second.scalar) index->clear();
        return &it->second;
    }
    return nullptr;
}

const TableRule* Schema::TableOf(const Oid& column) const {
    if (column.empty()) return nullptr;
    auto it = m_tables.find(Oid(column.begin(), column.end() - 1));
    return it == m_tables.end() ? nullptr : &it->second;
}

bool Schema::Knows(const Oid& oid) const {
    Oid index;
    if (Find(oid, &index)) return true;
    for (const auto& [entry, table] : m_tables)
        if (table.statusColumn && oid.size() >= entry.size() + 2 && StartsWith(oid, entry)) return true;
    return false;
}

bool Schema::IsConfig(const Oid& oid) const {
    for (const Oid& p : m_configPrefixes)
        if (StartsWith(oid, p)) return true;
    return false;
}

// ---------------------------------------------------------------------------------------------
void Schema::BuildSystem() {
    // sysName and sysLocation: at most 20 characters, none of the refused name characters.
    AddRule({M({1, 5}), true, Type::Octets, true, Text(0, 20, true), {}, {}});
    AddRule({M({1, 6}), true, Type::Octets, true, Text(0, 20, true), {}, {}});

    // Bridge: priority, max age, hello time, forward delay and their relations.
    AddRule({M({17, 2, 2}), true, Type::Integer, true, Steps(0, 61440, 4096), {}, {}});
    auto timers = [](const Store& s, const Oid&) {
        int64_t age = IntAt(s, M({17, 2, 12, 0})), hello = IntAt(s, M({17, 2, 13, 0}));
        int64_t delay = IntAt(s, M({17, 2, 14, 0}));
        if (age < 2 * hello + 200 || age > 2 * delay - 200) return int(kInconsistentValue);
        return int(kNoError);
    };
    AddRule({M({17, 2, 12}), true, Type::Integer, true, Range(600, 4000), timers, {}});
    AddRule({M({17, 2, 13}), true, Type::Integer, true, Range(100, 1000), timers, {}});
    AddRule({M({17, 2, 14}), true, Type::Integer, true, Range(400, 3000), timers, {}});
    // The bridge's own timers follow the configured ones (this bridge is the root).
    auto copyTimers = [](Store& s, const Oid&) {
        SetIfDiffers(s, M({17, 2, 8, 0}), Value::Int(IntAt(s, M({17, 2, 12, 0}))));
        SetIfDiffers(s, M({17, 2, 9, 0}), Value::Int(IntAt(s, M({17, 2, 13, 0}))));
        SetIfDiffers(s, M({17, 2, 11, 0}), Value::Int(IntAt(s, M({17, 2, 14, 0}))));
    };
    for (uint32_t c : {12u, 13u, 14u}) m_rules[M({17, 2, c})].after = copyTimers;

    // Spanning-tree port table: priority and enable.
    AddRule({M({17, 2, 15, 1, 2}), false, Type::Integer, true, Steps(0, 240, 16), {}, {}});
    AddRule({M({17, 2, 15, 1, 4}), false, Type::Integer, true, OneOf({1, 2}), {}, {}});
    AddTable({M({17, 2, 15, 1}), 0, 0, {}, {}, {}, {}, {}, {}});
}

void Schema::BuildPorts() {
    const int ports = m_shape.ports;
    const DeviceShape shape = m_shape;
    // Speed/duplex within what the port's medium can do; disabling the last enabled port is refused.
    AddRule({V({1, 13, 1, 2}),
             false,
             Type::Integer,
             true,
             [shape](const Value& v, const Oid& idx) {
                 if (v.num < 1 || v.num > 7 || idx.size() != 1) return false;
                 switch (shape.Medium(static_cast<int>(idx[0]))) {
                     case 1:
                         return v.num != 1;  // copper without 1000M
                     case 3:
                         return v.num == 2 || v.num == 3 || v.num == 7;  // 100Base-x module
                     case 4:
                         return v.num == 1 || v.num == 6 || v.num == 7;  // 1000Base-x module
                     default:
                         return true;
                 }
             },
             [ports](const Store& s, const Oid&) {
                 for (int p = 1; p <= ports; ++p)
                     if (IntAt(s, V({1, 13, 1, 2, uint32_t(p)})) != 7) return int(kNoError);
                 return int(kInconsistentValue);
             },
             {}});
    AddRule({V({1, 13, 1, 5}), false, Type::Integer, true, OneOf({1, 2}), {}, {}});
    AddTable({V({1, 13, 1}), 0, 0, {}, {}, {}, {}, {}, {}});

    // Vendor spanning tree: state, version, path cost (0 = automatic).
    AddRule({V({6, 1, 1}), true, Type::Integer, true, OneOf({1, 2}), {}, {}});
    AddRule({V({6, 1, 2}), true, Type::Integer, true, OneOf({0, 2}), {}, {}});
    AddRule({V({6, 2, 1, 5}), false, Type::Integer, true, Range(0, 200000000), {}, {}});
    AddTable({V({6, 2, 1}), 0, 0, {}, {}, {}, {}, {}, {}});
}

void Schema::BuildVlans() {
    const int ports = m_shape.ports;
    auto portList = [ports](const Value& v, const Oid&) {
        size_t need = static_cast<size_t>(ports + 7) / 8;
        if (v.bytes.size() < need || v.bytes.size() > 64) return false;
        for (int p = ports + 1; p <= static_cast<int>(v.bytes.size()) * 8; ++p)
            if (PortInList(v.bytes, p)) return false;
        return true;
    };
    m_portListRule = portList;

    // Asymmetric VLAN: refused while the voice or surveillance VLAN is on; a change resets the
    // VLAN configuration to the default (VLAN 1 with every port untagged, every PVID 1).
    AddRule({V({7, 5}),
             true,
             Type::Integer,
             true,
             OneOf({1, 2}),
             [](const Store& s, const Oid&) {
                 if (IntAt(s, V({7, 5, 0})) == 1 &&
                     (IntAt(s, V({21, 1, 2, 0})) == 1 || IntAt(s, V({26, 1, 1, 0})) == 1))
                     return int(kInconsistentValue);
                 return int(kNoError);
             },
             {}});

    auto vlanOf = [](const Oid& idx) { return idx[0]; };
    AddRule({V({7, 6, 1, 1}), false, Type::Octets, true, Text(0, 20, true), {}, {}});
    AddRule(
        {V({7, 6, 1, 2}), false, Type::Octets, true, portList, {}, [ports, vlanOf](Store& s, const Oid& idx) {
             // Normalise; a port that leaves the egress set is no longer untagged either.
             uint32_t v = vlanOf(idx);
             std::string eg = PortBits(StrAt(s, V({7, 6, 1, 2, v})), ports);
             std::string un = PortBits(StrAt(s, V({7, 6, 1, 4, v})), ports);
             for (size_t i = 0; i < un.size(); ++i) un[i] = static_cast<char>(un[i] & eg[i]);
             s[V({7, 6, 1, 2, v})] = Value::Str(eg);
             s[V({7, 6, 1, 4, v})] = Value::Str(un);
         }});
    AddRule(
        {V({7, 6, 1, 4}), false, Type::Octets, true, portList, {}, [ports, vlanOf](Store& s, const Oid& idx) {
             // An untagged port is an egress member as well.
             uint32_t v = vlanOf(idx);
             std::string eg = PortBits(StrAt(s, V({7, 6, 1, 2, v})), ports);
             std::string un = PortBits(StrAt(s, V({7, 6, 1, 4, v})), ports);
             for (size_t i = 0; i < un.size(); ++i) eg[i] = static_cast<char>(un[i] | eg[i]);
             s[V({7, 6, 1, 2, v})] = Value::Str(eg);
             s[V({7, 6, 1, 4, v})] = Value::Str(un);
         }});
    AddRule({V({7, 6, 1, 5}), false, Type::Integer, true, OneOf({1, 2, 4, 5, 6}), {}, {}});
    const size_t listBytes = static_cast<size_t>(PortListBytes());
    AddTable({V({7, 6, 1}),
              5,
              256,
              [](const Oid& idx) { return idx.size() == 1 && idx[0] >= 2 && idx[0] <= 4094; },
              [listBytes](Store& s, const Oid& idx) {
                  uint32_t v = idx[0];
                  s[V({7, 6, 1, 1, v})] = Value::Str("");
                  for (uint32_t c : {2u, 3u, 4u})
                      s[V({7, 6, 1, c, v})] = Value::Str(std::string(listBytes, '\0'));
              },
              {},
              {},
              [](const Store& s, const Oid& idx) {
                  uint32_t v = idx[0];
                  if (v == 1) return int(kInconsistentValue);  // the default VLAN stays
                  if (IntAt(s, V({26, 1, 1, 0})) == 1 && IntAt(s, V({26, 1, 2, 0})) == v)
                      return int(kInconsistentValue);
                  if (IntAt(s, V({21, 1, 2, 0})) == 1 && IntAt(s, V({21, 1, 3, 0})) == v)
                      return int(kInconsistentValue);
                  return int(kNoError);
              },
              [ports](Store& s, const Oid& idx) {
                  // Ports whose PVID named the VLAN fall back to the default VLAN.
                  for (int p = 1; p <= ports; ++p) {
                      Oid pv = V({7, 7, 1, 1, uint32_t(p)});
                      if (IntAt(s, pv) == idx[0]) s[pv] = Value::Gauge(1);
                  }
              }});

    // PVID: the ID of an existing active VLAN that has egress members.
    AddRule({V({7, 7, 1, 1}),
             false,
             Type::Gauge32,
             true,
             Range(1, 4094),
             [](const Store& s, const Oid& idx) {
                 uint32_t v = static_cast<uint32_t>(IntAt(s, V({7, 7, 1, 1, idx[0]})));
                 if (IntAt(s, V({7, 6, 1, 5, v})) != kActive) return int(kInconsistentValue);
                 if (PortCountIn(StrAt(s, V({7, 6, 1, 2, v}))) == 0) return int(kInconsistentValue);
                 return int(kNoError);
             },
             {}});
    AddTable({V({7, 7, 1}), 0, 0, {}, {}, {}, {}, {}, {}});
}

void Schema::BuildTrunks() {
    const int ports = m_shape.ports;
    AddRule({V({8, 1, 2}), true, Type::Integer, true, OneOf({1, 2}), {}, {}});
    auto portList = m_portListRule;
    // Members: none, or 2..4 ports that belong to no other trunk.
    AddRule({V({8, 1, 3, 1, 2}), false, Type::Octets, true,
             [portList](const Value& v, const Oid& idx) {
                 if (!portList(v, idx)) return false;
                 int n = PortCountIn(v.bytes);
                 return n == 0 || (n >= 2 && n <= 4);
             },
             [ports](const Store& s, const Oid& idx) {
                 std::string mine = StrAt(s, V({8, 1, 3, 1, 2, idx[0]}));
                 for (uint32_t t = 1; t <= 8; ++t) {
                     if (t == idx[0]) continue;
                     std::string other = StrAt(s, V({8, 1, 3, 1, 2, t}));
                     for (int p = 1; p <= ports; ++p)
                         if (PortInList(mine, p) && PortInList(other, p)) return int(kInconsistentValue);
                 }
                 return int(kNoError);
             },
             [ports](Store& s, const Oid& idx) {
                 Oid o = V({8, 1, 3, 1, 2, idx[0]});
                 s[o] = Value::Str(PortBits(StrAt(s, o), ports));
             }});
    // Mode: 1 LACP, 2 static, 3 disabled.
    AddRule({V({8, 1, 3, 1, 3}), false, Type::Integer, true, OneOf({1, 2, 3}), {}, {}});
    AddTable({V({8, 1, 3, 1}), 0, 0, {}, {}, {}, {}, {}, {}});
}

void Schema::BuildPoe() {
    // PoE port table, instance .1.p.
    AddRule({V({22, 1, 1, 3}), false, Type::Integer, true, OneOf({1, 2}), {}, {}});
    AddRule({V({22, 1, 1, 4}),
             false,
             Type::Integer,
             true,
             Range(0, 8),
             [](const Store& s, const Oid& idx) {
                 int64_t r = IntAt(s, Concat(V({22, 1, 1, 4}), idx));
                 if (r != 0 && IntAt(s, V({23, 1, 1, 21, uint32_t(r)})) != kActive)
                     return int(kInconsistentValue);
                 return int(kNoError);
             },
             {}});
    AddRule({V({22, 1, 1, 5}), false, Type::Integer, true, OneOf({1, 2, 3}), {}, {}});
    AddRule({V({22, 1, 1, 6}), false, Type::Integer, true, Range(1, 5), {}, {}});
    AddRule({V({22, 1, 1, 7}), false, Type::Integer, true, OneOf({1, 2}), {}, {}});
    AddRule({V({22, 1, 1, 8}),
             false,
             Type::Octets,
             true,
             [](const Value& v, const Oid& idx) {
                 return idx.size() == 2 && ValidPowerLimit(v.bytes, static_cast<int>(idx[1]));
             },
             {},
             {}});
    AddTable({V({22, 1, 1}), 0, 0, {}, {}, {}, {}, {}, {}});

    // Time ranges 1..8.
    AddRule({V({23, 1, 1, 2}),
             false,
             Type::Octets,
             true,
             Text(0, 20, true, 128),
             [](const Store& s, const Oid& idx) {
                 std::string mine = StrAt(s, V({23, 1, 1, 2, idx[0]}));
                 for (uint32_t r = 1; r <= 8; ++r)
                     if (r != idx[0] && At(s, V({23, 1, 1, 21, r})) && StrAt(s, V({23, 1, 1, 2, r})) == mine)
                         return int(kInconsistentValue);
                 return int(kNoError);
             },
             {}});
    AddRule({V({23, 1, 1, 3}), false, Type::Integer, true, OneOf({1, 2}), {}, {}});
    for (uint32_t c : {4u, 9u})
        AddRule({V({23, 1, 1, c}), false, Type::Integer, true, Range(2009, 2037), {}, {}});
    for (uint32_t c : {5u, 10u})
        AddRule({V({23, 1, 1, c}), false, Type::Integer, true, Range(1, 12), {}, {}});
    for (uint32_t c : {6u, 11u})
        AddRule({V({23, 1, 1, c}), false, Type::Integer, true, Range(1, 31), {}, {}});
    for (uint32_t c : {7u, 12u})
        AddRule({V({23, 1, 1, c}), false, Type::Integer, true, Range(0, 23), {}, {}});
    for (uint32_t c : {8u, 13u})
        AddRule({V({23, 1, 1, c}), false, Type::Integer, true, Range(0, 59), {}, {}});
    for (uint32_t c = 14; c <= 20; ++c)
        AddRule({V({23, 1, 1, c}), false, Type::Integer, true, OneOf({1, 2}), {}, {}});
    AddRule({V({23, 1, 1, 21}), false, Type::Integer, true, OneOf({1, 2, 4, 5, 6}), {}, {}});
    AddTable({V({23, 1, 1}),
              21,
              8,
              [](const Oid& idx) { return idx.size() == 1 && idx[0] >= 1 && idx[0] <= 8; },
              [](Store& s, const Oid& idx) {
                  uint32_t r = idx[0];
                  const int64_t defaults[] = {0, 0, 0, 2, 2009, 1, 1, 0, 0, 2009, 1, 1, 0, 0};  // by column
                  s[V({23, 1, 1, 1, r})] = Value::Int(r);
                  s[V({23, 1, 1, 2, r})] = Value::Str("");
                  for (uint32_t c = 3; c <= 13; ++c) s[V({23, 1, 1, c, r})] = Value::Int(defaults[c]);
                  for (uint32_t c = 14; c <= 20; ++c) s[V({23, 1, 1, c, r})] = Value::Int(2);
              },
              [](const Store& s, const Oid& idx) {
                  return !StrAt(s, V({23, 1, 1, 2, idx[0]})).empty();
              },
              {},
              [](const Store& s, const Oid& idx) {
                  // A range still assigned to a PoE port stays.
                  for (auto it = s.lower_bound(V({22, 1, 1, 4}));
                       it != s.end() && StartsWith(it->first, V({22, 1, 1, 4})); ++it)
                      if (it->second.num == idx[0]) return int(kInconsistentValue);
                  return int(kNoError);
              },
              {}});

    // LLDP timers and the LLDP-MED PSE TLV of ports 1..4.
    AddRule({V({24, 1}), true, Type::Integer, true, OneOf({1, 2}), {}, {}});
    AddRule({V({24, 2}), true, Type::Integer, true, Range(2, 10), {}, {}});
    auto txDelay = [](const Store& s, const Oid&) {
        return IntAt(s, V({24, 5, 0})) * 4 <= IntAt(s, V({24, 3, 0})) ? int(kNoError)
                                                                      : int(kInconsistentValue);
    };
    AddRule({V({24, 3}), true, Type::Integer, true, Range(5, 32768), txDelay, {}});
    AddRule({V({24, 4}), true, Type::Integer, true, Range(1, 10), {}, {}});
    AddRule({V({24, 5}), true, Type::Integer, true, Range(1, 8192), txDelay, {}});
    AddRule({V({24, 7, 1, 2}), false, Type::Integer, true, OneOf({1, 2}), {}, {}});
    AddTable({V({24, 7, 1}), 0, 0, {}, {}, {}, {}, {}, {}});
}

void Schema::BuildSecurity() {
    const int ports = m_shape.ports;
    auto portList = m_portListRule;
    // RADIUS and 802.1X.
    AddRule({V({11, 1, 1}), true, Type::IpAddress, true, IpRule(), {}, {}});
    AddRule({V({11, 1, 2}), true, Type::Octets, true, Text(1, 33, false), {}, {}});
    AddRule({V({11, 2, 1}), true, Type::Integer, true, OneOf({1, 2}), {}, {}});
    AddRule({V({11, 2, 2}), true, Type::Integer, true, Range(0, 65535), {}, {}});
    for (uint32_t c : {3u, 4u, 5u})
        AddRule({V({11, 2, c}), true, Type::Integer, true, Range(1, 65535), {}, {}});
    AddRule({V({11, 2, 6}), true, Type::Integer, true, Range(1, 10), {}, {}});
    AddRule({V({11, 2, 7}), true, Type::Gauge32, true, Range(1, 4294967295LL), {}, {}});
    AddRule({V({11, 2, 8}), true, Type::Integer, true, OneOf({1, 2}), {}, {}});
    // Port control: not every port forceUnauthorized, nor every port auto.
    AddRule({V({11, 2, 9, 1, 2}),
             false,
             Type::Integer,
             true,
             OneOf({1, 2, 3}),
             [ports](const Store& s, const Oid&) {
                 int fu = 0, au = 0;
                 for (int p = 1; p <= ports; ++p) {
                     int64_t c = IntAt(s, V({11, 2, 9, 1, 2, uint32_t(p)}));
                     fu += c == 1;
                     au += c == 2;
                 }
                 return (fu == ports || au == ports) ? int(kInconsistentValue) : int(kNoError);
             },
             {}});
    AddTable({V({11, 2, 9, 1}), 0, 0, {}, {}, {}, {}, {}, {}});

    // ARP spoofing prevention, indexed by the gateway address.
    AddRule({V({14, 3, 1, 1, 2}),
             false,
             Type::Octets,
             true,
             [](const Value& v, const Oid&) { return UnicastMac(v.bytes); },
             {},
             {}});
    AddRule({V({14, 3, 1, 1, 3}), false, Type::Octets, true, portList, {}, [ports](Store& s, const Oid& idx) {
                 Oid o = Concat(V({14, 3, 1, 1, 3}), idx);
                 s[o] = Value::Str(PortBits(StrAt(s, o), ports));
             }});
    AddRule({V({14, 3, 1, 1, 4}), false, Type::Integer, true, OneOf({1, 2, 4, 5, 6}), {}, {}});
    const size_t listBytes = static_cast<size_t>(PortListBytes());
    AddTable({V({14, 3, 1, 1}),
              4,
              64,
              [](const Oid& idx) { return IpIndex(idx) && GatewayAddress(IpFromIndex(idx)); },
              [listBytes](Store& s, const Oid& idx) {
                  s[Concat(V({14, 3, 1, 1, 1}), idx)] = Value::Ip(IpFromIndex(idx));
                  s[Concat(V({14, 3, 1, 1, 2}), idx)] = Value::Str(std::string(6, '\0'));
                  s[Concat(V({14, 3, 1, 1, 3}), idx)] = Value::Str(std::string(listBytes, '\0'));
              },
              [](const Store& s, const Oid& idx) {
                  return UnicastMac(StrAt(s, Concat(V({14, 3, 1, 1, 2}), idx)));
              },
              {},
              {},
              {}});

    // DHCP server screening port list.
    AddRule({V({14, 7, 1}), true, Type::Octets, true, portList, {}, [ports](Store& s, const Oid&) {
                 s[V({14, 7, 1, 0})] = Value::Str(PortBits(StrAt(s, V({14, 7, 1, 0})), ports));
             }});

    // Multicast filtering mode per port.
    AddRule({V({28, 1, 1, 2}), false, Type::Integer, true, OneOf({1, 2}), {}, {}});
    AddTable({V({28, 1, 1}), 0, 0, {}, {}, {}, {}, {}, {}});

    // Surveillance VLAN.
    AddRule({V({26, 1, 1}),
             true,
             Type::Integer,
             true,
             OneOf({1, 2}),
             [](const Store& s, const Oid&) {
                 return (IntAt(s, V({26, 1, 1, 0})) == 1 && IntAt(s, V({7, 5, 0})) == 1)
                            ? int(kInconsistentValue)
                            : int(kNoError);
             },
             {}});
    AddRule({V({26, 1, 2}),
             true,
             Type::Integer,
             true,
             Range(1, 4094),
             [](const Store& s, const Oid&) {
                 uint32_t v = static_cast<uint32_t>(IntAt(s, V({26, 1, 2, 0})));
                 if (IntAt(s, V({7, 6, 1, 5, v})) != kActive) return int(kInconsistentValue);
                 if (IntAt(s, V({21, 1, 2, 0})) == 1 && IntAt(s, V({21, 1, 3, 0})) == v)
                     return int(kInconsistentValue);
                 return int(kNoError);
             },
             {}});
    AddRule({V({26, 1, 3}), true, Type::Integer, true, Range(0, 2), {}, {}});

    // Surveillance OUI table: the default entry plus at most 5 user entries.
    AddRule({V({26, 2, 1, 1, 2}), false, Type::Octets, true, Text(0, 32, false), {}, {}});
    AddRule({V({26, 2, 1, 1, 4}), false, Type::Integer, true, Range(0, 5), {}, {}});
    AddRule({V({26, 2, 1, 1, 5}), false, Type::Integer, true, OneOf({1, 2, 4, 5, 6}), {}, {}});
    AddTable({V({26, 2, 1, 1}),
              5,
              5,
              [](const Oid& idx) {
                  if (idx.size() != 6) return false;
                  std::string mac;
                  for (uint32_t x : idx) {
                      if (x > 255) return false;
                      mac += static_cast<char>(x);
                  }
                  if (!UnicastMac(mac) || mac == std::string(6, '\xff')) return false;
                  return !(idx[0] == 0x5a && idx[1] == 0xc2 && idx[2] == 0x91);  // the default OUI
              },
              [](Store& s, const Oid& idx) {
                  std::string mac;
                  for (uint32_t x : idx) mac += static_cast<char>(x);
                  s[Concat(V({26, 2, 1, 1, 1}), idx)] = Value::Str(mac);
                  s[Concat(V({26, 2, 1, 1, 2}), idx)] = Value::Str("");
                  s[Concat(V({26, 2, 1, 1, 3}), idx)] = Value::Str(std::string("\xff\xff\xff\0\0\0", 6));
                  s[Concat(V({26, 2, 1, 1, 4}), idx)] = Value::Int(4);
              },
              {},
              [](const Oid& idx) { return idx != kDefaultOui; },
              [](const Store&, const Oid& idx) {
                  return idx == kDefaultOui ? int(kInconsistentValue) : int(kNoError);
              },
              {}});
}

void Schema::BuildAgentTables() {
    AddRule({V({25, 1}), true, Type::Integer, true, OneOf({1, 2}), {}, {}});
    AddRule({V({25, 7}),
             true,
             Type::Octets,
             true,
             [](const Value& v, const Oid&) { return v.bytes.size() >= 5 && v.bytes.size() <= 32; },
             {},
             {}});
    for (uint32_t t = 1; t <= 9; ++t)
        AddRule({V({25, 8, t}), true, Type::Integer, true, OneOf({1, 2}), {}, {}});

    // Users: index NameIndex(user).version.
    auto userIndex = [](const Oid& idx) {
        std::string name;
        size_t used = 0;
        if (!NameFromIndex(idx, 0, &name, &used) || idx.size() != used + 1) return false;
        size_t chars = 0;
        return idx[used] >= 1 && idx[used] <= 3 && Utf8Length(name, &chars) && chars <= 32 &&
               IsValidName(name);
    };
    auto versionOf = [](const Oid& idx) { return idx.back(); };
    auto v3Only = [versionOf](const Store&, const Oid& idx) {
        return versionOf(idx) == 3 ? int(kNoError) : int(kInconsistentValue);
    };
    AddRule({V({25, 2, 1, 1, 3}), false, Type::Octets, true, Text(1, 32, true, 127), {}, {}});
    // Authentication protocol: 2 MD5, 3 SHA; 0 (an empty number) and 1 mean none.
    AddRule({V({25, 2, 1, 1, 4}), false, Type::Integer, true, OneOf({0, 1, 2, 3}), v3Only,
             [](Store& s, const Oid& idx) {
                 Oid o = Concat(V({25, 2, 1, 1, 4}), idx);
                 if (IntAt(s, o) == 0) s[o] = Value::Int(1);
             }});
    AddRule({V({25, 2, 1, 1, 5}),
             false,
             Type::Octets,
             true,
             Text(0, 40, false),
             [v3Only](const Store& s, const Oid& idx) {
                 if (v3Only(s, idx)) return int(kInconsistentValue);
                 size_t n = 0;
                 Utf8Length(StrAt(s, Concat(V({25, 2, 1, 1, 5}), idx)), &n);
                 if (IntAt(s, Concat(V({25, 2, 1, 1, 4}), idx)) == 2 && n > 32)
                     return int(kInconsistentValue);
                 return int(kNoError);
             },
             {}});
    AddRule({V({25, 2, 1, 1, 6}), false, Type::Integer, true, OneOf({1, 2}), v3Only, {}});
    AddRule({V({25, 2, 1, 1, 7}),
             false,
             Type::Octets,
             true,
             Text(0, 32, false),
             [v3Only](const Store& s, const Oid& idx) {
                 if (v3Only(s, idx)) return int(kInconsistentValue);
                 if (!StrAt(s, Concat(V({25, 2, 1, 1, 7}), idx)).empty() &&
                     IntAt(s, Concat(V({25, 2, 1, 1, 6}), idx)) != 2)
                     return int(kInconsistentValue);
                 return int(kNoError);
             },
             {}});
    AddRule({V({25, 2, 1, 1, 8}), false, Type::Integer, true, OneOf({1, 2, 4, 5, 6}), {}, {}});
    AddTable({V({25, 2, 1, 1}),
              8,
              50,
              userIndex,
              [](Store& s, const Oid& idx) {
                  std::string name;
                  size_t used = 0;
                  NameFromIndex(idx, 0, &name, &used);
                  s[Concat(V({25, 2, 1, 1, 1}), idx)] = Value::Str(name);
                  s[Concat(V({25, 2, 1, 1, 2}), idx)] = Value::Int(idx[used]);
                  s[Concat(V({25, 2, 1, 1, 3}), idx)] = Value::Str("");
                  s[Concat(V({25, 2, 1, 1, 4}), idx)] = Value::Int(1);
                  s[Concat(V({25, 2, 1, 1, 5}), idx)] = Value::Str("");
                  s[Concat(V({25, 2, 1, 1, 6}), idx)] = Value::Int(1);
                  s[Concat(V({25, 2, 1, 1, 7}), idx)] = Value::Str("");
              },
              [](const Store& s, const Oid& idx) {
                  return !StrAt(s, Concat(V({25, 2, 1, 1, 3}), idx)).empty();
              },
              {},
              {},
              {}});

    // Groups: index NameIndex(group).model.level.
    AddRule({V({25, 3, 1, 1, 4}), false, Type::Octets, true, Text(0, 32, false, 127), {}, {}});
    AddRule({V({25, 3, 1, 1, 5}), false, Type::Octets, true, Text(0, 32, false, 127), {}, {}});
    AddRule({V({25, 3, 1, 1, 6}), false, Type::Octets, true, Text(0, 32, false, 127), {}, {}});
    AddRule({V({25, 3, 1, 1, 7}), false, Type::Integer, true, OneOf({1, 2, 4, 5, 6}), {}, {}});
    AddTable({V({25, 3, 1, 1}),
              7,
              50,
              [](const Oid& idx) {
                  std::string name;
                  size_t used = 0;
                  if (!NameFromIndex(idx, 0, &name, &used) || idx.size() != used + 2) return false;
                  size_t chars = 0;
                  return idx[used] >= 1 && idx[used] <= 3 && idx[used + 1] >= 1 && idx[used + 1] <= 3 &&
                         Utf8Length(name, &chars) && chars <= 32 && IsValidName(name);
              },
              [](Store& s, const Oid& idx) {
                  std::string name;
                  size_t used = 0;
                  NameFromIndex(idx, 0, &name, &used);
                  s[Concat(V({25, 3, 1, 1, 1}), idx)] = Value::Str(name);
                  s[Concat(V({25, 3, 1, 1, 2}), idx)] = Value::Int(idx[used]);
                  s[Concat(V({25, 3, 1, 1, 3}), idx)] = Value::Int(idx[used + 1]);
                  for (uint32_t c : {4u, 5u, 6u}) s[Concat(V({25, 3, 1, 1, c}), idx)] = Value::Str("");
              },
              {},
              {},
              {},
              {}});

    // Views: index NameIndex(view).n.subtree.
    auto viewSplit = [](const Oid& idx, std::string* name, Oid* subtree) {
        size_t used = 0;
        if (!NameFromIndex(idx, 0, name, &used) || used >= idx.size()) return false;
        uint32_t n = idx[used];
        if (n == 0 || n > 32 || idx.size() != used + 1 + n) return false;
        *subtree = Sub(idx, used + 1);
        return true;
    };
    AddRule({V({25, 4, 1, 1, 3}),
             false,
             Type::Octets,
             true,
             [viewSplit](const Value& v, const Oid& idx) {
                 std::string name;
                 Oid subtree;
                 if (!viewSplit(idx, &name, &subtree) || v.bytes.size() > subtree.size()) return false;
                 for (char c : v.bytes)
                     if (c != 0 && c != 1) return false;
                 return true;
             },
             {},
             {}});
    AddRule({V({25, 4, 1, 1, 4}), false, Type::Integer, true, OneOf({1, 2}), {}, {}});
    AddRule({V({25, 4, 1, 1, 5}), false, Type::Integer, true, OneOf({1, 2, 4, 5, 6}), {}, {}});
    AddTable({V({25, 4, 1, 1}),
              5,
              50,
              [viewSplit](const Oid& idx) {
                  std::string name;
                  Oid subtree;
                  size_t chars = 0;
                  return viewSplit(idx, &name, &subtree) && Utf8Length(name, &chars) && chars <= 32 &&
                         IsValidName(name);
              },
              [viewSplit](Store& s, const Oid& idx) {
                  std::string name;
                  Oid subtree;
                  viewSplit(idx, &name, &subtree);
                  s[Concat(V({25, 4, 1, 1, 1}), idx)] = Value::Str(name);
                  s[Concat(V({25, 4, 1, 1, 2}), idx)] = Value::ObjId(subtree);
                  s[Concat(V({25, 4, 1, 1, 3}), idx)] = Value::Str("");
                  s[Concat(V({25, 4, 1, 1, 4}), idx)] = Value::Int(1);
              },
              {},
              {},
              {},
              {}});

    // Communities: index NameIndex(community); the user must be an active V1 or V2c user.
    AddRule({V({25, 5, 1, 1, 2}),
             false,
             Type::Octets,
             true,
             Text(1, 32, false, 127),
             [](const Store& s, const Oid& idx) {
                 std::string user = StrAt(s, Concat(V({25, 5, 1, 1, 2}), idx));
                 for (uint32_t ver : {1u, 2u}) {
                     Oid row = V({25, 2, 1, 1, 8, static_cast<uint32_t>(user.size())});
                     for (unsigned char c : user) row.push_back(c);
                     row.push_back(ver);
                     if (IntAt(s, row) == kActive) return int(kNoError);
                 }
                 return int(kInconsistentValue);
             },
             {}});
    AddRule({V({25, 5, 1, 1, 3}), false, Type::Integer, true, OneOf({1, 2, 4, 5, 6}), {}, {}});
    AddTable({V({25, 5, 1, 1}),
              3,
              10,
              [](const Oid& idx) {
                  std::string name;
                  size_t used = 0, chars = 0;
                  return NameFromIndex(idx, 0, &name, &used) && used == idx.size() &&
                         Utf8Length(name, &chars) && chars <= 32 && IsValidName(name);
              },
              [](Store& s, const Oid& idx) {
                  std::string name;
                  size_t used = 0;
                  NameFromIndex(idx, 0, &name, &used);
                  s[Concat(V({25, 5, 1, 1, 1}), idx)] = Value::Str(name);
                  s[Concat(V({25, 5, 1, 1, 2}), idx)] = Value::Str("");
              },
              [](const Store& s, const Oid& idx) {
                  return !StrAt(s, Concat(V({25, 5, 1, 1, 2}), idx)).empty();
              },
              {},
              {},
              {}});

    // Notification hosts: index the host address.
    AddRule({V({25, 6, 1, 1, 2}), false, Type::Octets, true, Text(1, 32, true, 127), {}, {}});
    AddRule({V({25, 6, 1, 1, 3}), false, Type::Integer, true, Range(1, 5), {}, {}});
    AddRule({V({25, 6, 1, 1, 4}), false, Type::Integer, true, OneOf({1, 2, 4, 5, 6}), {}, {}});
    AddTable({V({25, 6, 1, 1}),
              4,
              10,
              [](const Oid& idx) { return IpIndex(idx) && HostAddress(IpFromIndex(idx)); },
              [](Store& s, const Oid& idx) {
                  s[Concat(V({25, 6, 1, 1, 1}), idx)] = Value::Ip(IpFromIndex(idx));
                  s[Concat(V({25, 6, 1, 1, 2}), idx)] = Value::Str("");
                  s[Concat(V({25, 6, 1, 1, 3}), idx)] = Value::Int(1);
              },
              [](const Store& s, const Oid& idx) {
                  return !StrAt(s, Concat(V({25, 6, 1, 1, 2}), idx)).empty();
              },
              {},
              {},
              {}});
}

void Schema::BuildMisc() {
    // Device commands: write 1 (they read back 0).
    AddRule({V({1, 9}), true, Type::Integer, false, OneOf({1}), {}, {}});
    AddRule({V({1, 10}), true, Type::Integer, false, OneOf({1}), {}, {}});

    // TFTP transfers: server address, file name, operation (starting a transfer).
    for (uint32_t base : {1u, 5u}) {
        AddRule({V({3, base}), true, Type::IpAddress, false, IpRule(), {}, {}});
        AddRule({V({3, base + 1}), true, Type::Octets, false, Text(1, 64, false), {}, {}});
        AddRule({V({3, base + 2}),
                 true,
                 Type::Integer,
                 false,
                 OneOf({1, 2}),
                 [base](const Store& s, const Oid&) {
                     // A transfer needs its server and file, and one at a time.
                     if (!ServerAddress(At(s, V({3, base, 0})) ? At(s, V({3, base, 0}))->IpHost() : 0))
                         return int(kInconsistentValue);
                     if (StrAt(s, V({3, base + 1, 0})).empty()) return int(kInconsistentValue);
                     int64_t st = IntAt(s, V({3, base + 3, 0}));
                     if (st == 2 || st == 3) return int(kInconsistentValue);
                     return int(kNoError);
                 },
                 {}});
    }

    // Syslog.
    AddRule({V({16, 1, 1}), true, Type::IpAddress, true, IpRule(), {}, {}});
    AddRule({V({16, 1, 2}), true, Type::Integer, true, Range(1, 65535), {}, {}});
    AddRule({V({16, 1, 4}), true, Type::Integer, true, OneOf({4, 6, 7}), {}, {}});
    AddRule({V({16, 1, 5}), true, Type::Integer, true, Steps(128, 184, 8), {}, {}});
    AddRule({V({16, 1, 6}), true, Type::Integer, true, OneOf({1, 2}), {}, {}});
}

void Schema::BuildControl() {
    const Oid port = O("1.3.6.1.4.1.32473.99.1.1");
    const Oid scalars = O("1.3.6.1.4.1.32473.99.2");
    auto col = [&](uint32_t c) { return Concat(port, {c}); };
    auto sc = [&](uint32_t c) { return Concat(scalars, {c}); };
    AddRule({col(2), false, Type::Integer, false, OneOf({1, 2}), {}, {}});
    AddRule({col(3), false, Type::Integer, false, OneOf({10, 100, 1000}), {}, {}});
    AddRule({col(4), false, Type::Octets, false, Text(0, 32, false), {}, {}});
    AddRule({col(5), false, Type::Integer, false, Range(0, 30), {}, {}});
    AddTable({port, 0, 0, {}, {}, {}, {}, {}, {}});
    AddRule({sc(1),
             true,
             Type::Octets,
             false,
             [](const Value& v, const Oid&) {
                 if (v.bytes.empty() || v.bytes.size() > 8) return false;
                 char* end = nullptr;
                 std::strtod(v.bytes.c_str(), &end);
                 return end && *end == '\0';
             },
             {},
             {}});
    AddRule({sc(2), true, Type::Integer, false, OneOf({1, 2}), {}, {}});
    AddRule({sc(3), true, Type::Integer, false, Range(0, 60000), {}, {}});
    AddRule({sc(4), true, Type::Integer, false, Range(0, 1000000), {}, {}});
    AddRule({sc(5), true, Type::Integer, false, Range(-1, 86400), {}, {}});
    AddRule({sc(6), true, Type::Integer, false, OneOf({1}), {}, {}});
    AddRule({sc(11), true, Type::Integer, false, OneOf({1}), {}, {}});
    AddRule({sc(12), true, Type::Integer, false, OneOf({1, 2}), {}, {}});
    AddRule({sc(15), true, Type::Integer, false, Range(0, 600), {}, {}});
    for (uint32_t c : {16u, 17u, 18u, 20u})
        AddRule({sc(c), true, Type::Integer, false, OneOf({0, 1}), {}, {}});
    AddRule({sc(19), true, Type::Integer, false, Range(0, 10), {}, {}});
    for (uint32_t c : {21u, 22u}) AddRule({sc(c), true, Type::Integer, false, Range(0, 1000000), {}, {}});
    AddRule({sc(23),
             true,
             Type::Octets,
             false,
             [](const Value& v, const Oid&) {
                 if (v.bytes.empty()) return true;
                 char* end = nullptr;
                 errno = 0;
                 std::strtoll(v.bytes.c_str(), &end, 10);
                 return errno == 0 && end && *end == '\0' && v.bytes.size() <= 20;
             },
             {},
             {}});
    AddRule({sc(24), true, Type::Integer, false, Range(0, 100), {}, {}});
    AddRule({sc(25), true, Type::Integer, false, Range(1, 2147483646), {}, {}});
    const Oid tftp = O("1.3.6.1.4.1.32473.99.9");
    AddRule({Concat(tftp, {1}), true, Type::Integer, false, OneOf({3, 4}), {}, {}});
    AddRule({Concat(tftp, {2}), true, Type::Integer, false, OneOf({1, 2}), {}, {}});
    AddRule({Concat(tftp, {3}), true, Type::Integer, false, Range(0, 60000), {}, {}});
    AddRule({O("1.3.6.1.4.1.32473.99.10.1"), true, Type::Integer, false, OneOf({0, 1, 2}), {}, {}});
}

void Schema::BuildRefusals() {
    Oid knob = O(ctl::kRefuseWritesUnder);
    knob.pop_back();  // scalar rules name the object without its instance
    AddRule({knob,
             true,
             Type::Octets,
             false,
             [](const Value& v, const Oid&) { return v.bytes.empty() || ParseOid(v.bytes).has_value(); },
             {},
             {}});
}

// ---------------------------------------------------------------------------------------------
void Schema::Derive(Store& s) const {
    const Oid ctlPort = O("1.3.6.1.4.1.32473.99.1.1");
    const bool dot1x = IntAt(s, V({11, 2, 1, 0})) == 1;
    for (int pi = 1; pi <= m_shape.ports; ++pi) {
        uint32_t p = static_cast<uint32_t>(pi);
        int64_t cfg = IntAt(s, V({1, 13, 1, 2, p}), 6);
        int64_t link = IntAt(s, Concat(ctlPort, {2, p}), 2);
        int64_t partner = IntAt(s, Concat(ctlPort, {3, p}), 1000);
        int64_t top = m_shape.TopSpeed(pi);
        bool admin = cfg != 7;
        bool up = admin && link == 1;
        int64_t speed = cfg == 1                 ? 1000
                        : (cfg == 2 || cfg == 3) ? 100
                        : (cfg == 4 || cfg == 5) ? 10
                                                 : std::min(partner, top);
        bool half = cfg == 3 || cfg == 5;
        int64_t mode = !up ? 0 : speed == 1000 ? 1 : speed == 100 ? (half ? 3 : 2) : (half ? 5 : 4);
        SetIfDiffers(s, M({2, 2, 1, 7, p}), Value::Int(admin ? 1 : 2));
        SetIfDiffers(s, M({2, 2, 1, 8, p}), Value::Int(up ? 1 : 2));
        SetIfDiffers(s, M({2, 2, 1, 5, p}), Value::Gauge(up ? speed * 1000000 : 0));
        SetIfDiffers(s, V({1, 13, 1, 3, p}), Value::Int(mode));
        SetIfDiffers(s, V({1, 13, 1, 6, p}), Value::Int(up && IntAt(s, V({1, 13, 1, 5, p})) == 1 ? 1 : 2));

        bool stpOn = IntAt(s, M({17, 2, 15, 1, 4, p}), 1) == 1;
        SetIfDiffers(s, M({17, 2, 15, 1, 3, p}), Value::Int(up && stpOn ? 5 : 1));
        int64_t cost = IntAt(s, V({6, 2, 1, 5, p}));
        if (cost == 0) {
            int64_t ref = up ? speed : top;
            cost = ref >= 1000 ? 20000 : ref >= 100 ? 200000 : 2000000;
        }
        SetIfDiffers(s, M({17, 2, 15, 1, 5, p}), Value::Int(cost));

        int64_t control = IntAt(s, V({11, 2, 9, 1, 2, p}), 3);
        int64_t authorized = !dot1x || control == 3 || (control == 2 && up) ? 1 : 2;
        SetIfDiffers(s, V({11, 2, 9, 1, 3, p}), Value::Int(authorized));

        if (pi <= m_shape.poePorts) {
            bool enabled = IntAt(s, V({22, 1, 1, 3, 1, p}), 1) == 1;
            std::string text = enabled ? StrAt(s, Concat(ctlPort, {4, p})) : "POWER OFF";
            bool on = text == "POWER ON";
            int64_t watts = on ? IntAt(s, Concat(ctlPort, {5, p})) : 0;
            SetIfDiffers(s, V({22, 1, 1, 13, 1, p}), Value::Str(std::string(ctl::kPoePrefix) + text));
            SetIfDiffers(s, V({22, 1, 1, 9, 1, p}), Value::Int(watts));
            SetIfDiffers(s, V({22, 1, 1, 10, 1, p}), Value::Int(on ? 53 : 0));
            SetIfDiffers(s, V({22, 1, 1, 11, 1, p}), Value::Int(on ? watts * 1000 / 53 : 0));
        }
    }
    SetIfDiffers(s, V({1, 15, 1, 0}), Value::Int(IntAt(s, O(ctl::kFanState), 1)));
    SetIfDiffers(s, O("1.0.8802.1.1.2.1.3.3.0"), Value::Str(StrAt(s, M({1, 5, 0}))));
    if (const Value* pv = At(s, O(ctl::kPowerValue))) SetIfDiffers(s, V({22, 6, 0}), *pv);
    DeriveLldp(s);
}

}  // namespace kmssim
