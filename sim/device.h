// The simulated switch: its state as one ordered store of typed values, the set transaction that
// changes it atomically, and what the switch does by itself (up-time, transfers, reboot, save).
#pragma once

#include <chrono>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "sim/schema.h"
#include "sim/value.h"

namespace kmssim {

struct DeviceOptions {
    std::string dataDir;        // folder of the kms-7300-*.snmprec files, or one recording file
    std::string stockDataDir;   // the models' own files, for what a recording lacks (default: dataDir)
    std::string model = "08E";  // "08E" or "28E"
    std::string statePath;      // saved configuration, loaded at start and written by "save"
    bool dynamics = false;
    std::string engineId;  // the agent's engine ID (bytes), shown by the agent settings
};

struct Binding {
    Oid oid;
    Value value;
};

class Device {
public:
    using Clock = std::chrono::steady_clock;

    bool Init(const DeviceOptions& options, std::string* error);
    const Schema& GetSchema() const { return *m_schema; }
    const Store& State() const { return m_store; }
    int Ports() const { return m_schema->Shape().ports; }
    const std::string& ModelName() const { return m_modelName; }

    const Value* Get(const Oid& oid) const;
    // The first entry after `from` (at or after it when inclusive), or nullptr.
    const std::pair<const Oid, Value>* Next(const Oid& from, bool inclusive) const;

    // Set transaction. Check: one binding alone (type, value, writability). Prepare: every binding
    // of the request applied to a copy of the state, then the checks that look at the whole state;
    // errors[i] receives the status of binding i. Apply swaps the prepared state in, Restore undoes
    // it, Commit runs what the device does once a write has been accepted.
    int Check(const Binding& b) const;
    bool Prepare(const std::vector<Binding>& bindings, std::vector<int>* errors, Store* tentative) const;
    void Apply(Store&& tentative, Store* undo);
    void Restore(Store&& undo);
    void Commit(const std::vector<Binding>& bindings);

    void RefreshLive();  // sysUpTime and other clocks
    void Tick();         // transfers in progress, dynamics
    void CountRequest(int pduCommand);
    int64_t Knob(const char* oidText) const;
    void SetKnob(const char* oidText, int64_t value) { m_store[O(oidText)] = Value::Int(value); }

    void Reset();
    void Reboot();
    bool Save(std::string* error);

private:
    Store ConfigOf(const Store& s) const;
    void ReplaceConfig(Store& s, const Store& config) const;
    void StartTransfer(uint32_t base);
    void DefaultVlans(Store& t) const;
    void Dynamics();
    // A write the test knob kRefuseWritesUnder makes the device refuse.
    bool Refused(const Oid& oid) const;

    std::unique_ptr<Schema> m_schema;
    std::string m_modelName;
    DeviceOptions m_options;
    Store m_store;
    Store m_initial;
    Store m_saved;
    Clock::time_point m_boot;
    struct Transfer {
        bool active = false;
        Clock::time_point start;
    } m_transfer[2];  // firmware (base 1), configuration (base 5)
    Clock::time_point m_nextDynamics;
    std::mt19937 m_rng{7300};
};

}  // namespace kmssim
