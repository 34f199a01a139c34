#include "dialogs/common/module_dialog.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QMetaObject>
#include <QPushButton>
#include <QShowEvent>
#include <QWidget>
#include <algorithm>
#include <atomic>
#include <mutex>

#include "core/debug_out.h"
#include "dialogs/common/user_prompt.h"

// What a running walk shares with its SNMP worker. The worker touches only this object and the session,
// never the dialog: it copies each answer and posts it to the dialog while holding `mutex`, and the dialog
// sets `cancelled` under the same mutex before it closes its sessions, so once a walk is cancelled no
// answer of it can reach the dialog any more, however late it arrives.
struct CModuleDialog::WalkState {
    std::mutex mutex;
    std::atomic<bool> cancelled{false};
    CModuleDialog* dialog = nullptr;  // valid while not cancelled
    CCommonSNMP* session = nullptr;
    WalkOptions options;
    bool isGet = false;
    bool isSet = false;
    int rows = 0;                             // worker side: answers taken so far
    SnmpFailure failure = SnmpFailure::None;  // written on the worker before the end is posted
    std::string firstColumn;                  // for the debug line of a walk that reached its bound

    // UI-thread side.
    QPointer<CModuleDialog> guard;  // made and read on the UI thread only
    bool ended = false;
    std::vector<QPointer<QWidget>> busy;
    std::function<void(const WalkRow&)> onRow;
    std::function<void(int)> onEnd;
    std::function<void(const std::vector<SnmpBinding>&)> onAnswer;
};

namespace {

using WalkPtr = std::shared_ptr<CModuleDialog::WalkState>;

// Hands `fn` to the dialog's thread unless the walk was cancelled. The posted call checks again, on the
// UI thread, that the walk is still the current one before it runs.
void Post(const WalkPtr& walk, std::function<void()> fn) {
    std::lock_guard<std::mutex> lock(walk->mutex);
    if (walk->cancelled) return;
    QMetaObject::invokeMethod(
        walk->dialog,
        [walk, fn = std::move(fn)] {
            if (!walk->guard || walk->cancelled || walk->ended) return;
            fn();
        },
        Qt::QueuedConnection);
}

}  // namespace

// The worker side of every walk and asynchronous get; a friend of the dialog so the calls it posts may
// end the walk's bookkeeping.
struct WalkWorker {
    static unsigned OnAnswer(const WalkPtr& walk, std::unique_ptr<CSnmp> response, int requestId, int status);
};

unsigned WalkWorker::OnAnswer(const WalkPtr& walk, std::unique_ptr<CSnmp> response, int requestId,
                              int status) {
    CCommonSNMP& session = *walk->session;
    // Not pending any more: the dialog refreshed or closed since this request went out.
    if (session.RemoveRequestId(requestId) == 0) return 0;
    CModuleDialog* dialog = walk->dialog;
    auto end = [&](int endStatus) {
        // Read here, on the thread that made the request; the posted end sees it.
        if (endStatus == kSnmpFailed) walk->failure = session.LastFailure();
        session.SetDone();
        Post(walk, [dialog, walk, endStatus] { dialog->Finish(walk, endStatus); });
        return 0u;
    };
    if (status != kSnmpOk || !response) return end(status != kSnmpOk ? status : kSnmpFailed);

    if (walk->isGet) {
        std::vector<SnmpBinding> bindings = response->Bindings();
        session.SetDone();
        Post(walk, [dialog, walk, bindings = std::move(bindings)] {
            if (walk->onAnswer) walk->onAnswer(bindings);
            dialog->Finish(walk, kSnmpOk);
        });
        return 0;
    }

    if (response->getValuesCount() < walk->options.minBindings) return end(kSnmpEndOfWalk);
    WalkRow row;
    row.bindings = response->Bindings();
    row.suffixes.resize(row.bindings.size());
    for (int i = 0; i < static_cast<int>(row.bindings.size()); ++i) {
        std::string suffix;
        if (session.GetSuffix(i, response.get(), suffix) == 0) row.suffixes[i] = suffix;
    }
    row.index = walk->rows++;
    Post(walk, [walk, row = std::move(row)] {
        if (walk->onRow) walk->onRow(row);
    });
    if (walk->rows >= walk->options.maxRows) {
        // The column, not the row: indexes of some tables spell community names.
        DebugOut("Walk of " + walk->firstColumn + " ended at its bound of " +
                 std::to_string(walk->options.maxRows) + " rows");
        return end(kSnmpOk);
    }
    if (walk->cancelled) {
        session.SetDone();
        return 0;
    }
    // The next get-next continues from the OIDs just answered, on this same worker.
    int rc = session.GetNextAsync([walk](std::unique_ptr<CSnmp> r, int id, void*,
                                         int st) { return OnAnswer(walk, std::move(r), id, st); },
                                  walk->dialog, 0, walk->options.timeoutMs);
    if (rc != 0) return end(kSnmpFailed);
    return 0;
}

