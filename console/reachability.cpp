#include "console/reachability.h"

#include <chrono>

#include "core/debug_out.h"
#include "snmp/multi_request.h"

namespace {
const OidArcs kSysUpTime = {1, 3, 6, 1, 2, 1, 1, 3, 0};
}

QString DeviceStatus::text() const {
    switch (state) {
        case Reachability::Up:
            return "up";
        case Reachability::NoAnswer:
            return "no answer";
        case Reachability::AuthFailure:
            return QStringLiteral("authentication failure: ") + SnmpFailureText(failure);
        case Reachability::Unknown:
            break;
    }
    return {};
}

QString UptimeText(qint64 ticks) {
    if (ticks < 0) return {};
    const qint64 s = ticks / 100;
    const QString clock = QStringLiteral("%1:%2:%3")
                              .arg((s / 3600) % 24, 2, 10, QLatin1Char('0'))
                              .arg((s / 60) % 60, 2, 10, QLatin1Char('0'))
                              .arg(s % 60, 2, 10, QLatin1Char('0'));
    return s >= 86400 ? QStringLiteral("%1 d %2").arg(s / 86400).arg(clock) : clock;
}

ReachabilityMonitor::ReachabilityMonitor(QObject* parent)
    : QObject(parent), m_requester(std::make_unique<MultiRequester>()) {
    qRegisterMetaType<DeviceStatus>();
}

ReachabilityMonitor::~ReachabilityMonitor() {
    stop();
}

void ReachabilityMonitor::setPeriod(int ms) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_periodMs = qMax(1000, ms);
    m_wake.notify_all();
}

int ReachabilityMonitor::period() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_periodMs;
}

void ReachabilityMonitor::setTimeout(int ms, int retries) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_timeoutMs = qMax(1, ms);
    m_retries = qMax(0, retries);
}

void ReachabilityMonitor::setTargets(const QList<PollTarget>& targets) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_targets = targets;
    QHash<QString, Entry> kept;
    for (const PollTarget& t : targets)
        if (m_entries.contains(t.id)) kept.insert(t.id, m_entries.value(t.id));
    m_entries.swap(kept);
}

void ReachabilityMonitor::start() {
    if (m_thread.joinable()) return;
    m_quit = false;
    m_thread = std::thread([this] { Loop(); });
}

void ReachabilityMonitor::stop() {
    if (!m_thread.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_quit = true;
        m_wake.notify_all();
    }
    m_requester->Stop();
    m_thread.join();
    // A stopped requester stays stopped: the next start gets a fresh one.
    m_requester = std::make_unique<MultiRequester>();
}

void ReachabilityMonitor::pollNow() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pollRequested = true;
    m_wake.notify_all();
}

DeviceStatus ReachabilityMonitor::status(const QString& id) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_entries.value(id).status;
}

QList<StatusEvent> ReachabilityMonitor::events(const QString& id) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_entries.constFind(id);
    return it == m_entries.constEnd() ? QList<StatusEvent>()
                                      : QList<StatusEvent>(it->log.begin(), it->log.end());
}

void ReachabilityMonitor::Record(const QString& id, SnmpFailure failure, qint64 uptime) {
    DeviceStatus status;
    bool changed = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_entries.find(id);
        if (it == m_entries.end()) {
            // Removed from the list while the poll was in flight.
            bool listed = false;
            for (const PollTarget& t : m_targets) listed = listed || t.id == id;
            if (!listed) return;
            it = m_entries.insert(id, Entry{});
        }
        DeviceStatus& s = it->status;
        const Reachability state = failure == SnmpFailure::None ? Reachability::Up
                                   : IsSecurityRefusal(failure) ? Reachability::AuthFailure
                                                                : Reachability::NoAnswer;
        const SnmpFailure reason = state == Reachability::AuthFailure ? failure : SnmpFailure::None;
        const QDateTime now = QDateTime::currentDateTime();
        if (state == Reachability::Up) {
            s.lastSeen = now;
            s.uptimeTicks = uptime;
        }
        changed = s.state != state || s.failure != reason;
        if (changed) {
            s.state = state;
            s.failure = reason;
            s.since = now;
            it->log.push_back({now, state, s.text()});
            while (it->log.size() > std::size_t(kEventLogLength)) it->log.pop_front();
        }
        status = s;
    }
    if (changed) {
        DebugOut(("reachability: " + id + " " + status.text()).toStdString());
        emit statusChanged(id, status);
    }
    emit polled(id, status);
}

void ReachabilityMonitor::Loop() {
    using Clock = std::chrono::steady_clock;
    auto nextPoll = Clock::now();
    while (true) {
        QList<PollTarget> targets;
        int timeoutMs, retries;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait_until(lock, nextPoll,
                              [&] { return m_quit || m_pollRequested || Clock::now() >= nextPoll; });
            if (m_quit) return;
            m_pollRequested = false;
            nextPoll = Clock::now() + std::chrono::milliseconds(m_periodMs);
            targets = m_targets;
            timeoutMs = m_timeoutMs;
            retries = m_retries;
        }
        qsizetype index = 0;
        auto next = [&](MultiGet& g) {
            if (index >= targets.size()) return false;
            g.tag = quint64(index);
            g.target = targets[index].target;
            g.oids = {kSysUpTime};
            g.timeoutMs = static_cast<unsigned long>(timeoutMs);
            g.retries = retries;
            ++index;
            return true;
        };
        auto done = [&](MultiGetResult&& r) {
            qint64 uptime = -1;
            for (const SnmpBinding& b : r.bindings)
                if (b.type == kSnmpTimeTicks) uptime = QString::fromStdString(b.value).toLongLong();
            // A v1 agent without the object answers with an error: it is still up.
            Record(targets[qsizetype(r.tag)].id, r.failure, uptime);
        };
        if (!m_requester->Run(next, done)) return;
        emit cycleFinished();
    }
}
