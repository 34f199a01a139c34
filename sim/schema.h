// What the simulated switch lets a manager write: the type and value rules of each writable object,
// the row rules of its tables, and the checks that look at the whole device state at once.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "sim/value.h"

namespace kmssim {

// SNMPv2 error statuses (RFC 3416); the agent maps them to SNMPv1 for v1 requests.
enum SnmpErr : int {
    kNoError = 0,
    kGenErr = 5,
    kNoAccess = 6,
    kWrongType = 7,
    kWrongValue = 10,
    kNoCreation = 11,
    kInconsistentValue = 12,
    kResourceUnavailable = 13,
    kNotWritable = 17,
};

enum RowStatus : int64_t {
    kActive = 1,
    kNotInService = 2,
    kNotReady = 3,
    kCreateAndGo = 4,
    kCreateAndWait = 5,
    kDestroy = 6,
};

struct DeviceShape {
    int ports = 8;
    int poePorts = 8;  // ports 1..poePorts have PoE
    // Medium code of each port (index port - 1): 0 copper 1000M, 1 copper without 1000M,
    // 3 fiber with a 100Base-x module, 4 fiber with a 1000Base-x module.
    std::vector<int> medium = std::vector<int>(8, 0);
    int Medium(int port) const { return port >= 1 && port <= int(medium.size()) ? medium[port - 1] : 0; }
    int TopSpeed(int port) const { return Medium(port) == 1 || Medium(port) == 3 ? 100 : 1000; }
};

struct Rule {
    Oid oid;  // scalar without ".0", or a column
    bool scalar = false;
    Type type = Type::Integer;
    bool config = true;  // part of the saved configuration
    // Value check of one binding alone (wrongValue when false). index is empty for scalars.
    std::function<bool(const Value&, const Oid& index)> valid;
    // Check against the whole state after every binding of the request applied; returns an error
    // status or kNoError.
    std::function<int(const Store&, const Oid& index)> consistent;
    // Follow-up changes a write causes in the device state (applied while the request is prepared).
    std::function<void(Store&, const Oid& index)> after;
};

struct TableRule {
    Oid entry;
    int statusColumn = 0;                              // 0 for tables with a fixed set of rows
    size_t maxRows = 0;                                // counted rows (see countRow) that may exist at once
    std::function<bool(const Oid& index)> validIndex;  // rows that may be created
    std::function<void(Store&, const Oid& index)> create;       // default columns of a new row
    std::function<bool(const Store&, const Oid& index)> ready;  // may become active
    std::function<bool(const Oid& index)> countRow;             // counts towards maxRows
    std::function<int(const Store&, const Oid& index)> canDestroy;
    std::function<void(Store&, const Oid& index)> destroyed;  // follow-up after a row went
};

class Schema {
public:
    explicit Schema(const DeviceShape& shape);

    // The rule whose object the binding names (scalar instance .0 or a column instance).
    const Rule* Find(const Oid& oid, Oid* index) const;
    const TableRule* TableOf(const Oid& column) const;
    // Whether the OID names an instance of an object the device has (a writable object, or a column
    // of a table whose rows come and go), existing or not.
    bool Knows(const Oid& oid) const;
    // Whether the OID belongs to the saved configuration (writable objects and whole rows of
    // tables that can be created).
    bool IsConfig(const Oid& oid) const;
    // Recomputes every value derived from others (link, speed, PoE status, path costs...).
    void Derive(Store& s) const;
    const DeviceShape& Shape() const { return m_shape; }

    int PortListBytes() const { return m_shape.ports <= 32 ? 4 : ((m_shape.ports + 63) / 64) * 8; }

private:
    void AddRule(Rule r);
    void AddTable(TableRule t);
    void BuildSystem();
    void BuildPorts();
    void BuildVlans();
    void BuildTrunks();
    void BuildPoe();
    void BuildSecurity();
    void BuildSecurityFilters();  // schema_filters.cpp
    void BuildAgentTables();
    void BuildMisc();
    void BuildControl();
    void BuildLldp();  // schema_lldp.cpp
    // lldpRemTable and the local chassis ID from the control subtree (schema_lldp.cpp).
    static void DeriveLldp(Store& s);
    void BuildRefusals();
    void BuildTrunkPort();  // schema_trunk_port.cpp

    DeviceShape m_shape;
    std::map<Oid, Rule> m_rules;
    std::map<Oid, TableRule> m_tables;
    std::vector<Oid> m_configPrefixes;
    std::function<bool(const Value&, const Oid&)> m_portListRule;
};

// Helpers shared with the device.
Oid O(const char* text);
std::string PortBits(const std::string& list, int ports);  // normalised port list
bool PortInList(const std::string& list, int port);
int PortCountIn(const std::string& list);
bool IsValidName(const std::string& s);
bool Utf8Length(const std::string& s, size_t* chars);

}  // namespace kmssim
