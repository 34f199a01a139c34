#pragma once
// The one order of every Apply: the checks first (their messages and questions under the normal
// cursor, nothing sent when one refuses), then the writes under the wait cursor, then a pause that keeps
// the window painting, then a fresh read. A window closed in one of the pauses ends it there: no
// further write, no message, no read. Loops that write port after port and the RowStatus life cycle
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
    // Instead of failureText when set: the text for the write's result (writes that know which of
    // their steps failed).
    std::function<QString(int rc)> failureTextOf{};
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

// The ports a message names: "port 3", "ports 2, 4".
QString PortsText(const std::vector<int>& ports);

// A new row of a RowStatus table, the one way every dialog creates rows: createAndWait (5) on
// `statusOid` (createAndGo (4) with `createAndGo`), then `columns` in one request and each of
// `laterColumns` in a request of its own (empty requests are not sent), then active (1) in a request of
// its own, or riding on the last column request when `activeWithColumns` (no activation after
// createAndGo); `pauseMs` between the requests. When a step after the creation fails, the half-made row
// is destroyed (6) so nothing stale stays on the device. With `columnsAfterRefusedCreate` the row may be
// there already (rows rewritten in place): a refused creation does not stop the columns, and only a row
// this call created is taken away again.
struct RowCreate {
    std::string statusOid{};
    std::vector<CModuleDialog::SetItem> columns{};
    bool activeWithColumns = false;
    int pauseMs = 0;
    std::vector<std::vector<CModuleDialog::SetItem>> laterColumns{};
    bool createAndGo = false;
    bool columnsAfterRefusedCreate = false;
};
enum class RowStep { None, Create, Columns, Activate };
struct RowCreateResult {
    int rc = 0;  // 0 on success, else the failing step's result
    RowStep failedStep = RowStep::None;
    bool removed = false;  // a half-made row was destroyed again
};
RowCreateResult CreateRowReporting(CModuleDialog& dialog, CCommonSNMP& session, const RowCreate& row);
// The same, as the failing step's result (0 on success); `failedStep` (optional) tells which step failed.
int CreateRow(CModuleDialog& dialog, CCommonSNMP& session, const RowCreate& row,
              RowStep* failedStep = nullptr);
// The user's message for a failed creation, naming the step that failed and what became of the row;
// `entry` names the row as the user knows it ("entry", "OUI entry").
QString RowCreateFailureText(const RowCreateResult& result, const QString& entry);

// Our message for an Apply whose checks need settings that could not be read: nothing is sent.
inline constexpr const char* kSettingsNotReadText =
    "The switch's current settings could not be read, so nothing was changed. Press Refresh and try again.";
