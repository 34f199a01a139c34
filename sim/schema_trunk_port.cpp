// Trunk members and port speeds together, and the control object that puts any device object into a
// given state (for settings the manager can only read: port security, rate control, mirroring...).
#include "sim/control_oids.h"
#include "sim/schema.h"

namespace kmssim {

namespace {

const Oid kSpeed = O("1.3.6.1.4.1.32473.10.75.13.1.13.1.2");
const Oid kMembers = O("1.3.6.1.4.1.32473.10.75.13.8.1.3.1.2");

int64_t SpeedOf(const Store& s, int port) {
    auto it = s.find(Concat(kSpeed, {static_cast<uint32_t>(port)}));
    return it == s.end() ? 0 : it->second.num;
}

bool HalfDuplex(int64_t speed) {
    return speed == 3 || speed == 5;
}

// The trunk of `port`, 0 for none.
uint32_t TrunkOf(const Store& s, int port) {
    for (uint32_t t = 1; t <= 8; ++t) {
        auto it = s.find(Concat(kMembers, {t}));
        if (it != s.end() && PortInList(it->second.bytes, port)) return t;
    }
    return 0;
}

// Chains `extra` after the rule's own consistency check.
void AddConsistency(Rule& rule, std::function<int(const Store&, const Oid&)> extra) {
    auto own = rule.consistent;
    rule.consistent = [own, extra](const Store& s, const Oid& index) {
        const int e = own ? own(s, index) : int(kNoError);
        return e != kNoError ? e : extra(s, index);
    };
}

std::optional<std::pair<Oid, Value>> ForcedValue(const std::string& line) {
    std::string error;
    auto parsed = ParseSnmprecLine(line, &error);
    if (!parsed || parsed->first.empty() || StartsWith(parsed->first, O(ctl::kRoot))) return std::nullopt;
    return parsed;
}

}  // namespace

void Schema::BuildTrunkPort() {
    const int ports = m_shape.ports;
    // An aggregated link runs full duplex at one speed: half duplex is refused for its members, and a
    // member's speed must stay that of the others.
    AddConsistency(m_rules[kMembers], [ports](const Store& s, const Oid& idx) {
        auto it = s.find(Concat(kMembers, idx));
        for (int p = 1; it != s.end() && p <= ports; ++p)
            if (PortInList(it->second.bytes, p) && HalfDuplex(SpeedOf(s, p))) return int(kInconsistentValue);
        return int(kNoError);
    });
    AddConsistency(m_rules[kSpeed], [ports](const Store& s, const Oid& idx) {
        const int port = static_cast<int>(idx[0]);
        const uint32_t trunk = TrunkOf(s, port);
        if (trunk == 0) return int(kNoError);
        if (HalfDuplex(SpeedOf(s, port))) return int(kInconsistentValue);
        for (int p = 1; p <= ports; ++p)
            if (p != port && TrunkOf(s, p) == trunk && SpeedOf(s, p) != SpeedOf(s, port))
                return int(kInconsistentValue);
        return int(kNoError);
    });

    // Control: an snmprec line "OID|TYPE|VALUE" of a device object, taken as it stands.
    const Oid forced = O(ctl::kForceValue);
    AddRule({Oid(forced.begin(), forced.end() - 1),
             true,
             Type::Octets,
             false,
             [](const Value& v, const Oid&) { return ForcedValue(v.bytes).has_value(); },
             {},
             [forced](Store& s, const Oid&) {
                 if (auto parsed = ForcedValue(s[forced].bytes)) s[parsed->first] = parsed->second;
             }});
}

}  // namespace kmssim
