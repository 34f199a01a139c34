#include "sim/device.h"

#include <sys/stat.h>

#include <cstdio>
#include <map>

#include "sim/control_oids.h"

namespace kmssim {

namespace {

const Oid kSysUpTime = O("1.3.6.1.2.1.1.3.0");
const Oid kTopoTime = O("1.3.6.1.2.1.17.2.3.0");
const Oid kReboot = O("1.3.6.1.4.1.32473.10.75.13.1.9.0");
const Oid kSave = O("1.3.6.1.4.1.32473.10.75.13.1.10.0");
const Oid kTftp = O("1.3.6.1.4.1.32473.10.75.13.3");
const Oid kCtlPort = O("1.3.6.1.4.1.32473.99.1.1");

int64_t IntIn(const Store& s, const Oid& o, int64_t fallback = 0) {
    auto it = s.find(o);
    return it == s.end() ? fallback : it->second.num;
}

DeviceShape ShapeOf(const std::string& model) {
    DeviceShape shape;
    if (model == "28E") {
        // 24 copper 10/100 ports with PoE, two copper gigabit ports, two SFP slots (1000Base-x and
        // 100Base-x modules fitted).
        shape.ports = 28;
        shape.poePorts = 24;
        shape.medium.assign(28, 1);
        shape.medium[24] = shape.medium[25] = 0;
        shape.medium[26] = 4;
        shape.medium[27] = 3;
    }
    return shape;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

}  // namespace

bool Device::Init(const DeviceOptions& options, std::string* error) {
    m_options = options;
    std::string model = options.model;
    for (char& c : model) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    if (model != "08E" && model != "28E") {
        *error = "unknown model " + options.model + " (08E or 28E)";
        return false;
    }
    m_modelName = "KMS-7300-" + model;
    m_schema = std::make_unique<Schema>(ShapeOf(model));
    std::string lower = model;
    for (char& c : lower) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    m_store.clear();
    if (!LoadSnmprec(options.dataDir + "/kms-7300-" + lower + ".snmprec", &m_store, error)) return false;
    if (!options.statePath.empty() && FileExists(options.statePath)) {
        Store saved;
        if (!LoadSnmprec(options.statePath, &saved, error)) return false;
        ReplaceConfig(m_store, ConfigOf(saved));
    }
    if (options.dynamics) m_store[O(ctl::kDynamics)] = Value::Int(1);
    if (!options.engineId.empty())
        m_store[O("1.3.6.1.4.1.32473.10.75.13.25.7.0")] = Value::Str(options.engineId);
    m_schema->Derive(m_store);
    m_initial = m_store;
    m_saved = ConfigOf(m_store);
    m_boot = Clock::now();
    m_nextDynamics = m_boot + std::chrono::seconds(3);
    RefreshLive();
    return true;
}

Store Device::ConfigOf(const Store& s) const {
    Store c;
    for (const auto& [oid, v] : s)
        if (m_schema->IsConfig(oid)) c.emplace(oid, v);
    return c;
}

void Device::ReplaceConfig(Store& s, const Store& config) const {
    for (auto it = s.begin(); it != s.end();) {
        if (m_schema->IsConfig(it->first))
            it = s.erase(it);
        else
            ++it;
    }
    for (const auto& [oid, v] : config) s[oid] = v;
}

const Value* Device::Get(const Oid& oid) const {
    auto it = m_store.find(oid);
    return it == m_store.end() ? nullptr : &it->second;
}

const std::pair<const Oid, Value>* Device::Next(const Oid& from, bool inclusive) const {
    auto it = inclusive ? m_store.lower_bound(from) : m_store.upper_bound(from);
    return it == m_store.end() ? nullptr : &*it;
}

int Device::Check(const Binding& b) const {
    Oid index;
    const Rule* rule = m_schema->Find(b.oid, &index);
    if (!rule) return m_store.count(b.oid) ? kNotWritable : kNoCreation;
    if (b.value.type != rule->type) return kWrongType;
    if (!rule->scalar) {
        const TableRule* table = m_schema->TableOf(rule->oid);
        if (table && table->statusColumn) {
            // Rows that do not exist yet must have an index the table accepts.
            Oid status = Concat(Concat(table->entry, {static_cast<uint32_t>(table->statusColumn)}), index);
            if (!m_store.count(status) && table->validIndex && !table->validIndex(index)) return kNoCreation;
        } else if (!m_store.count(b.oid)) {
            return kNoCreation;  // fixed rows: only the existing ones
        }
    }
    if (rule->valid && !rule->valid(b.value, index)) return kWrongValue;
    return kNoError;
}

bool Device::Prepare(const std::vector<Binding>& bs, std::vector<int>* errors, Store* tentative) const {
    errors->assign(bs.size(), kNoError);
    Store t = m_store;
    struct Parsed {
        const Rule* rule = nullptr;
        const TableRule* table = nullptr;
        Oid index;
        bool status = false;
    };
    std::vector<Parsed> ps(bs.size());
    for (size_t i = 0; i < bs.size(); ++i) {
        Parsed& p = ps[i];
        p.rule = m_schema->Find(bs[i].oid, &p.index);
        if (!p.rule) {
            (*errors)[i] = kNotWritable;
            continue;
        }
        if (!p.rule->scalar) p.table = m_schema->TableOf(p.rule->oid);
        p.status = p.table && p.table->statusColumn &&
                   p.rule->oid.back() == static_cast<uint32_t>(p.table->statusColumn);
    }
    auto statusOid = [](const TableRule* tb, const Oid& idx) {
        return Concat(Concat(tb->entry, {static_cast<uint32_t>(tb->statusColumn)}), idx);
    };
    auto isReady = [&t](const TableRule* tb, const Oid& idx) { return !tb->ready || tb->ready(t, idx); };

    // Rows created first, so that the other bindings of the request can fill them.
    std::vector<bool> go(bs.size(), false);
    for (size_t i = 0; i < bs.size(); ++i) {
        const Parsed& p = ps[i];
        if (!p.status || (*errors)[i]) continue;
        int64_t v = bs[i].value.num;
        if (v != kCreateAndGo && v != kCreateAndWait) continue;
        Oid so = statusOid(p.table, p.index);
        if (t.count(so)) {
            (*errors)[i] = kInconsistentValue;
            continue;
        }
        size_t rows = 0;
        Oid col = Concat(p.table->entry, {static_cast<uint32_t>(p.table->statusColumn)});
        for (auto it = t.lower_bound(col); it != t.end() && StartsWith(it->first, col); ++it)
            if (!p.table->countRow || p.table->countRow(Sub(it->first, col.size()))) ++rows;
        if (p.table->maxRows && rows >= p.table->maxRows) {
            (*errors)[i] = kNoCreation;
            continue;
        }
        if (p.table->create) p.table->create(t, p.index);
        t[so] = Value::Int(kNotReady);
        go[i] = v == kCreateAndGo;
    }

    // Column values.
    for (size_t i = 0; i < bs.size(); ++i) {
        const Parsed& p = ps[i];
        if (p.status || (*errors)[i]) continue;
        if (p.table && p.table->statusColumn && !t.count(statusOid(p.table, p.index))) {
            (*errors)[i] = kNoCreation;
            continue;
        }
        t[bs[i].oid] = bs[i].value;
        if (p.rule->after) p.rule->after(t, p.index);
    }

    // A change of the asymmetric VLAN mode puts the VLANs back to the default, as the switch warns.
    const Oid asym = O("1.3.6.1.4.1.32473.10.75.13.7.5.0");
    auto before = m_store.find(asym);
    auto after = t.find(asym);
    if (before != m_store.end() && after != t.end() && before->second.num != after->second.num)
        DefaultVlans(t);

    // Rows whose columns are now complete leave notReady.
    for (size_t i = 0; i < bs.size(); ++i) {
        const Parsed& p = ps[i];
        if (!p.table || !p.table->statusColumn) continue;
        auto it = t.find(statusOid(p.table, p.index));
        if (it != t.end() && it->second.num == kNotReady && isReady(p.table, p.index))
            it->second = Value::Int(kNotInService);
    }

    // Status changes of existing rows, activation of created ones, deletions.
    for (size_t i = 0; i < bs.size(); ++i) {
        const Parsed& p = ps[i];
        if (!p.status || (*errors)[i]) continue;
        int64_t v = bs[i].value.num;
        Oid so = statusOid(p.table, p.index);
        auto it = t.find(so);
        if (v == kCreateAndWait) continue;
        if (v == kDestroy) {
            if (it == t.end()) continue;  // destroying a row that is not there is no error
            if (p.table->canDestroy) {
                int e = p.table->canDestroy(t, p.index);
                if (e) {
                    (*errors)[i] = e;
                    continue;
                }
            }
            for (auto c = t.lower_bound(p.table->entry);
                 c != t.end() && StartsWith(c->first, p.table->entry);) {
                if (c->first.size() == p.table->entry.size() + 1 + p.index.size() &&
                    Sub(c->first, p.table->entry.size() + 1) == p.index)
                    c = t.erase(c);
                else
                    ++c;
            }
            if (p.table->destroyed) p.table->destroyed(t, p.index);
            continue;
        }
        if (it == t.end() || it->second.num == kNotReady || !isReady(p.table, p.index)) {
            (*errors)[i] = kInconsistentValue;
            continue;
        }
        if (v == kCreateAndGo && !go[i]) continue;
        it->second = Value::Int(v == kNotInService ? kNotInService : kActive);
    }

    // Checks over the whole resulting state.
    for (size_t i = 0; i < bs.size(); ++i) {
        const Parsed& p = ps[i];
        if ((*errors)[i] || !p.rule->consistent) continue;
        if (!t.count(bs[i].oid)) continue;  // the row went in the same request
        int e = p.rule->consistent(t, p.index);
        if (e) (*errors)[i] = e;
    }
    for (int e : *errors)
        if (e) return false;
    m_schema->Derive(t);
    *tentative = std::move(t);
    return true;
}

void Device::DefaultVlans(Store& t) const {
    const Oid table = O("1.3.6.1.4.1.32473.10.75.13.7.6.1");
    for (auto it = t.lower_bound(table); it != t.end() && StartsWith(it->first, table);) {
        if (it->first.back() != 1 || it->first.size() != table.size() + 2)
            it = t.erase(it);
        else
            ++it;
    }
    std::string all(static_cast<size_t>(m_schema->PortListBytes()), '\0');
    for (int p = 1; p <= Ports(); ++p)
        all[static_cast<size_t>(p - 1) / 8] |= static_cast<char>(0x80 >> ((p - 1) % 8));
    t[Concat(table, {1, 1})] = Value::Str("default");
    t[Concat(table, {2, 1})] = Value::Str(all);
    t[Concat(table, {3, 1})] = Value::Str(std::string(all.size(), '\0'));
    t[Concat(table, {4, 1})] = Value::Str(all);
    t[Concat(table, {5, 1})] = Value::Int(kActive);
    const Oid pvid = O("1.3.6.1.4.1.32473.10.75.13.7.7.1.1");
    for (int p = 1; p <= Ports(); ++p) t[Concat(pvid, {static_cast<uint32_t>(p)})] = Value::Gauge(1);
    t[O("1.3.6.1.4.1.32473.10.75.13.26.1.2.0")] = Value::Int(1);
}

void Device::Apply(Store&& tentative, Store* undo) {
    *undo = std::move(m_store);
    m_store = std::move(tentative);
}

void Device::Restore(Store&& undo) {
    m_store = std::move(undo);
}

void Device::Commit(const std::vector<Binding>& bs) {
    bool reboot = false, save = false, reset = false, clear = false;
    for (const Binding& b : bs) {
        if (b.oid == kReboot) reboot = true;
        if (b.oid == kSave) save = true;
        if (b.oid == Concat(kTftp, {3, 0})) StartTransfer(1);
        if (b.oid == Concat(kTftp, {7, 0})) StartTransfer(5);
        if (b.oid == O(ctl::kReset)) reset = true;
        if (b.oid == O(ctl::kClearCounters)) clear = true;
    }
    // Command objects read back 0.
    for (const Oid& o : {kReboot, kSave, O(ctl::kReset), O(ctl::kClearCounters)}) m_store[o] = Value::Int(0);
    if (save) {
        std::string error;
        if (!Save(&error)) std::fprintf(stderr, "kms-sim: %s\n", error.c_str());
    }
    if (reboot) Reboot();
    if (clear)
        for (const char* c : {ctl::kGetCount, ctl::kGetNextCount, ctl::kSetCount, ctl::kGetBulkCount})
            m_store[O(c)] = Value::Counter(0);
    if (reset) Reset();
}

void Device::StartTransfer(uint32_t base) {
    Transfer& tr = m_transfer[base == 1 ? 0 : 1];
    tr.active = true;
    tr.start = Clock::now();
    m_store[Concat(kTftp, {base + 3, 0})] = Value::Int(Knob(ctl::kTftpStartedCode));
}

void Device::RefreshLive() {
    auto cs = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - m_boot).count() / 10;
    Value up = Value::Ticks(cs & 0xffffffff);
    m_store[kSysUpTime] = up;
    m_store[kTopoTime] = up;
}

void Device::Tick() {
    auto now = Clock::now();
    for (uint32_t base : {1u, 5u}) {
        Transfer& tr = m_transfer[base == 1 ? 0 : 1];
        if (!tr.active) continue;
        auto busy = std::chrono::seconds(Knob(ctl::kTftpBusySeconds));
        auto started = std::chrono::milliseconds(Knob(ctl::kTftpStartedMs));
        Oid status = Concat(kTftp, {base + 3, 0});
        if (now - tr.start >= started + busy) {
            // Servers in 192.0.2.0/24 (TEST-NET-1) stand for unreachable ones.
            auto it = m_store.find(Concat(kTftp, {base, 0}));
            uint32_t server = it == m_store.end() ? 0 : it->second.IpHost();
            m_store[status] = Value::Int((server >> 8) == 0xc00002 ? 1 : 0);
            tr.active = false;
        } else if (now - tr.start >= started) {
            m_store[status] = Value::Int(2);
        }
    }
    if (Knob(ctl::kDynamics) == 1 && now >= m_nextDynamics) {
        Dynamics();
        m_nextDynamics = now + std::chrono::milliseconds(2000 + m_rng() % 4000);
    }
}

void Device::Dynamics() {
    // A cable on one of the ports beyond 5 comes or goes; powered devices draw a little more or less.
    int ports = Ports();
    if (ports > 5) {
        uint32_t p = 6 + m_rng() % static_cast<uint32_t>(ports - 5);
        Oid link = Concat(kCtlPort, {2, p});
        m_store[link] = Value::Int(IntIn(m_store, link) == 1 ? 2 : 1);
    }
    int64_t total = 0;
    for (int pi = 1; pi <= m_schema->Shape().poePorts; ++pi) {
        uint32_t p = static_cast<uint32_t>(pi);
        Oid draw = Concat(kCtlPort, {5, p});
        auto text = m_store.find(Concat(kCtlPort, {4, p}));
        if (text == m_store.end() || text->second.bytes != "POWER ON") continue;
        int64_t w = IntIn(m_store, draw) + static_cast<int64_t>(m_rng() % 3) - 1;
        w = std::max<int64_t>(1, std::min<int64_t>(15, w));
        m_store[draw] = Value::Int(w);
        total += w;
    }
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.1f", 65.0 - static_cast<double>(total) - (m_rng() % 10) / 10.0);
    m_store[O(ctl::kPowerValue)] = Value::Str(buf);
    m_schema->Derive(m_store);
}

void Device::CountRequest(int pduCommand) {
    const char* which = nullptr;
    switch (pduCommand) {
        case 0xA0:
            which = ctl::kGetCount;
            break;
        case 0xA1:
            which = ctl::kGetNextCount;
            break;
        case 0xA3:
            which = ctl::kSetCount;
            break;
        case 0xA5:
            which = ctl::kGetBulkCount;
            break;
        default:
            return;
    }
    static std::map<const char*, Oid> parsed;
    auto it = parsed.find(which);
    if (it == parsed.end()) it = parsed.emplace(which, O(which)).first;
    Value& v = m_store[it->second];
    v = Value::Counter((v.num + 1) & 0xffffffff);
}

int64_t Device::Knob(const char* oidText) const {
    // Asked on every request: keep the parsed OIDs (the texts are the constants of control_oids.h).
    static std::map<const char*, Oid> parsed;
    auto it = parsed.find(oidText);
    if (it == parsed.end()) it = parsed.emplace(oidText, O(oidText)).first;
    return IntIn(m_store, it->second);
}

void Device::Reset() {
    m_store = m_initial;
    m_saved = ConfigOf(m_initial);
    m_transfer[0] = m_transfer[1] = Transfer{};
    m_boot = Clock::now();
    RefreshLive();
}

void Device::Reboot() {
    ReplaceConfig(m_store, m_saved);
    for (uint32_t base : {1u, 5u}) m_store[Concat(kTftp, {base + 3, 0})] = Value::Int(0);
    m_transfer[0] = m_transfer[1] = Transfer{};
    Value& n = m_store[O(ctl::kRebootCount)];
    n = Value::Counter((n.num + 1) & 0xffffffff);
    m_schema->Derive(m_store);
    m_boot = Clock::now();
    RefreshLive();
}

bool Device::Save(std::string* error) {
    m_saved = ConfigOf(m_store);
    Value& n = m_store[O(ctl::kSaveCount)];
    n = Value::Counter((n.num + 1) & 0xffffffff);
    if (m_options.statePath.empty()) return true;
    return SaveSnmprec(m_options.statePath, m_saved, error);
}

}  // namespace kmssim
