#include "sim/replay.h"

#include "sim/control_oids.h"

namespace kmssim {

namespace {

int64_t IntOf(const Store& s, const Oid& o, int64_t fallback) {
    auto it = s.find(o);
    return it == s.end() ? fallback : it->second.num;
}

}  // namespace

bool IsRecording(const Store& s) {
    const Oid root = O(ctl::kRoot);
    auto it = s.lower_bound(root);
    return it == s.end() || !StartsWith(it->first, root);
}

std::string RecordedModel(const std::string& path) {
    Store s;
    std::string error;
    if (!LoadSnmprec(path, &s, &error)) return "08E";
    return s.count(O("1.3.6.1.4.1.32473.10.75.13.1.13.1.2.28")) ? "28E" : "08E";
}

void AdoptRecording(const DeviceShape& shape, const Store& stock, Store& s) {
    const Oid control = O(ctl::kRoot);
    for (auto it = stock.lower_bound(control); it != stock.end() && StartsWith(it->first, control); ++it)
        s.insert(*it);
    const Oid ifSpeed = O("1.3.6.1.2.1.2.2.1.5"), ifOper = O("1.3.6.1.2.1.2.2.1.8");
    const Oid poe = O("1.3.6.1.4.1.32473.10.75.13.22.1.1");
    const std::string prefix = ctl::kPoePrefix;
    for (uint32_t p = 1; p <= static_cast<uint32_t>(shape.ports); ++p) {
        const bool up = IntOf(s, Concat(ifOper, {p}), 2) == 1;
        const int64_t mbps = IntOf(s, Concat(ifSpeed, {p}), 0) / 1000000;
        // A port without link shows nothing of its partner; the fastest one is as good as any.
        const bool known = up && (mbps == 10 || mbps == 100 || mbps == 1000);
        s[Concat(O(ctl::kPortIndex), {p})] = Value::Int(p);
        s[Concat(O(ctl::kPortLink), {p})] = Value::Int(up ? 1 : 2);
        s[Concat(O(ctl::kPortPartnerSpeed), {p})] = Value::Int(known ? mbps : 1000);
        if (static_cast<int>(p) > shape.poePorts) continue;
        std::string text = "POWER OFF";
        auto status = s.find(Concat(poe, {13, 1, p}));
        if (IntOf(s, Concat(poe, {3, 1, p}), 1) == 1 && status != s.end()) {
            text = status->second.bytes;
            if (text.compare(0, prefix.size(), prefix) == 0) text.erase(0, prefix.size());
        }
        s[Concat(O(ctl::kPoeStatusText), {p})] = Value::Str(text);
        s[Concat(O(ctl::kPoeDraw), {p})] =
            Value::Int(text == "POWER ON" ? IntOf(s, Concat(poe, {9, 1, p}), 0) : 0);
    }
    auto power = s.find(O("1.3.6.1.4.1.32473.10.75.13.22.6.0"));
    if (power != s.end()) s[O(ctl::kPowerValue)] = power->second;
    s[O(ctl::kFanState)] = Value::Int(IntOf(s, O("1.3.6.1.4.1.32473.10.75.13.1.15.1.0"), 1));
}

void RestoreRecordedStatus(const Schema& schema, const Store& recorded, Store& s) {
    const Oid control = O(ctl::kRoot);
    for (auto it = s.begin(); it != s.end();) {
        const bool status = !StartsWith(it->first, control) && !schema.IsConfig(it->first);
        if (status && !recorded.count(it->first))
            it = s.erase(it);
        else
            ++it;
    }
    for (const auto& [oid, v] : recorded)
        if (!schema.IsConfig(oid)) s[oid] = v;
}

}  // namespace kmssim
