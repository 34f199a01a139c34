#include "sim/agent.h"

// Net-SNMP wants its configuration header first.
// clang-format off
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
#include <net-snmp/agent/net-snmp-agent-includes.h>
#include <net-snmp/agent/agent_callbacks.h>
#include <net-snmp/library/snmpusm.h>
#include <net-snmp/library/vacm.h>
// clang-format on

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <deque>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include "sim/control_oids.h"
#include "sim/misbehaviour.h"

namespace kmssim {

namespace {

using Clock = std::chrono::steady_clock;

enum class Access { None, Read, Write, Control };

struct SetContext {
    std::vector<Binding> bindings;
    std::vector<long> indexes;  // varbind index of each binding
    std::map<long, int> errors;
    bool prepared = false, applied = false, committed = false;
    Store tentative, undo;
};

struct AgentState {
    Device* device = nullptr;
    AgentOptions options;
    Oid controlRoot;
    std::map<void*, SetContext> sets;  // keyed by the agent session of the request
    std::deque<long> delayed;          // transaction ids already delayed once
    uint64_t dropCounter = 0;
    int64_t dropEvery = 0;
    bool silent = false;
    std::unique_ptr<Misbehaviour> misbehave;
    int (*transportSend)(netsnmp_transport*, const void*, int, void**, int*) = nullptr;
    bool silentForever = false;
    Clock::time_point silentUntil;
};

AgentState* g = nullptr;

bool InControl(const Oid& name) {
    return StartsWith(name, g->controlRoot);
}

bool InControl(const oid* name, size_t len) {
    const Oid& root = g->controlRoot;
    if (len < root.size()) return false;
    for (size_t i = 0; i < root.size(); ++i)
        if (name[i] != root[i]) return false;
    return true;
}

bool ControlOnly(netsnmp_pdu* pdu) {
    if (!pdu->variables) return false;
    for (netsnmp_variable_list* v = pdu->variables; v; v = v->next_variable)
        if (!InControl(v->name, v->name_length)) return false;
    return true;
}

// A request that reads either TFTP status object (firmware .13.3.4.0, configuration .13.3.8.0).
bool AsksTftpStatus(netsnmp_pdu* pdu) {
    static const Oid firmware = O("1.3.6.1.4.1.32473.10.75.13.3.4.0");
    static const Oid config = O("1.3.6.1.4.1.32473.10.75.13.3.8.0");
    for (netsnmp_variable_list* v = pdu->variables; v; v = v->next_variable) {
        Oid name(v->name, v->name + v->name_length);
        if (name == firmware || name == config) return true;
    }
    return false;
}

Access AccessOf(netsnmp_pdu* pdu) {
    if (pdu->version == SNMP_VERSION_1 || pdu->version == SNMP_VERSION_2c) {
        std::string community(reinterpret_cast<const char*>(pdu->community), pdu->community_len);
        if (community == g->options.writeCommunity) return Access::Control;
        if (community == g->options.readCommunity) return Access::Read;
        return Access::None;
    }
    if (pdu->version == SNMP_VERSION_3 && pdu->securityModel == SNMP_SEC_MODEL_USM && pdu->securityName) {
        std::string name(pdu->securityName, pdu->securityNameLen);
        for (const UserSpec& u : g->options.users) {
            if (u.name != name) continue;
            // A user is served at its own security level or above, never below.
            if (pdu->securityLevel < u.Level()) return Access::None;
            return u.control ? Access::Control : u.write ? Access::Write : Access::Read;
        }
    }
    return Access::None;
}

void UpdateSilence() {
    // Counting for "every Nth" starts again whenever N changes.
    int64_t every = g->device->Knob(ctl::kDropEvery);
    if (every != g->dropEvery) {
        g->dropEvery = every;
        g->dropCounter = 0;
    }
    int64_t s = g->device->Knob(ctl::kSilentSeconds);
    g->silent = s != 0;
    g->silentForever = s < 0;
    if (s > 0) g->silentUntil = Clock::now() + std::chrono::seconds(s);
}

// Called once per incoming request before any handler: who is asking, the request counters, and
// the test knobs that drop requests.
int AccessCheck(int, int, void* serverarg, void*) {
    auto* vp = static_cast<view_parameters*>(serverarg);
    netsnmp_pdu* pdu = vp->pdu;
    g->misbehave->Arm(false);
    if (AccessOf(pdu) == Access::None) {
        vp->errorcode = VACM_NOSECNAME;  // v1/v2c: dropped; v3: authorizationError
        return SNMP_ERR_NOERROR;
    }
    g->device->SetKnob(ctl::kEngineBoots, static_cast<int64_t>(snmpv3_local_snmpEngineBoots()));
    if (!ControlOnly(pdu)) {
        g->device->CountRequest(pdu->command);
        if (g->silent) {
            vp->errorcode = VACM_NOSUCHCONTEXT;  // dropped without an answer
            return SNMP_ERR_NOERROR;
        }
        if (g->device->Knob(ctl::kTftpStatusSilent) == 1 && AsksTftpStatus(pdu)) {
            vp->errorcode = VACM_NOSUCHCONTEXT;
            return SNMP_ERR_NOERROR;
        }
        int64_t every = g->device->Knob(ctl::kDropEvery);
        if ((every > 0 && ++g->dropCounter % static_cast<uint64_t>(every) == 0) ||
            g->misbehave->LoseRequest() ||
            (pdu->command == SNMP_MSG_GETBULK && g->device->Knob(ctl::kBulkRefusal) == 1)) {
            vp->errorcode = VACM_NOSUCHCONTEXT;
            return SNMP_ERR_NOERROR;
        }
        g->misbehave->Arm(true);
    }
    g->device->RefreshLive();
    vp->errorcode = VACM_SUCCESS;
    return SNMP_ERR_NOERROR;
}

// Every object the handlers serve is in view for whoever passed AccessCheck; the handlers hide the
// control subtree themselves.
int InView(int, int, void* serverarg, void*) {
    static_cast<view_parameters*>(serverarg)->errorcode = VACM_SUCCESS;
    return SNMP_ERR_NOERROR;
}

void SetVar(netsnmp_variable_list* vb, const Value& v) {
    switch (v.type) {
        case Type::Integer: {
            long n = static_cast<long>(v.num);
            snmp_set_var_typed_value(vb, ASN_INTEGER, &n, sizeof n);
            break;
        }
        case Type::Counter32:
        case Type::Gauge32:
        case Type::TimeTicks: {
            u_long n = static_cast<u_long>(v.num);
            snmp_set_var_typed_value(vb, static_cast<u_char>(v.type), &n, sizeof n);
            break;
        }
        case Type::Octets:
        case Type::IpAddress:
            snmp_set_var_typed_value(vb, static_cast<u_char>(v.type), v.bytes.data(), v.bytes.size());
            break;
        case Type::ObjectId: {
            std::vector<oid> o(v.oid.begin(), v.oid.end());
            snmp_set_var_typed_value(vb, ASN_OBJECT_ID, o.data(), o.size() * sizeof(oid));
            break;
        }
        case Type::Null:
            snmp_set_var_typed_value(vb, ASN_NULL, nullptr, 0);
            break;
    }
}

Value ValueOf(const netsnmp_variable_list* vb) {
    Value v;
    switch (vb->type) {
        case ASN_INTEGER:
            v = Value::Int(*vb->val.integer);
            break;
        case ASN_COUNTER:
        case ASN_GAUGE:
        case ASN_TIMETICKS:
            v.type = static_cast<Type>(vb->type);
            v.num = static_cast<int64_t>(static_cast<uint32_t>(*vb->val.integer));
            break;
        case ASN_OCTET_STR:
            v = Value::Str(std::string(reinterpret_cast<const char*>(vb->val.string), vb->val_len));
            break;
        case ASN_IPADDRESS:
            v.type = Type::IpAddress;
            v.bytes.assign(reinterpret_cast<const char*>(vb->val.string), vb->val_len);
            if (v.bytes.size() != 4) v.type = Type::Null;  // malformed: refused as the wrong type
            break;
        case ASN_OBJECT_ID:
            v = Value::ObjId(Oid(vb->val.objid, vb->val.objid + vb->val_len / sizeof(oid)));
            break;
        default:
            v.type = Type::Null;  // Counter64, Opaque, NULL...: never what a writable object takes
            break;
    }
    return v;
}

void SetEngineBoots(int64_t boots);
// One binding as the journal shows it: INTEGER as decimal, other numbers with a type letter, octet
// strings in double quotes when every byte is printable and as 0x-hex otherwise.
std::string JournalValue(const Value& v) {
    switch (v.type) {
        case Type::Integer:
            return std::to_string(v.num);
        case Type::Gauge32:
            return "u" + std::to_string(v.num);
        case Type::Counter32:
            return "c" + std::to_string(v.num);
        case Type::TimeTicks:
            return "t" + std::to_string(v.num);
        case Type::IpAddress: {
            uint32_t h = v.IpHost();
            return "a" + std::to_string(h >> 24) + "." + std::to_string((h >> 16) & 255) + "." +
                   std::to_string((h >> 8) & 255) + "." + std::to_string(h & 255);
        }
        case Type::ObjectId:
            return "o" + OidText(v.oid);
        case Type::Octets: {
            bool printable = true;
            for (unsigned char c : v.bytes) printable = printable && c >= 0x20 && c < 0x7f;
            std::string hex = ToHex(v.bytes);
            for (char& c : hex) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            return printable ? "\"" + v.bytes + "\"" : "0x" + hex;
        }
        case Type::Null:
            break;
    }
    return "null";
}

// Appends one line per set request that reached the device: its bindings in request order and, for a
// refused request, the error status and the binding it names. Requests that only touch the control
// subtree are test plumbing and stay out.
void Journal(const SetContext& ctx) {
    if (g->options.journalPath.empty() || ctx.bindings.empty()) return;
    std::vector<size_t> order(ctx.bindings.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](size_t a, size_t b) { return ctx.indexes[a] < ctx.indexes[b]; });
    bool control = true;
    std::string line;
    for (size_t i : order) {
        const Binding& b = ctx.bindings[i];
        control = control && InControl(b.oid);
        if (!line.empty()) line += "; ";
        line += OidText(b.oid) + "=" + JournalValue(b.value);
    }
    if (control) return;
    if (!ctx.errors.empty()) {
        auto first = ctx.errors.begin();  // lowest binding index
        line +=
            " => error " + std::to_string(first->second) + " (binding " + std::to_string(first->first) + ")";
    }
    std::ofstream out(g->options.journalPath, std::ios::app);
    out << line << "\n";
}

void ClearJournal() {
    if (!g->options.journalPath.empty()) std::ofstream(g->options.journalPath, std::ios::trunc);
}

void Process(netsnmp_handler_registration* reg, netsnmp_agent_request_info* reqinfo,
             netsnmp_request_info* requests) {
    Device& dev = *g->device;
    netsnmp_pdu* pdu = reqinfo->asp->pdu;
    Access access = AccessOf(pdu);
    Oid root(reg->rootoid, reg->rootoid + reg->rootoid_len);
    void* key = reqinfo->asp;

    switch (reqinfo->mode) {
        case MODE_GET:
            for (netsnmp_request_info* r = requests; r; r = r->next) {
                if (r->processed) continue;
                netsnmp_variable_list* vb = r->requestvb;
                Oid name(vb->name, vb->name + vb->name_length);
                const Value* v = (access != Access::Control && InControl(vb->name, vb->name_length))
                                     ? nullptr
                                     : dev.Get(name);
                if (v) {
                    SetVar(vb, *v);
                } else {
                    // noSuchInstance when the object (the OID without its last arc) exists at all.
                    Oid object(name.begin(), name.end() - (name.empty() ? 0 : 1));
                    auto next = dev.Next(object, false);
                    bool known = dev.GetSchema().Knows(name) ||
                                 (next && StartsWith(next->first, object) && !object.empty());
                    netsnmp_set_request_error(reqinfo, r, known ? SNMP_NOSUCHINSTANCE : SNMP_NOSUCHOBJECT);
                }
            }
            break;

        case MODE_GETNEXT:
            for (netsnmp_request_info* r = requests; r; r = r->next) {
                if (r->processed) continue;
                if (pdu->command == SNMP_MSG_GETBULK && dev.Knob(ctl::kBulkRefusal) == 2 &&
                    !ControlOnly(pdu)) {
                    netsnmp_set_request_error(reqinfo, r, SNMP_ERR_GENERR);
                    continue;
                }
                netsnmp_variable_list* vb = r->requestvb;
                Oid name(vb->name, vb->name + vb->name_length);
                Binding next;
                // Only answers inside this registration; otherwise the agent moves on to the next one.
                if (!g->misbehave->Next(name, r->inclusive != 0, !ControlOnly(pdu), &next)) continue;
                if (!StartsWith(next.oid, root)) continue;
                if (access != Access::Control && StartsWith(next.oid, g->controlRoot)) continue;
                std::vector<oid> o(next.oid.begin(), next.oid.end());
                snmp_set_var_objid(vb, o.data(), o.size());
                SetVar(vb, next.value);
            }
            break;

        case MODE_SET_RESERVE1: {
            SetContext& ctx = g->sets[key];
            for (netsnmp_request_info* r = requests; r; r = r->next) {
                netsnmp_variable_list* vb = r->requestvb;
                Binding b{Oid(vb->name, vb->name + vb->name_length), ValueOf(vb)};
                bool control = InControl(vb->name, vb->name_length);
                int err = SNMP_ERR_NOERROR;
                if (access == Access::Read || (control && access != Access::Control))
                    err = SNMP_ERR_NOACCESS;
                else
                    err = dev.Check(b);
                ctx.bindings.push_back(std::move(b));
                ctx.indexes.push_back(r->index);
                if (err) {
                    ctx.errors[r->index] = err;
                    netsnmp_set_request_error(reqinfo, r, err);
                }
            }
            break;
        }
        case MODE_SET_RESERVE2: {
            auto it = g->sets.find(key);
            if (it == g->sets.end()) break;
            SetContext& ctx = it->second;
            if (!ctx.prepared) {
                ctx.prepared = true;
                std::vector<int> errors;
                if (!dev.Prepare(ctx.bindings, &errors, &ctx.tentative))
                    for (size_t i = 0; i < errors.size(); ++i)
                        if (errors[i]) ctx.errors[ctx.indexes[i]] = errors[i];
            }
            for (netsnmp_request_info* r = requests; r; r = r->next) {
                auto e = ctx.errors.find(r->index);
                if (e != ctx.errors.end()) netsnmp_set_request_error(reqinfo, r, e->second);
            }
            break;
        }
        case MODE_SET_ACTION: {
            auto it = g->sets.find(key);
            if (it == g->sets.end() || it->second.applied) break;
            it->second.applied = true;
            dev.Apply(std::move(it->second.tentative), &it->second.undo);
            break;
        }
        case MODE_SET_COMMIT: {
            auto it = g->sets.find(key);
            if (it == g->sets.end()) break;
            it->second.errors.clear();
            Journal(it->second);
            std::vector<Binding> bindings = std::move(it->second.bindings);
            g->sets.erase(it);
            bool reset = false;
            for (const Binding& b : bindings) reset = reset || b.oid == O(ctl::kReset);
            dev.Commit(bindings);
            if (reset) ClearJournal();
            UpdateSilence();
            for (const Binding& b : bindings)
                if (b.oid == O(ctl::kEngineBoots)) SetEngineBoots(b.value.num);
            break;
        }
        case MODE_SET_UNDO: {
            auto it = g->sets.find(key);
            if (it == g->sets.end()) break;
            if (it->second.applied) dev.Restore(std::move(it->second.undo));
            if (it->second.errors.empty()) it->second.errors[0] = SNMP_ERR_GENERR;
            Journal(it->second);
            g->sets.erase(it);
            break;
        }
        case MODE_SET_FREE: {
            // Still here: the request was refused before it could commit.
            auto it = g->sets.find(key);
            if (it == g->sets.end()) break;
            if (it->second.errors.empty()) it->second.errors[0] = SNMP_ERR_GENERR;
            Journal(it->second);
            g->sets.erase(it);
            break;
        }
        default:
            break;
    }
}

void DelayedAnswer(unsigned int, void* clientarg) {
    netsnmp_delegated_cache* dc =
        netsnmp_handler_check_cache(static_cast<netsnmp_delegated_cache*>(clientarg));
    if (!dc) return;
    for (netsnmp_request_info* r = dc->requests; r; r = r->next) r->delegated = 0;
    g->misbehave->Arm(true);  // only requests beyond the control subtree are held back
    if (dc->reqinfo->mode == MODE_GETBULK) {
        // Held back inside the bulk-to-next helper, which has already put the bulk mode back: answer
        // as get-next and let the helper's fix-up prepare the next repetitions, as it would have.
        dc->reqinfo->mode = MODE_GETNEXT;
        Process(dc->reginfo, dc->reqinfo, dc->requests);
        dc->reqinfo->mode = MODE_GETBULK;
        netsnmp_bulk_to_next_fix_requests(dc->requests);
    } else {
        Process(dc->reginfo, dc->reqinfo, dc->requests);
    }
    netsnmp_free_delegated_cache(dc);
}

int Handler(netsnmp_mib_handler* handler, netsnmp_handler_registration* reg,
            netsnmp_agent_request_info* reqinfo, netsnmp_request_info* requests) {
    int64_t delay = g->device->Knob(ctl::kDelayMs);
    int mode = reqinfo->mode;
    netsnmp_pdu* pdu = reqinfo->asp->pdu;
    if (delay > 0 && (mode == MODE_GET || mode == MODE_GETNEXT || mode == MODE_SET_RESERVE1) &&
        !ControlOnly(pdu)) {
        // Each request is held back once, however many subtrees it visits.
        long id = pdu->transid;
        bool seen = false;
        for (long d : g->delayed) seen = seen || d == id;
        if (!seen) {
            g->delayed.push_back(id);
            if (g->delayed.size() > 256) g->delayed.pop_front();
            netsnmp_delegated_cache* dc =
                netsnmp_create_delegated_cache(handler, reg, reqinfo, requests, nullptr);
            for (netsnmp_request_info* r = requests; r; r = r->next) r->delegated = 1;
            struct timeval tv;
            tv.tv_sec = delay / 1000;
            tv.tv_usec = (delay % 1000) * 1000;
            snmp_alarm_register_hr(tv, 0, DelayedAnswer, dc);
            return SNMP_ERR_NOERROR;
        }
    }
    Process(reg, reqinfo, requests);
    return SNMP_ERR_NOERROR;
}

void TickAlarm(unsigned int, void*) {
    g->device->Tick();
    if (g->silent && !g->silentForever && Clock::now() >= g->silentUntil) {
        g->silent = false;
        g->device->SetKnob(ctl::kSilentSeconds, 0);
    }
}

void SetEngineBoots(int64_t boots) {
    // The library's own reader of the persistent "engineBoots" line, which counts that start.
    std::string previous = std::to_string(boots - 1);
    engineBoots_conf("engineBoots", previous.data());
    // The agent also answers from its own entry in the engine-time cache; keep the two alike.
    u_char engine[64];
    const size_t len = snmpv3_get_engineID(engine, sizeof engine);
    set_enginetime(engine, static_cast<u_int>(len), static_cast<u_int>(snmpv3_local_snmpEngineBoots()),
                   static_cast<u_int>(snmpv3_local_snmpEngineTime()), TRUE);
    g->device->SetKnob(ctl::kEngineBoots, boots);
}

// Every answer leaves through here, so the answer modes of the misbehaviour apply to it.
int SendAnswer(netsnmp_transport* t, const void* buf, int size, void** opaque, int* olength) {
    return g->misbehave->SendAnswer(
        buf, size, [&](const void* b, int n) { return g->transportSend(t, b, n, opaque, olength); });
}

// A real agent counts its boots across restarts (RFC 3414); kept in a file of the work or state
// directory, or starting at 1 every time without one.
void CountBoot(const std::string& path) {
    long boots = 0;
    if (!path.empty()) {
        std::ifstream in(path);
        in >> boots;
    }
    boots = boots < 1 || boots >= 2147483646 ? 1 : boots + 1;
    if (!path.empty()) std::ofstream(path) << boots << "\n";
    SetEngineBoots(boots);
}

bool CreateUsers(std::string* error) {
    for (const UserSpec& u : g->options.users) {
        std::string line = u.name;
        if (!u.auth.empty()) line += " " + u.auth + " " + u.authPassword;
        if (!u.priv.empty()) line += " " + u.priv + " " + u.privPassword;
        std::vector<char> buf(line.begin(), line.end());
        buf.push_back('\0');
        usm_parse_create_usmUser("createUser", buf.data());
        struct usmUser* user = nullptr;
        u_char engine[64];
        size_t len = snmpv3_get_engineID(engine, sizeof engine);
        user = usm_get_user(engine, len, u.name.c_str());
        if (!user) {
            *error = "cannot create the SNMPv3 user " + u.name;
            return false;
        }
        // Volatile: never written to the persistent file, so a changed password takes effect.
        user->userStorageType = ST_VOLATILE;
    }
    return true;
}

}  // namespace