CModuleDialog::CModuleDialog(QWidget* parent) : QDialog(parent) {
    // Topmost from the start: setting the hint after show would re-create the window and move it.
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    setWindowIcon(ApplicationIcon());
    setModal(true);
}

CModuleDialog::~CModuleDialog() {
    CloseSessions();
    m_sessions.clear();
}

CCommonSNMP& CModuleDialog::AddSession(const std::string& name) {
    return AddSession(name, Settings());
}

CCommonSNMP& CModuleDialog::AddSession(const std::string& name, const ModuleSettings& settings) {
    m_sessions.push_back({name, std::make_unique<CCommonSNMP>(settings)});
    return *m_sessions.back().session;
}

std::vector<std::string> CModuleDialog::SessionNames() const {
    std::vector<std::string> names;
    for (const Session& s : m_sessions) names.push_back(s.name);
    return names;
}

void CModuleDialog::CloseSessions() {
    if (m_closed) return;
    m_closed = true;
    // No answer may reach the dialog from here on.
    for (const WalkPtr& walk : m_walks) {
        std::lock_guard<std::mutex> lock(walk->mutex);
        walk->cancelled = true;
        walk->ended = true;
    }
    for (const WalkPtr& walk : m_walks) ReleaseBusy(walk);
    m_walks.clear();
    m_activeWalks = 0;
    DebugOut("==================DestroyWindow===============");
    for (Session& s : m_sessions) {
        s.session->Close();
        DebugOut("==================" + s.name + ".Close===============");
    }
}

void CModuleDialog::AbandonWalkOn(CCommonSNMP& session) {
    // One request at a time per session: a walk still running there is abandoned, its late answers stale.
    for (size_t i = 0; i < m_walks.size(); ++i) {
        if (m_walks[i]->session == &session) {
            Abandon(m_walks[i]);
            return;
        }
    }
}

std::shared_ptr<CModuleDialog::WalkState> CModuleDialog::Begin(CCommonSNMP& session,
                                                               std::vector<QWidget*> busy) {
    AbandonWalkOn(session);
    auto walk = std::make_shared<WalkState>();
    walk->dialog = this;
    walk->guard = this;
    walk->session = &session;
    for (QWidget* w : busy) {
        if (!w) continue;
        walk->busy.emplace_back(w);
        BusyState& b = m_busy[w];
        if (b.count++ == 0) {
            b.widget = w;
            b.wasEnabled = !w->testAttribute(Qt::WA_ForceDisabled);
            w->setEnabled(false);
        }
    }
    m_walks.push_back(walk);
    ++m_activeWalks;
    return walk;
}

void CModuleDialog::ReleaseBusy(const WalkPtr& walk) {
    for (const QPointer<QWidget>& w : walk->busy) {
        auto it = m_busy.find(w.data());
        if (it == m_busy.end()) continue;
        if (--it->count == 0) {
            if (it->widget) it->widget->setEnabled(it->wasEnabled);
            m_busy.erase(it);
        }
    }
    walk->busy.clear();
}

void CModuleDialog::Abandon(const WalkPtr& walk) {
    {
        std::lock_guard<std::mutex> lock(walk->mutex);
        walk->cancelled = true;
    }
    // Forgets the pending request and waits (bounded) for an answer in flight, so the next Open does
    // not race the old walk's worker.
    walk->session->Close();
    walk->ended = true;
    ReleaseBusy(walk);
    m_walks.erase(std::remove(m_walks.begin(), m_walks.end(), walk), m_walks.end());
    --m_activeWalks;
}

