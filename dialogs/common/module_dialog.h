#pragma once
// CModuleDialog: the base of every dialog of the module. Modal, opened through the main window's dialog
// frame; topmost without moving or resizing; the application icon; owns its named SNMP sessions and, when
// the window goes, writes "==================DestroyWindow===============" and closes each session in
// declaration order with its "==================<name>.Close===============" line, so late answers are
// stale and touch nothing. Offers the walk pattern once for all table dialogs.

#include <QDialog>
#include <QHash>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "snmp/common_snmp.h"

class QWidget;

// One answer of a walk, copied off the SNMP worker.
struct WalkRow {
    std::vector<SnmpBinding> bindings;  // in request order
    std::vector<std::string> suffixes;  // GetSuffix of each binding (".5"), "" when unknown
    int index = 0;                      // 0 for the first row of the walk
};

// Rows a walk reads at most when its dialog states no bound of its own. The tables without one hold a
// few dozen rows on this switch (IP addresses, TCP and UDP endpoints); a device that never ends a
// column costs no more than this.
inline constexpr int kDefaultWalkRows = 1024;

struct WalkOptions {
    int minBindings = 0;          // an answer with fewer bindings ends the walk as the table's end
    int maxRows = -1;             // stop after this many rows (-1: kDefaultWalkRows)
    unsigned long timeoutMs = 0;  // 0: the session's time-out
};

class CModuleDialog : public QDialog {
    Q_OBJECT
public:
    explicit CModuleDialog(QWidget* parent = nullptr);
    ~CModuleDialog() override;

    // Number of walks and asynchronous gets running now (tests wait for 0).
    int ActiveWalks() const { return m_activeWalks; }

    // Names of the declared sessions, in declaration (and closing) order.
    std::vector<std::string> SessionNames() const;

    // Walks `columns` (get-next with null placeholders) on `session`. Each answer is copied on the worker
    // and handed to `onRow` on the UI thread; `onEnd(status)` runs once when the walk ends (-2 end of
    // table or end rule, -1 failure or time-out, 0 when stopped by maxRows). The `busy` widgets are
    // disabled while the walk runs and given back their earlier state when it ends (a button that the
    // dialog had disabled, e.g. for lack of write access, stays disabled); never list Close there, so a
    // slow device cannot trap the user. Starting a new walk on the same session makes the old walk's
    // late answers stale. Public so the shared readers (table_reader.h) can walk for a dialog.
    void StartWalk(CCommonSNMP& session, const std::vector<std::string>& columns,
                   std::function<void(const WalkRow&)> onRow, std::function<void(int status)> onEnd = {},
                   std::vector<QWidget*> busy = {}, WalkOptions options = {});

    // One asynchronous get of `oids`; `onAnswer` runs on the UI thread with the answer's bindings when
    // status is 0, `onFail` (optional) otherwise. `busy` as for StartWalk; timeout 0: the session's.
    void StartGet(CCommonSNMP& session, const std::vector<std::string>& oids,
                  std::function<void(const std::vector<SnmpBinding>&)> onAnswer,
                  std::function<void(int status)> onFail = {}, std::vector<QWidget*> busy = {},
                  unsigned long timeoutMs = 0);

    // Synchronous get of `oids`; 0 and the bindings on success. Like SetNow, it abandons a walk still
    // running on the same session.
    int GetNow(CCommonSNMP& session, const std::vector<std::string>& oids, std::vector<SnmpBinding>& out,
               unsigned long timeoutMs = 0);

    // One synchronous set request of the bindings; returns the session's result (0 success).
    struct SetItem {
        std::string oid;
        int kind;
        std::string value;  // text, or raw bytes for kind 2 (sent with their length)
    };
    int SetNow(CCommonSNMP& session, const std::vector<SetItem>& items, unsigned long timeoutMs = 0);

