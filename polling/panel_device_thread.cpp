#include "polling/panel_device_thread.h"

#include <chrono>
#include <condition_variable>
#include <thread>

#include "core/debug_out.h"

struct CPanelDeviceThread::Shared {
    std::mutex mutex;
    std::condition_variable cv;
    bool stop = false;    // stop request
    bool exited = false;  // thread-exit event
    int result = -2;
    std::atomic<int> polledCycles{0};
    std::shared_ptr<CPanelStatus> owner;
    std::thread thread;

    // Sleeps ms unless the stop request comes first; true when stopping.
    bool SleepOrStop(int ms) {
        std::unique_lock<std::mutex> lock(mutex);
        return cv.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stop; });
    }
    bool Stopping() {
        std::lock_guard<std::mutex> lock(mutex);
        return stop;
    }
    void Exit(int rc) {
        std::lock_guard<std::mutex> lock(mutex);
        result = rc;
        exited = true;
        cv.notify_all();
    }
};

CPanelDeviceThread::CPanelDeviceThread(PollTiming timing)
    : m_shared(std::make_shared<Shared>()), m_timing(timing) {}

CPanelDeviceThread::~CPanelDeviceThread() {
    if (m_started) Stop(1000);
}

void CPanelDeviceThread::SetOwner(std::shared_ptr<CPanelStatus> owner) {
    m_shared->owner = std::move(owner);
}

void CPanelDeviceThread::Resume() {
    if (m_started) return;
    m_started = true;
    // The thread holds its own reference to the shared state: an abandoned thread keeps what it uses.
    m_shared->thread = std::thread([s = m_shared, timing = m_timing] {
        int rc = Run(s, timing);
        s->Exit(rc);
    });
}

bool CPanelDeviceThread::Stop(int graceMs) {
    if (!m_started) return true;
    m_started = false;
    bool ended;
    {
        std::unique_lock<std::mutex> lock(m_shared->mutex);
        m_shared->stop = true;
        m_shared->cv.notify_all();
        ended = m_shared->cv.wait_for(lock, std::chrono::milliseconds(graceMs),
                                      [this] { return m_shared->exited; });
    }
    if (ended) {
        m_shared->thread.join();
        return true;
    }
    // Never cancelled: the thread is left to end by itself at its next check of the stop request.
    m_shared->thread.detach();
    return false;
}

bool CPanelDeviceThread::Running() const {
    std::lock_guard<std::mutex> lock(m_shared->mutex);
    return m_started && !m_shared->exited;
}

int CPanelDeviceThread::Result() const {
    std::lock_guard<std::mutex> lock(m_shared->mutex);
    return m_shared->result;
}

int CPanelDeviceThread::PolledCycles() const {
    return m_shared->polledCycles;
}

namespace {
// The longest a walk can take: every step of PortCount + 1 timing out once and failing on its resend.
int WalkBoundMs(const PanelPollConfig& c) {
    return (c.portCount + 1) * 2 * static_cast<int>(c.walkTimeoutMs) + 1000;
}

// Waits until the walk count moves past walksBefore; false on the stop request or after boundMs.
bool WaitForWalk(CPanelDeviceThread::Shared& s, const CPanelStatus& owner, int walksBefore, int boundMs) {
    constexpr int kStepMs = 10;
    for (int waited = 0; waited < boundMs; waited += kStepMs) {
        if (owner.walksCompleted != walksBefore) return true;
        if (s.SleepOrStop(kStepMs)) return false;
    }
    return false;
}
}  // namespace

int CPanelDeviceThread::Run(const std::shared_ptr<Shared>& s, const PollTiming& timing) {
    const std::shared_ptr<CPanelStatus> owner = s->owner;
    if (!owner) return -1;
    const PanelPollConfig& config = owner->Config();
    // SNMPv2c costs the device what SNMPv1 does: it is polled as often.
    const bool communities = config.snmpVersion == "1" || config.snmpVersion == "2";
    const int period = communities ? timing.periodMsV1 : timing.periodMsOther;
    const bool hasPoe = IsPoeModel(config.deviceName);
    int keptPoeResult = 0;
    while (!s->Stopping()) {
        if (s->SleepOrStop(timing.firstSleepMs)) break;
        if (!owner->dialogOpen) {
            if (config.hasFan) owner->GetFanStatus();
            if (hasPoe) keptPoeResult = owner->GetPoePower();
            DebugOut("m_pOwner->GetDevStatus()");
            const int walksBefore = owner->walksCompleted;
            const bool walking = owner->GetDevStatus();
            // The PoE measurements are read for the ports this walk finds with PoE, once it has ended.
            if (hasPoe && walking && WaitForWalk(*s, *owner, walksBefore, WalkBoundMs(config)))
                owner->GetPoeMeasurements();
            ++s->polledCycles;
        }
        const int periods = keptPoeResult == -1 ? timing.skippedPausePeriods : timing.pausePeriods;
        for (int i = 0; i < periods; ++i)
            if (s->SleepOrStop(period)) break;
    }
    return 0;
}
