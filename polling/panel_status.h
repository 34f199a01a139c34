#pragma once
// CPanelStatus: the main window's status fields and the four sessions the poll uses, shared between the
// polling thread (fan and power reads, walk start), the SNMP worker that runs the walk callback, and the
// user-interface thread (paint, blink). Every field that more than one thread touches is atomic or sits
// behind a mutex. The window holds it by shared_ptr, and so does the polling thread, so a thread that is
// abandoned at close never runs on freed memory.

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/module_settings.h"
#include "polling/status_derivation.h"
#include "snmp/common_snmp.h"

// Objects the poll reads.
inline constexpr const char* kFanStateOid = "1.3.6.1.4.1.32473.10.75.13.1.15.1";
inline constexpr const char* kPoePowerOid = "1.3.6.1.4.1.32473.10.75.13.22.6";
inline constexpr const char* kIfTypeOid = "1.3.6.1.2.1.2.2.1.3";
inline constexpr const char* kIfSpeedOid = "1.3.6.1.2.1.2.2.1.5";
inline constexpr const char* kIfAdminStatusOid = "1.3.6.1.2.1.2.2.1.7";
inline constexpr const char* kIfOperStatusOid = "1.3.6.1.2.1.2.2.1.8";
inline constexpr const char* kVendorPortOid = "1.3.6.1.4.1.32473.10.75.13.1.13.1.7";
inline constexpr const char* kPoePortStatusOid = "1.3.6.1.4.1.32473.10.75.13.22.1.1.13";
// The PoE measurement columns (index .1.port): power in W, voltage in V, current in mA.
inline constexpr const char* kPoeWattsOid = "1.3.6.1.4.1.32473.10.75.13.22.1.1.9";
inline constexpr const char* kPoeVoltsOid = "1.3.6.1.4.1.32473.10.75.13.22.1.1.10";
inline constexpr const char* kPoeMilliampsOid = "1.3.6.1.4.1.32473.10.75.13.22.1.1.11";
// Bindings under this arc are not part of the device's status.
inline constexpr const char* kIgnoredArc = "1.3.6.1.4.1.32473.7777.1.";

// What the window does with a walk's outcome. Called on the SNMP worker: implementations copy the values
// and post them to the user-interface thread; they never block on it.
class IPanelStatusView {
public:
    virtual ~IPanelStatusView() = default;
    virtual void OnWalkFinished(const std::vector<PortLinkResult>& links,
                                const std::vector<PortPoeResult>& poe) = 0;
    // `failure`: why the walk brought no answer (no answer at all, or the agent's refusal).
    virtual void OnWalkFailed(SnmpFailure failure) = 0;
    // The measurements of the PoE ports the last walk found (empty when the read failed).
    virtual void OnPoeMeasured(const std::vector<PoeMeasurement>&) {}
};

// The poll's configuration, fixed before the thread starts.
struct PanelPollConfig {
    std::string deviceName;
    std::string snmpVersion = "1";
    int portCount = 28;
    bool allGiga = false;
    bool hasFan = false;
    unsigned long fanTimeoutMs = 500;
    unsigned long poeTimeoutMs = 500;
    unsigned long walkTimeoutMs = 1000;  // each step of the status walk
};

class CPanelStatus {
public:
    CPanelStatus(const PanelPollConfig& config, const ModuleSettings& settings = Settings());
    ~CPanelStatus();
    CPanelStatus(const CPanelStatus&) = delete;
    CPanelStatus& operator=(const CPanelStatus&) = delete;

    const PanelPollConfig& Config() const { return m_config; }

    // The window attaches itself while it lives; null detaches (waits for a notification in progress).
    void SetView(IPanelStatusView* view);

    // Fan read: get with 500 ms; "1" normal, anything else "2"; a failure leaves the previous state.
    void GetFanStatus();
    // PoE power read, skipped (-1) while a walk is in flight for up to three cycles in a row; 0 otherwise.
    int GetPoePower();
    // Starts the six-column status walk; false when it could not be sent.
    bool GetDevStatus();
    // Reads power, voltage and current of the ports the last finished walk found with PoE, with gets of
    // at most kMeasuredPortsPerGet ports each, and hands them to the view.
    void GetPoeMeasurements();
    static constexpr int kMeasuredPortsPerGet = 8;

    CCommonSNMP& FanSession() { return *m_fan; }
    CCommonSNMP& PoeSession() { return *m_poe; }
    CCommonSNMP& DevStatSession() { return *m_devStat; }
    CCommonSNMP& PoeStatSession() { return *m_poeStat; }

    // Shared fields.
    std::atomic<bool> dialogOpen{false};
    std::atomic<bool> powMax{false};  // m_BIsPowMax
    std::atomic<bool> walkInFlight{false};
    std::atomic<char> fanStatus{'1'};  // '1' normal, '2' fault
    std::array<std::atomic<unsigned char>, kMaxPorts> linkStatus{};
    std::array<std::atomic<unsigned char>, kMaxPorts> poeStatus{};  // m_uPOEPortStatus
    std::array<std::atomic<int>, kMaxPorts> vendorValue{};
    // Completed walks (finished or failed), for tests and the snapshot.
    std::atomic<int> walksCompleted{0};

    void SetAllCodesUnknown();
    StatusLists ListsCopy() const;
    std::vector<PoeMeasurement> MeasurementsCopy() const;

    // The walk callback (runs on the session's worker).
    unsigned WalkCallback(std::unique_ptr<CSnmp> response, int requestId, int status);

private:
    void FinishWalk();
    void FailWalk(SnmpFailure failure);
    int StartWalkStep();

    // The session may deliver an answer on its worker while this object is being destroyed: callbacks
    // reach the object only through this guard, which the destructor clears first.
    struct CallbackGuard {
        std::recursive_mutex mutex;
        CPanelStatus* self = nullptr;
    };
    std::shared_ptr<CallbackGuard> m_guard;

    PanelPollConfig m_config;
    int m_skipCounter = 0;  // polling thread only
    mutable std::mutex m_listsMutex;
    StatusLists m_lists;
    std::vector<int> m_poePorts;                 // ports the last finished walk found with PoE
    std::vector<PoeMeasurement> m_measurements;  // of those ports, from the last read
    std::mutex m_viewMutex;
    IPanelStatusView* m_view = nullptr;
    // Sessions last: they are closed and destroyed first, so no callback outlives the fields above.
    std::unique_ptr<CCommonSNMP> m_fan;
    std::unique_ptr<CCommonSNMP> m_poe;
    std::unique_ptr<CCommonSNMP> m_devStat;
    std::unique_ptr<CCommonSNMP> m_poeStat;
};