    // One asynchronous set request; `onDone(status)` runs on the UI thread: 0 accepted, -1 no answer
    // in time (or a transport failure), any other value refused by the agent.
    void StartSet(CCommonSNMP& session, const std::vector<SetItem>& items,
                  std::function<void(int status)> onDone, unsigned long timeoutMs = 0);

    // True once CloseSessions ran: no new request may start.
    bool SessionsClosed() const { return m_closed; }

    // Why the dialog's last finished request failed (None when it was answered).
    SnmpFailure LastFailure() const { return m_lastFailure; }
    // "ADDRESS refused the request: REASON." when the last request was refused at the switch's security
    // check (a wrong password or user), else empty. Taking it counts as telling the user, so a read that
    // fails the same way later does not say it again.
    QString TakeRefusalText();

signals:
    // Emitted on the UI thread after a walk's (or an asynchronous get's) end handler ran.
    void WalkFinished(int status);

protected:
    // Declares a session with its debug name ("m_cCommonSNMP"); sessions close in declaration order.
    CCommonSNMP& AddSession(const std::string& name);
    // The same with settings of its own (e.g. a dialog that talks SNMPv1 whatever the module uses).
    CCommonSNMP& AddSession(const std::string& name, const ModuleSettings& settings);
    // Writes the DestroyWindow line and closes every session once (later calls do nothing).
    void CloseSessions();

    // Runs once, when the dialog is first shown (before exec's event loop starts): dialogs read the
    // device here.
    virtual void OnInitDialog() {}

    void showEvent(QShowEvent* event) override;

public:
    // Closes the sessions, then ends the dialog (public as in QDialog).
    void done(int result) override;

public:
    struct WalkState;  // shared with the SNMP worker of a running walk

private:
    friend struct WalkWorker;
    struct Session {
        std::string name;
        std::unique_ptr<CCommonSNMP> session;
    };
    struct BusyState {
        int count = 0;
        bool wasEnabled = true;
        QPointer<QWidget> widget;
    };
    std::shared_ptr<WalkState> Begin(CCommonSNMP& session, std::vector<QWidget*> busy);
    // Keeps the outcome of a finished request; `read`: a failed read that the user is told of once.
    void NoteOutcome(int status, SnmpFailure failure, bool read);
    void AbandonWalkOn(CCommonSNMP& session);
    void Abandon(const std::shared_ptr<WalkState>& walk);
    void Finish(const std::shared_ptr<WalkState>& walk, int status);
    void FinishLater(const std::shared_ptr<WalkState>& walk, int status);
    // Sends the request prepared for a get or set (or ends it at once when it could not be prepared).
    void SendOne(const std::shared_ptr<WalkState>& walk, bool prepared, unsigned long timeoutMs);
    void ReleaseBusy(const std::shared_ptr<WalkState>& walk);

    std::vector<Session> m_sessions;
    std::vector<std::shared_ptr<WalkState>> m_walks;
    QHash<QWidget*, BusyState> m_busy;
    bool m_closed = false;
    bool m_initialised = false;
    SnmpFailure m_lastFailure = SnmpFailure::None;
    bool m_refusalTold = false;
    int m_activeWalks = 0;
};

// True when `widget` is, or sits in, a module dialog that has closed (its sessions went): what was
// under way for it (an Apply, its message, its fresh read) ends without a word.
bool DialogClosed(const QWidget* widget);

// A child widget of `parent` with its object name (the tests find widgets by it).
template <class T>
T* Named(const char* objectName, QWidget* parent) {
    auto* widget = new T(parent);
    widget->setObjectName(QLatin1String(objectName));
    return widget;
}
// A dialog's push button: never the default button, so Enter in an edit field presses nothing.
class QPushButton;
QPushButton* DialogButton(const QString& text, const char* objectName, QWidget* parent);

// Shows the wait cursor for the life of the guard (apply handlers).
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// The application icon (icon resource 447).
class QIcon;
QIcon ApplicationIcon();
