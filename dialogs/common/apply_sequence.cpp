#include "dialogs/common/apply_sequence.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>
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
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

int RunApply(QWidget* dialog, const ApplyPlan& plan) {
    if (plan.check && !plan.check()) return kApplyRefused;
    int rc = 0;
    {
        WaitCursor wait;
        rc = plan.write ? plan.write() : 0;
        if (rc == 0) PauseKeepingPainted(plan.pauseMs);
    }
    if (rc != 0 && !plan.failureText.isEmpty()) Inform(dialog, plan.failureText);
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

int CreateRow(CModuleDialog& dialog, CCommonSNMP& session, const RowCreate& row) {
    int rc = dialog.SetNow(session, {{row.statusOid, kBindInteger, "5"}});
    if (rc != 0) return rc;
    PauseKeepingPainted(row.pauseMs);
    std::vector<CModuleDialog::SetItem> columns = row.columns;
    if (row.activeWithColumns) columns.push_back({row.statusOid, kBindInteger, "1"});
    rc = dialog.SetNow(session, columns);
    if (rc == 0 && !row.activeWithColumns) {
        PauseKeepingPainted(row.pauseMs);
        rc = dialog.SetNow(session, {{row.statusOid, kBindInteger, "1"}});
    }
    // A row left in createAndWait is invisible in the lists (they show active rows) but blocks its name
    // or index: take it away again.
    if (rc != 0) dialog.SetNow(session, {{row.statusOid, kBindInteger, "6"}});
    return rc;
}
