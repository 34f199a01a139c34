#pragma once
// The firmware and configuration transfer as one state machine, without widgets or SNMP: the dialog
// carries out the requests the machine asks for (signals) and hands the answers back (methods), and
// shows what the machine reports. Its timers run on the thread it lives on; Stop() ends every timer and
// makes later answers fall on deaf ears.
//
//   Idle -> SettingFile (address and file, 10 s) -> SettingOperation (15 s; progress, the first
//   status poll and the overall time-out armed) -> Polling (before and after the transfer reported
//   "started"; the overall time-out armed afresh at the first report) -> Finished

#include <QObject>
#include <QString>
#include <QTimer>
#include <string>

#include "dialogs/common/choices.h"

// "Operation Type:" entries with the operation each writes, and "FileType:" entries with the arc under
// .13.3 where the kind's objects start (address, file name, operation and status follow in that order).
inline constexpr Choice kTftpOperationChoices[] = {{"Upgrade", 1}, {"Backup", 2}};
inline constexpr Choice kTftpFileTypeChoices[] = {{"Configuration", 5}, {"Firmware", 1}};

class CTransferMachine : public QObject {
    Q_OBJECT
public:
    enum class Kind { Firmware, Configuration };
    enum class State { Idle, SettingFile, SettingOperation, Polling, Finished };

    // Request time-outs the dialog gives its sessions (before scaling).
    static constexpr int kFileSetTimeoutMs = 10000;
    static constexpr int kOperationSetTimeoutMs = 15000;
    static constexpr int kStatusTimeoutMs = 6000;

    explicit CTransferMachine(QObject* parent = nullptr);

    // Every period and time-out is multiplied by `scale` (tests run the machine fast).
    void SetTimeScale(double scale) { m_scale = scale; }
    // A period in milliseconds as the machine uses it (scaled, at least 1).
    int Scaled(int ms) const;

    // The user's checks passed: ask for the address and file set.
    void Start(Kind kind);
    // Answers: 0 success, -1 no answer in time, anything else an error.
    void FileSetDone(int status);
    void OperationSetDone(int status);
    // The status poll's answer: `status` as above, `value` the status object's text when 0.
    void StatusAnswer(int status, const std::string& value);
    // The dialog goes: every timer stops and later answers are dropped.
    void Stop();

    State GetState() const { return m_state; }
    Kind GetKind() const { return m_kind; }
    int Progress() const { return m_progress; }
    bool Started() const { return m_started; }

signals:
    void SendFileSet();
    void SendOperationSet();
    void SendStatusGet();
    void ProgressChanged(int value);
    // One message on every way the transfer ends.
    void Finished(const QString& message);
    // False while a transfer runs; true again shortly after it finished. Close is not among them: the
    // dialog can always be closed, which ends the transfer's timers.
    void ControlsEnabled(bool enabled);

private:
    void Finish(const QString& message);
    void PollAfter(int ms);
    void ArmOverallTimeout();
    void OnProgressStep();
    void OnOverallTimeout();

    State m_state = State::Idle;
    Kind m_kind = Kind::Firmware;
    int m_progress = 0;
    bool m_started = false;
    bool m_reportedStart = false;  // the switch has answered 3 or 4
    int m_timeouts = 0;
    double m_scale = 1.0;
    QTimer m_poll, m_progressTimer, m_overall, m_end;
};
