// LLDP neighbours and the local chassis ID: what the switch would learn from the wire, set by tests
// through the control subtree.
#include "sim/control_oids.h"
#include "sim/schema.h"

namespace kmssim {

namespace {

const Oid kRemEntry = O("1.0.8802.1.1.2.1.4.1.1");
const Oid kLldpState = O("1.3.6.1.4.1.32473.10.75.13.24.1.0");
constexpr uint32_t kStatusColumn = 1;
constexpr uint32_t kFirstColumn = 4, kLastColumn = 10;
// Subtype columns of both IDs; the other columns hold octets.
bool IsSubtypeColumn(uint32_t c) {
    return c == 4 || c == 6;
}

auto Length(size_t low, size_t high) {
    return
        [low, high](const Value& v, const Oid&) { return v.bytes.size() >= low && v.bytes.size() <= high; };
}
auto Subtype() {
    return [](const Value& v, const Oid&) { return v.num >= 1 && v.num <= 7; };
}

}  // namespace

void Schema::BuildLldp() {
    const Oid table = O(ctl::kLldpNeighbour);
    for (uint32_t c = kFirstColumn; c <= kLastColumn; ++c) {
        if (IsSubtypeColumn(c))
            AddRule({Concat(table, {c}), false, Type::Integer, false, Subtype(), {}, {}});
        else
            AddRule({Concat(table, {c}),
                     false,
                     Type::Octets,
                     false,
                     Length(c == 5 || c == 7 ? 1 : 0, 255),
                     {},
                     {}});
    }
    AddRule(
        {Concat(table, {kStatusColumn}),
         false,
         Type::Integer,
         false,
         [](const Value& v, const Oid&) { return v.num == 1 || v.num == 2 || (v.num >= 4 && v.num <= 6); },
         {},
         {}});
    const int ports = m_shape.ports;
    TableRule neighbours;
    neighbours.entry = table;
    neighbours.statusColumn = static_cast<int>(kStatusColumn);
    neighbours.maxRows = 64;
    neighbours.validIndex = [ports](const Oid& idx) {
        return idx.size() == 2 && idx[0] >= 1 && idx[0] <= static_cast<uint32_t>(ports) && idx[1] >= 1 &&
               idx[1] <= 65535;
    };
    neighbours.create = [table](Store& s, const Oid& idx) {
        // A neighbour that announces only its MAC address and an interface name until told otherwise.
        s[Concat(Concat(table, {4}), idx)] = Value::Int(4);
        s[Concat(Concat(table, {5}), idx)] =
            Value::Str(std::string("\x02\x00\x00\x00\x00", 5) + static_cast<char>(idx[1] & 0xff));
        s[Concat(Concat(table, {6}), idx)] = Value::Int(5);
        s[Concat(Concat(table, {7}), idx)] = Value::Str("port" + std::to_string(idx[0]));
        for (uint32_t c : {8u, 9u, 10u}) s[Concat(Concat(table, {c}), idx)] = Value::Str("");
    };
    AddTable(std::move(neighbours));

    // Scalars are named without their ".0".
    auto scalar = [](const char* text) {
        Oid o = O(text);
        o.pop_back();
        return o;
    };
    AddRule({scalar(ctl::kLldpLocalChassisSubtype), true, Type::Integer, false, Subtype(), {}, {}});
    AddRule({scalar(ctl::kLldpLocalChassisId), true, Type::Octets, false, Length(1, 255), {}, {}});
}

void Schema::DeriveLldp(Store& s) {
    const Oid table = O(ctl::kLldpNeighbour);
    for (auto it = s.lower_bound(kRemEntry); it != s.end() && StartsWith(it->first, kRemEntry);)
        it = s.erase(it);
    // The switch learns nothing while LLDP is off; what it knew ages out at once.
    auto state = s.find(kLldpState);
    if (state == s.end() || state->second.num != 1) return;
    const Oid status = Concat(table, {kStatusColumn});
    std::vector<Oid> active;
    for (auto it = s.lower_bound(status); it != s.end() && StartsWith(it->first, status); ++it)
        if (it->second.num == 1) active.push_back(Sub(it->first, status.size()));
    for (const Oid& idx : active) {
        for (uint32_t c = kFirstColumn; c <= kLastColumn; ++c) {
            auto v = s.find(Concat(Concat(table, {c}), idx));
            if (v != s.end()) s[Concat(Concat(kRemEntry, {c, 0}), idx)] = v->second;
        }
    }
    for (const auto& [from, to] :
         {std::pair<const char*, const char*>{ctl::kLldpLocalChassisSubtype, "1.0.8802.1.1.2.1.3.1.0"},
          {ctl::kLldpLocalChassisId, "1.0.8802.1.1.2.1.3.2.0"}}) {
        auto v = s.find(O(from));
        if (v != s.end()) s[O(to)] = v->second;
    }
}

}  // namespace kmssim
