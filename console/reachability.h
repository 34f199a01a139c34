#pragma once
// Reachability of the listed devices: one get of sysUpTime.0 per device on a period, all in flight at
// once from one worker thread (MultiRequester). A change of state is signalled as soon as the answer
// (or its absence) is known and kept in a short event log per device, in memory.

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QMetaType>
#include <QObject>
#include <QString>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "snmp/snmp_engine.h"
#include "snmp/snmp_failure.h"

class MultiRequester;

enum class Reachability { Unknown, Up, NoAnswer, AuthFailure };

struct DeviceStatus {
    Reachability state = Reachability::Unknown;
    SnmpFailure failure = SnmpFailure::None;  // the switch's reason, for AuthFailure
    QDateTime lastSeen;                       // the last answer (invalid: never)
    qint64 uptimeTicks = -1;                  // sysUpTime.0 of the last answer, in hundredths of a second
    QDateTime since;                          // when the state last changed
    // "up", "no answer", or "authentication failure: " and the report's reason.
    QString text() const;
};
Q_DECLARE_METATYPE(DeviceStatus)

struct StatusEvent {
    QDateTime time;
    Reachability state = Reachability::Unknown;
    QString text;  // DeviceStatus::text() of the new state
};

// "3 d 04:05:06" for sysUpTime hundredths; empty for a negative value.
QString UptimeText(qint64 ticks);

struct PollTarget {
    QString id;  // the device's id
    EngineTarget target;
};

class ReachabilityMonitor : public QObject {
    Q_OBJECT
public:
    explicit ReachabilityMonitor(QObject* parent = nullptr);
    ~ReachabilityMonitor() override;  // stops the worker

    static constexpr int kDefaultPeriodMs = 30000;
    static constexpr int kEventLogLength = 32;

    // Settable at any time; a new period applies from the next poll.
    void setPeriod(int ms);
    int period() const;
    void setTimeout(int ms, int retries);
    // Replaces the devices polled; the statuses and logs of ids no longer listed are dropped.
    void setTargets(const QList<PollTarget>& targets);
    void start();  // polls at once, then every period
    void stop();
    void pollNow();

    DeviceStatus status(const QString& id) const;
    QList<StatusEvent> events(const QString& id) const;  // oldest first, at most kEventLogLength

signals:
    // Queued to the receiver's thread. statusChanged: the state (or the reason of a failure) changed;
    // polled: every poll's outcome (last seen and uptime move on).
    void statusChanged(const QString& id, const DeviceStatus& status);
    void polled(const QString& id, const DeviceStatus& status);
    void cycleFinished();

private:
    struct Entry {
        DeviceStatus status;
        std::deque<StatusEvent> log;
    };
    void Loop();
    void Record(const QString& id, SnmpFailure failure, qint64 uptime);

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    QList<PollTarget> m_targets;
    QHash<QString, Entry> m_entries;
    int m_periodMs = kDefaultPeriodMs;
    int m_timeoutMs = 2000;
    int m_retries = 1;
    bool m_pollRequested = false;
    bool m_quit = false;
    std::unique_ptr<MultiRequester> m_requester;
    std::thread m_thread;
};