void CModuleDialog::Finish(const WalkPtr& walk, int status) {
    if (walk->ended || walk->cancelled) return;
    walk->ended = true;
    m_walks.erase(std::remove(m_walks.begin(), m_walks.end(), walk), m_walks.end());
    --m_activeWalks;
    ReleaseBusy(walk);
    auto onEnd = std::move(walk->onEnd);
    if (onEnd) onEnd(status);
    emit WalkFinished(status);
    NoteOutcome(status, walk->failure, !walk->isSet);
}

void CModuleDialog::NoteOutcome(int status, SnmpFailure failure, bool read) {
    if (status == kSnmpFailed && failure == SnmpFailure::None) failure = SnmpFailure::NoAnswer;
    m_lastFailure = status == kSnmpFailed ? failure : SnmpFailure::None;
    if (!read || m_closed || m_refusalTold || !IsSecurityRefusal(m_lastFailure)) return;
    // A failed read is silent: the dialog shows what it could read. A refusal is no passing fault, though;
    // without a word the user would take the empty fields for the switch's state.
    Inform(this, TakeRefusalText());
}

QString CModuleDialog::TakeRefusalText() {
    if (!IsSecurityRefusal(m_lastFailure)) return QString();
    m_refusalTold = true;
    return QString::fromStdString(SnmpRefusalText(Settings().DeviceAddress, m_lastFailure)) +
           QLatin1Char('.');
}

void CModuleDialog::FinishLater(const WalkPtr& walk, int status) {
    // Refused at once: end on the next turn of the event loop, so callers see the same order as for an
    // answer that arrives.
    QPointer<CModuleDialog> guard(this);
    QMetaObject::invokeMethod(
        this,
        [guard, walk, status] {
            if (guard) guard->Finish(walk, status);
        },
        Qt::QueuedConnection);
}

void CModuleDialog::StartWalk(CCommonSNMP& session, const std::vector<std::string>& columns,
                              std::function<void(const WalkRow&)> onRow,
                              std::function<void(int status)> onEnd, std::vector<QWidget*> busy,
                              WalkOptions options) {
    if (m_closed) return;
    WalkPtr walk = Begin(session, std::move(busy));
    if (options.maxRows < 0) options.maxRows = kDefaultWalkRows;
    walk->options = options;
    walk->firstColumn = columns.empty() ? std::string() : columns.front();
    walk->onRow = std::move(onRow);
    walk->onEnd = std::move(onEnd);
    bool ok = session.Open(kSnmpGetNext);
    for (const std::string& oid : columns) ok = ok && session.AddValue(oid, kBindNull, nullptr) == 0;
    session.LimitWalkRows(options.maxRows);
    if (!ok || options.maxRows == 0) {
        FinishLater(walk, options.maxRows == 0 && ok ? kSnmpOk : kSnmpFailed);
        return;
    }
    int rc = session.GetNextAsync([walk](std::unique_ptr<CSnmp> r, int id, void*,
                                         int st) { return WalkWorker::OnAnswer(walk, std::move(r), id, st); },
                                  this, 0, options.timeoutMs);
    if (rc != 0) FinishLater(walk, kSnmpFailed);
}

void CModuleDialog::StartGet(CCommonSNMP& session, const std::vector<std::string>& oids,
                             std::function<void(const std::vector<SnmpBinding>&)> onAnswer,
                             std::function<void(int status)> onFail, std::vector<QWidget*> busy,
                             unsigned long timeoutMs) {
    if (m_closed) return;
    WalkPtr walk = Begin(session, std::move(busy));
    walk->isGet = true;
    walk->onAnswer = std::move(onAnswer);
    if (onFail) {
        walk->onEnd = [onFail = std::move(onFail)](int status) {
            if (status != kSnmpOk) onFail(status);
        };
    }
    bool ok = session.Open(kSnmpGet);
    for (const std::string& oid : oids) ok = ok && session.AddValue(oid, kBindNull, nullptr) == 0;
    SendOne(walk, ok, timeoutMs);
}