std::vector<UserSpec> DefaultUsers() {
    auto user = [](const char* name, const char* auth, const char* priv) {
        UserSpec u;
        u.name = name;
        u.auth = auth;
        u.priv = priv;
        if (*auth) u.authPassword = std::string(name) + "-auth";
        if (*priv) u.privPassword = std::string(name) + "-priv";
        return u;
    };
    std::vector<UserSpec> users = {
        user("kmsnone", "", ""),
        user("kmsmd5", "MD5", ""),
        user("kmssha", "SHA", ""),
        user("kmssha224", "SHA-224", ""),
        user("kmssha256", "SHA-256", ""),
        user("kmssha384", "SHA-384", ""),
        user("kmssha512", "SHA-512", ""),
        user("kmsmd5des", "MD5", "DES"),
        user("kmsshades", "SHA", "DES"),
        user("kmsshaaes", "SHA", "AES"),
        user("kmssha256aes", "SHA-256", "AES"),
    };
    UserSpec control = user("kmsctl", "SHA", "AES");
    control.control = true;
    users.push_back(control);
    return users;
}

bool LoadUsers(const std::string& path, std::vector<UserSpec>* users, std::string* error) {
    std::ifstream in(path);
    if (!in) {
        *error = "cannot open " + path;
        return false;
    }
    users->clear();
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream ls(line);
        UserSpec u;
        std::string role = "rw";
        if (!(ls >> u.name >> u.auth >> u.authPassword >> u.priv >> u.privPassword)) {
            *error = path + ": expected name auth authpass priv privpass [ro|rw|control]";
            return false;
        }
        ls >> role;
        for (std::string* f : {&u.auth, &u.authPassword, &u.priv, &u.privPassword})
            if (*f == "-") f->clear();
        u.write = role != "ro";
        u.control = role == "control";
        if ((!u.auth.empty() && u.authPassword.size() < 8) ||
            (!u.priv.empty() && u.privPassword.size() < 8) || (u.auth.empty() && !u.priv.empty())) {
            *error =
                path + ": user " + u.name + ": passwords need 8 characters; privacy needs authentication";
            return false;
        }
        users->push_back(u);
    }
    return true;
}

