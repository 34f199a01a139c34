#pragma once
// The one order of every Apply: the checks first (their messages and questions under the normal
// cursor, nothing sent when one refuses), then the writes under the wait cursor, then a pause that keeps
// the window painting, then a fresh read. Loops that write port after port and the RowStatus life cycle
// of a new table row are here too, so no dialog writes them again.

#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "dialogs/common/module_dialog.h"

class QWidget;

// Shows `message` (when not empty) through the prompt seam and returns false, so checks read as
// `if (!Refuse(this, CheckSomething(...))) return false;`... and pass when the message is empty.
bool Refuse(QWidget* parent, const std::string& message);
bool Refuse(QWidget* parent, const QString& message);

struct ApplyPlan {
    // Runs first: shows its own refusal or question and returns false to stop before anything is sent.
    std::function<bool()> check{};
    // The set request(s), under the wait cursor; 0 for success.
    std::function<int()> write{};
    // After a successful write: a pause (window still painting), then the fresh read.
    int pauseMs = 0;
    std::function<void()> reread{};
    // Shown, with the normal cursor back, when the write failed; empty: the failure stays silent.
    QString failureText{};
    // Read again after a failed write as well (the list then shows what the device really holds).
    bool rereadOnFailure = false;
};

// Result of RunApply when the checks stopped it.
inline constexpr int kApplyRefused = -100;

// Runs the plan; returns the write's result, or kApplyRefused when a check stopped it.
int RunApply(QWidget* dialog, const ApplyPlan& plan);

// Waits `ms` while the window keeps painting and timers run; the user's clicks and keys wait.
void PauseKeepingPainted(int ms);

struct WriteLoop {
    int count = 0;                         // items (ports) to write, in order
    std::function<int(int item)> write{};  // one request for item 0..count-1; 0 for success
    int pauseMs = 0;                       // between two items
    bool stopOnFailure = true;             // else failures are counted and the loop goes on
    // Progress text of an item, e.g. "Writing port 5 (3 of 8)...". The progress window appears only
    // when the loop has run longer than about a second; its Stop button ends the loop after the item
    // being written.
    std::function<QString(int item)> progressText{};
};

struct WriteLoopResult {
    int written = 0;    // items that succeeded
    int failedAt = -1;  // the first item that failed, -1 when none
    int failures = 0;
    bool stopped = false;  // the user stopped the loop
};

// Runs the loop under the wait cursor, repainting between items.
WriteLoopResult RunWriteLoop(QWidget* parent, const WriteLoop& loop);

// A new row of a RowStatus table: createAndWait (5) on `statusOid`, then `columns` in one request
// (with active (1) in the same request when `activeWithColumns`, else active in a request of its own),
// `pauseMs` between the requests. When a step after the creation fails, the half-made row is destroyed
// (6) so nothing stale stays on the device, and the failing step's result is returned; 0 on success.
struct RowCreate {
    std::string statusOid{};
    std::vector<CModuleDialog::SetItem> columns{};
    bool activeWithColumns = false;
    int pauseMs = 0;
};
int CreateRow(CModuleDialog& dialog, CCommonSNMP& session, const RowCreate& row);
