#include "dialogs/switch/transfer_machine.h"

#include <algorithm>

CTransferMachine::CTransferMachine(QObject* parent) : QObject(parent) {
    // Precise: a pause of the transfer never ends before its time.
    for (QTimer* t : {&m_poll, &m_progressTimer, &m_overall, &m_end}) {
        t->setSingleShot(true);
        t->setTimerType(Qt::PreciseTimer);
    }
    connect(&m_poll, &QTimer::timeout, this, [this] {
        if (m_state == State::SettingOperation || m_state == State::Polling) {
            m_state = State::Polling;
            emit SendStatusGet();
        }
    });
    connect(&m_progressTimer, &QTimer::timeout, this, &CTransferMachine::OnProgressStep);
    connect(&m_overall, &QTimer::timeout, this, &CTransferMachine::OnOverallTimeout);
    connect(&m_end, &QTimer::timeout, this, [this] { emit ControlsEnabled(true); });
}

int CTransferMachine::Scaled(int ms) const {
    return std::max(1, static_cast<int>(ms * m_scale));
}

void CTransferMachine::Start(Kind kind) {
    Stop();
    m_kind = kind;
    m_progress = 0;
    // A configuration transfer counts as started at once; firmware waits for the switch to say so.
    m_started = kind == Kind::Configuration;
    m_timeouts = 0;
    m_reportedStart = false;
    m_state = State::SettingFile;
    emit ProgressChanged(0);
    emit ControlsEnabled(false);
    emit SendFileSet();
}

void CTransferMachine::FileSetDone(int status) {
    if (m_state != State::SettingFile) return;
    if (status == -1) return Finish(QStringLiteral("Setting file name TimeOut !"));
    // A refusal would otherwise leave the dialog waiting with its controls disabled.
    if (status != 0) return Finish(QStringLiteral("The switch refused the TFTP server or the file name."));
    m_state = State::SettingOperation;
    emit SendOperationSet();
    m_progressTimer.start(Scaled(2000));
    PollAfter(m_kind == Kind::Firmware ? 15000 : 3000);
    // Armed now, not only once the switch reports the start: a switch whose status never answers (or
    // never moves on) must not keep the dialog waiting for ever.
    ArmOverallTimeout();
}

void CTransferMachine::OperationSetDone(int status) {
    if (m_state != State::SettingOperation && m_state != State::Polling) return;
    if (status == -1) return Finish(QStringLiteral("Setting operation TimeOut !"));
    if (status != 0) return Finish(QStringLiteral("The switch refused the transfer."));
}

void CTransferMachine::StatusAnswer(int status, const std::string& value) {
    if (m_state != State::Polling) return;
    if (status == -1) {
        if (m_started) return PollAfter(3000);
        if (++m_timeouts > 3)
            return Finish(m_kind == Kind::Firmware
                              ? QStringLiteral("Get Firmware BackUp/Upgrade status Time Out !")
                              : QStringLiteral("Get Config BackUp/Upgrade status Time Out !"));
        // Not started yet and the switch was silent: ask again rather than wait for ever.
        return PollAfter(3000);
    }
    m_timeouts = 0;
    if (status != 0) return Finish(QStringLiteral("Get Info Fail !"));
    if (value == "0") {
        m_progress = 99;
        emit ProgressChanged(99);
        return Finish(QStringLiteral("Success !"));
    }
    if (value == "1")
        return Finish(m_kind == Kind::Firmware ? QStringLiteral("Firmware Upgrade Fail !")
                                               : QStringLiteral("Config Restore Fail !"));
    if (value == "2") return PollAfter(1500);
    if (value == "3" || value == "4") {
        m_started = true;
        // The whole period counts from the switch's first report of the start.
        if (!m_reportedStart) ArmOverallTimeout();
        m_reportedStart = true;
        return PollAfter(5000);
    }
    Finish(QStringLiteral("Get Info Fail !"));  // a status no switch reports
}

void CTransferMachine::Stop() {
    for (QTimer* t : {&m_poll, &m_progressTimer, &m_overall, &m_end}) t->stop();
    if (m_state != State::Idle && m_state != State::Finished) m_state = State::Finished;
}

void CTransferMachine::Finish(const QString& message) {
    for (QTimer* t : {&m_poll, &m_progressTimer, &m_overall}) t->stop();
    m_state = State::Finished;
    m_end.start(Scaled(5));
    emit Finished(message);
}

void CTransferMachine::PollAfter(int ms) {
    m_poll.start(Scaled(ms));
}

void CTransferMachine::ArmOverallTimeout() {
    m_overall.start(Scaled(m_kind == Kind::Firmware ? 180000 : 50000));
}

void CTransferMachine::OnProgressStep() {
    if (m_state == State::Finished || m_state == State::Idle || m_progress >= 90) return;
    emit ProgressChanged(m_progress);
    m_progress += 2;
    m_progressTimer.start(Scaled(2500));
}

void CTransferMachine::OnOverallTimeout() {
    if (m_state == State::Finished || m_state == State::Idle) return;
    Finish(
        m_kind == Kind::Firmware
            ? QStringLiteral("Time out! Please check TFTP Server IP and network.")
            : QStringLiteral("Time out! Please check TFTP Server IP and network.\n You may close the current "
                             "device Kestrum Module and implement 'Device Discovery'to restart it"));
}