bool Agent::Start(const AgentOptions& options, std::string* error) {
    m_options = options;
    static AgentState state;
    g = &state;
    g->device = m_device;
    g->options = options;
    g->controlRoot = O(ctl::kRoot);
    g->misbehave = std::make_unique<Misbehaviour>(m_device);

    // Only our own directory: no system or user snmp.conf, no MIB files, no persistent state elsewhere.
    setenv("MIBS", "", 1);
    setenv("SNMPCONFPATH", options.workDir.c_str(), 1);
    setenv("SNMP_PERSISTENT_DIR", options.workDir.c_str(), 1);
    {
        std::ofstream conf(options.workDir + "/kms-sim.conf");
        conf << "exactEngineID 0x" << options.engineIdHex << "\n";
    }
    netsnmp_ds_set_string(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_PERSISTENT_DIR, options.workDir.c_str());
    netsnmp_ds_set_string(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_CONFIGURATION_DIR, options.workDir.c_str());
    netsnmp_ds_set_boolean(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_ROLE, 0);
    netsnmp_ds_set_boolean(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_DONT_LOG_TCPWRAPPERS_CONNECTS, 1);
    std::string ports = "udp:" + options.listen;
    netsnmp_ds_set_string(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_PORTS, ports.c_str());
    add_to_init_list(const_cast<char*>("-smux"));
    // Errors only: no start-up chatter, no per-packet lines.
    snmp_disable_log();
    if (netsnmp_log_handler* log = netsnmp_register_loghandler(NETSNMP_LOGHANDLER_STDERR, LOG_ERR))
        log->token = strdup("stderr");
    netsnmp_set_mib_directory("");

    init_agent("kms-sim");
    init_snmp("kms-sim");
    if (!CreateUsers(error)) return false;
    CountBoot(options.bootsFile);
    if (const char* tokens = getenv("KMS_SIM_DEBUG")) {
        // Net-SNMP debug tokens, e.g. KMS_SIM_DEBUG=snmp_agent,sess_process_packet.
        snmp_enable_stderrlog();
        debug_register_tokens(tokens);
        snmp_set_do_debugging(1);
    }

    // Runs after any other access checks the agent library has registered, and has the last word.
    netsnmp_register_callback(SNMP_CALLBACK_APPLICATION, SNMPD_CALLBACK_ACM_CHECK_INITIAL, AccessCheck,
                              nullptr, NETSNMP_CALLBACK_LOWEST_PRIORITY);
    for (int check : {SNMPD_CALLBACK_ACM_CHECK, SNMPD_CALLBACK_ACM_CHECK_SUBTREE})
        netsnmp_register_callback(SNMP_CALLBACK_APPLICATION, check, InView, nullptr,
                                  NETSNMP_CALLBACK_LOWEST_PRIORITY);
    for (const char* root : {"1.3.6.1.2.1", "1.3.6.1.4.1.32473", "1.0.8802.1.1.2"}) {
        Oid o = O(root);
        std::vector<oid> r(o.begin(), o.end());
        netsnmp_handler_registration* reg =
            netsnmp_create_handler_registration(root, Handler, r.data(), r.size(), HANDLER_CAN_RWRITE);
        if (netsnmp_register_handler(reg) != MIB_REGISTERED_OK) {
            *error = std::string("cannot register ") + root;
            return false;
        }
    }
    // The listening session, opened as the agent library's own would be but without its TCP-wrappers
    // check: that one reads /etc/hosts.allow and hosts.deny for every packet, and on loopback it
    // decides nothing. The post-parse check (request statistics) stays.
    netsnmp_transport* transport = netsnmp_transport_open_server("kms-sim", ports.c_str());
    if (!transport) {
        *error = "cannot listen on " + options.listen;
        return false;
    }
    netsnmp_session session;
    snmp_sess_init(&session);
    session.version = SNMP_DEFAULT_VERSION;
    session.callback = handle_snmp_packet;
    session.authenticator = nullptr;
    session.isAuthoritative = SNMP_SESS_AUTHORITATIVE;
    g->transportSend = transport->f_send;
    transport->f_send = SendAnswer;
    if (!snmp_add(&session, transport, nullptr, netsnmp_agent_check_parse)) {
        *error = "cannot listen on " + options.listen;
        return false;
    }
    struct timeval period = {0, 100000};
    snmp_alarm_register_hr(period, SA_REPEAT, TickAlarm, nullptr);
    return true;
}

void Agent::Run(volatile std::sig_atomic_t* stop, volatile std::sig_atomic_t* resume) {
    while (!*stop) {
        if (*resume) {
            *resume = 0;
            g->silent = false;
            g->device->SetKnob(ctl::kSilentSeconds, 0);
        }
        agent_check_and_process(1);
    }
}

void Agent::Stop() {
    snmp_shutdown("kms-sim");
}

}  // namespace kmssim