void CModuleDialog::StartSet(CCommonSNMP& session, const std::vector<SetItem>& items,
                             std::function<void(int status)> onDone, unsigned long timeoutMs) {
    if (m_closed) return;
    WalkPtr walk = Begin(session, {});
    walk->isGet = true;
    walk->isSet = true;
    walk->onEnd = std::move(onDone);
    bool ok = !items.empty() && session.Open(kSnmpSet);
    for (const SetItem& item : items) {
        ok = ok && (item.kind == kBindOctets
                        ? session.AddValue(item.oid, item.kind, item.value.data(), item.value.size())
                        : session.AddValue(item.oid, item.kind, item.value.c_str())) == 0;
    }
    SendOne(walk, ok, timeoutMs);
}

void CModuleDialog::SendOne(const std::shared_ptr<WalkState>& walk, bool prepared, unsigned long timeoutMs) {
    if (!prepared) {
        FinishLater(walk, kSnmpFailed);
        return;
    }
    int rc = walk->session->GetNextAsync(
        [walk](std::unique_ptr<CSnmp> r, int id, void*, int st) {
            return WalkWorker::OnAnswer(walk, std::move(r), id, st);
        },
        this, 0, timeoutMs);
    if (rc != 0) FinishLater(walk, kSnmpFailed);
}

int CModuleDialog::GetNow(CCommonSNMP& session, const std::vector<std::string>& oids,
                          std::vector<SnmpBinding>& out, unsigned long timeoutMs) {
    out.clear();
    if (m_closed) return kSnmpFailed;
    AbandonWalkOn(session);
    if (!session.Open(kSnmpGet)) return kSnmpFailed;
    for (const std::string& oid : oids) {
        if (session.AddValue(oid, kBindNull, nullptr) != 0) return kSnmpFailed;
    }
    std::unique_ptr<CSnmp> response;
    int rc = session.GetNext(response, timeoutMs);
    NoteOutcome(rc, session.LastFailure(), true);
    if (rc != 0) return rc;
    if (!response) return kSnmpFailed;
    out = response->Bindings();
    return 0;
}

int CModuleDialog::SetNow(CCommonSNMP& session, const std::vector<SetItem>& items, unsigned long timeoutMs) {
    if (m_closed || items.empty()) return kSnmpFailed;
    AbandonWalkOn(session);
    if (!session.Open(kSnmpSet)) return kSnmpFailed;
    for (const SetItem& item : items) {
        int rc = item.kind == kBindOctets
                     ? session.AddValue(item.oid, item.kind, item.value.data(), item.value.size())
                     : session.AddValue(item.oid, item.kind, item.value.c_str());
        if (rc != 0) return kSnmpFailed;
    }
    std::unique_ptr<CSnmp> response;
    const int rc = session.Send(response, timeoutMs);
    NoteOutcome(rc, session.LastFailure(), false);
    return rc;
}

void CModuleDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_initialised && !event->spontaneous()) {
        m_initialised = true;
        OnInitDialog();
    }
}

void CModuleDialog::done(int result) {
    // The sessions go before the window does, so a late answer finds nothing to touch.
    CloseSessions();
    QDialog::done(result);
}

bool DialogClosed(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (const auto* dialog = qobject_cast<const CModuleDialog*>(w); dialog && dialog->SessionsClosed())
            return true;
    }
    return false;
}

WaitCursor::WaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}
WaitCursor::~WaitCursor() {
    QApplication::restoreOverrideCursor();
}

QIcon ApplicationIcon() {
    // Icon resource 447, linked in with the dialog base. One shared icon for every window; it is never
    // destroyed because a QIcon must not outlive the application object at static destruction.
    static const QIcon* icon =
        new QIcon(QFile::exists(QStringLiteral(":/icons/447.png")) ? QIcon(QStringLiteral(":/icons/447.png"))
                                                                   : QApplication::windowIcon());
    return *icon;
}

QPushButton* DialogButton(const QString& text, const char* objectName, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(objectName));
    button->setAutoDefault(false);
    return button;
}
