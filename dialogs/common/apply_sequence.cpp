#include "dialogs/common/apply_sequence.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProgressDialog>
#include <QStringList>
#include <QTimer>
#include <algorithm>
#include <memory>

#include "dialogs/common/user_prompt.h"

bool Refuse(QWidget* parent, const QString& message) {
    if (message.isEmpty()) return true;
    Inform(parent, message);
    return false;
}

bool Refuse(QWidget* parent, const std::string& message) {
    return Refuse(parent, QString::fromStdString(message));
}

void PauseKeepingPainted(int ms) {
    if (ms <= 0) return;
    // A coarse timer may end up to 5 % early; a switch given 2000 ms to settle gets all of them.
    const QDeadlineTimer deadline(ms, Qt::PreciseTimer);
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    while (!deadline.hasExpired()) {
        timer.start(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
}

int RunApply(QWidget* dialog, const ApplyPlan& plan) {
    if (plan.check && !plan.check()) return kApplyRefused;
    int rc = 0;
    {
        WaitCursor wait;
        rc = plan.write ? plan.write() : 0;
        if (rc == 0 && !DialogClosed(dialog)) PauseKeepingPainted(plan.pauseMs);
    }
    // Closed while writing: no message and no fresh read for a window that is gone.
    if (DialogClosed(dialog)) return rc;
    if (rc != 0) {
        QString text = plan.failureTextOf ? plan.failureTextOf(rc) : plan.failureText;
        // Refused at the switch's security check: say why, even where a failed write is silent.
        auto* module = qobject_cast<CModuleDialog*>(dialog);
        const QString refusal = module ? module->TakeRefusalText() : QString();
        if (!refusal.isEmpty()) text = text.isEmpty() ? refusal : text + QStringLiteral("\n\n") + refusal;
        if (!text.isEmpty()) Inform(dialog, text);
    }
    if ((rc == 0 || plan.rereadOnFailure) && plan.reread) plan.reread();
    return rc;
}

WriteLoopResult RunWriteLoop(QWidget* parent, const WriteLoop& loop) {
    WriteLoopResult result;
    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<QProgressDialog> progress;
    WaitCursor wait;
    for (int i = 0; i < loop.count; ++i) {
        // The user closed the window in a pause: the items not written yet stay as they are.
        if (DialogClosed(parent)) {
            result.stopped = true;
            break;
        }
        if (!progress && clock.elapsed() > 1000 && i < loop.count) {
            // Long enough to wonder whether anything happens: show where the loop is, and let it stop.
            progress =
                std::make_unique<QProgressDialog>(QString(), QObject::tr("Stop"), 0, loop.count, parent);
            progress->setObjectName(QStringLiteral("writeProgress"));
            progress->setWindowModality(Qt::WindowModal);
            progress->setMinimumDuration(0);
            progress->setAutoClose(false);
            progress->setAutoReset(false);
            progress->show();
        }
        if (progress) {
            if (progress->wasCanceled()) {
                result.stopped = true;
                break;
            }
            progress->setValue(i);
            if (loop.progressText) progress->setLabelText(loop.progressText(i));
        }
        const int rc = loop.write(i);
        if (rc == 0) {
            ++result.written;
        } else {
            ++result.failures;
            if (result.failedAt < 0) result.failedAt = i;
            if (loop.stopOnFailure) break;
        }
        if (i + 1 < loop.count) {
            if (progress)
                QCoreApplication::processEvents();  // the Stop button must be reachable
            else
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            PauseKeepingPainted(loop.pauseMs);
        }
    }
    return result;
}

QString PortsText(const std::vector<int>& ports) {
    QStringList numbers;
    for (int p : ports) numbers << QString::number(p);
    return (ports.size() == 1 ? QStringLiteral("port ") : QStringLiteral("ports ")) +
           numbers.join(QStringLiteral(", "));
}

RowCreateResult CreateRowReporting(CModuleDialog& dialog, CCommonSNMP& session, const RowCreate& row) {
    RowCreateResult result;
    result.rc = dialog.SetNow(session, {{row.statusOid, kBindInteger, row.createAndGo ? "4" : "5"}});
    const bool created = result.rc == 0;
    if (!created) {
        result.failedStep = RowStep::Create;  // nothing was made (or the row was someone else's)
        if (!row.columnsAfterRefusedCreate) return result;
    }
    std::vector<std::vector<CModuleDialog::SetItem>> requests;
    requests.push_back(row.columns);
    requests.insert(requests.end(), row.laterColumns.begin(), row.laterColumns.end());
    std::erase_if(requests, [](const auto& r) { return r.empty(); });
    bool lastActivates = false;
    if (!row.createAndGo) {
        const CModuleDialog::SetItem active{row.statusOid, kBindInteger, "1"};
        if (row.activeWithColumns && !requests.empty()) {
            requests.back().push_back(active);
        } else {
            requests.push_back({active});
            lastActivates = true;
        }
    }
    for (std::size_t i = 0; i < requests.size(); ++i) {
        PauseKeepingPainted(row.pauseMs);
        result.rc = dialog.SetNow(session, requests[i]);
        if (result.rc == 0) continue;
        result.failedStep = lastActivates && i + 1 == requests.size() ? RowStep::Activate : RowStep::Columns;
        // A row left in createAndWait is invisible in the lists (they show active rows) but blocks its
        // name or index; one made active without its columns is wrong. Take it away again.
        if (created) result.removed = dialog.SetNow(session, {{row.statusOid, kBindInteger, "6"}}) == 0;
        return result;
    }
    result.failedStep = RowStep::None;
    return result;
}

int CreateRow(CModuleDialog& dialog, CCommonSNMP& session, const RowCreate& row, RowStep* failedStep) {
    const RowCreateResult result = CreateRowReporting(dialog, session, row);
    if (failedStep) *failedStep = result.failedStep;
    return result.rc;
}

QString RowCreateFailureText(const RowCreateResult& result, const QString& entry) {
    const QString left = result.removed ? QStringLiteral(", so it was removed again.")
                                        : QStringLiteral(
                                              ", and removing it failed too. Press Refresh to see "
                                              "what the switch holds.");
    switch (result.failedStep) {
        case RowStep::Create:
            return QStringLiteral("The switch did not accept the new %1; nothing was added.").arg(entry);
        case RowStep::Columns:
            return QStringLiteral("The switch did not accept the settings of the new %1").arg(entry) + left;
        case RowStep::Activate:
            return QStringLiteral("The switch did not activate the new %1").arg(entry) + left;
        case RowStep::None:
            break;
    }
    return QString();
}
