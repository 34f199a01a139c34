#pragma once
// CPanelDeviceThread: the background poll of the main window. Every cycle it reads the fan state, the PoE
// power value and walks the port status, and on PoE models then reads the PoE ports' measurements, unless
// a dialog is open; then it pauses for a number of periods.
//
// The thread shares only reference-counted state with its creator, so when it does not end within the
// close's grace time it can be abandoned (detached) cleanly: it finishes its current request on its own,
// sees the stop request and ends, and the last reference frees the state.

#include <memory>

#include "polling/panel_status.h"

struct PollTiming {
    int firstSleepMs = 500;       // at the start of every cycle
    int periodMsV1 = 500;         // one period with SNMPv1 (and SNMPv2c)
    int periodMsOther = 1000;     // one period with any other version
    int pausePeriods = 10;        // after a cycle
    int skippedPausePeriods = 2;  // after a cycle whose PoE read was skipped
};

class CPanelDeviceThread {
public:
    // Created suspended: nothing runs until Resume.
    explicit CPanelDeviceThread(PollTiming timing = {});
    ~CPanelDeviceThread();
    CPanelDeviceThread(const CPanelDeviceThread&) = delete;
    CPanelDeviceThread& operator=(const CPanelDeviceThread&) = delete;

    void SetOwner(std::shared_ptr<CPanelStatus> owner);  // m_pOwner
    void Resume();

    // Sets the stop request and waits up to graceMs for the thread-exit event. True when the thread ended
    // in time (it has been joined); false when it was abandoned and ends on its own later.
    bool Stop(int graceMs);

    bool Running() const;
    // The run function's result once it has ended (-1 without an owner, 0 after a stop); -2 while running.
    int Result() const;
    // Cycles that polled the device (not skipped for an open dialog).
    int PolledCycles() const;

    struct Shared;

private:
    static int Run(const std::shared_ptr<Shared>& s, const PollTiming& timing);
    std::shared_ptr<Shared> m_shared;
    PollTiming m_timing;
    bool m_started = false;
};
