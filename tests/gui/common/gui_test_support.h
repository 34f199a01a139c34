#pragma once
// Support for the dialog tests: open a dialog without a modal loop and wait for its reads, drive the
// dialogs it opens with exec(), read lists and fill forms, capture the debug lines, and a Qt Test base
// that gives every test a fresh kms-sim. Tests run offscreen (QT_QPA_PLATFORM=offscreen). The widgets
// the tests drive come with it.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <array>
#include <functional>
#include <memory>
#include <mutex>
#include <ostream>
#include <type_traits>

#include "core/module_settings.h"
#include "dialogs/common/module_dialog.h"
#include "dialogs/common/user_prompt.h"
#include "tests/fixtures/kms_sim_fixture.h"
#include "tests/fixtures/snmp_reader.h"

// Readable texts in GoogleTest's failure messages.
void PrintTo(const QString& s, std::ostream* os);
void PrintTo(const QStringList& l, std::ostream* os);

namespace kmsgui {

// kms-sim's write journal, one line per set request.
using Lines = std::vector<std::string>;

// Waits until no walk or get of the dialog runs (after an action that started some).
bool WaitIdle(CModuleDialog& dialog, int timeoutMs = 20000);

// Shows `dialog` non-modally and waits until its first reads have all ended (walks and gets, chained or
// side by side; a dialog that reads nothing ends at once). `ms`: from show to the end of the last read.
struct FirstRead {
    bool ended = false;
    double ms = 0;
};
FirstRead OpenFirstRead(QDialog& dialog, int timeoutMs = 60000);
inline bool OpenAndWait(QDialog& dialog, int timeoutMs = 20000) {
    return OpenFirstRead(dialog, timeoutMs).ended;
}

// Builds the dialog and opens it as OpenAndWait does; null when its reads did not end.
template <class T, class... Args>
std::unique_ptr<T> Open(Args&&... args) {
    auto dlg = std::make_unique<T>(std::forward<Args>(args)...);
    return OpenAndWait(*dlg) ? std::move(dlg) : nullptr;
}

// Runs `fn` on the first modal dialog of type T that comes up within `timeoutMs` (for dialogs opened
// with exec() by the code under test). Call it before the action that opens the dialog. `fn` must
// close the dialog (accept/reject), or the nested loop never returns. Returns a flag that turns true
// once `fn` ran.
template <class T>
std::shared_ptr<bool> WhenModal(std::function<void(T&)> fn, int timeoutMs = 20000) {
    auto ran = std::make_shared<bool>(false);
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, fn, ran, deadline = QDeadlineTimer(timeoutMs)] {
        T* dlg = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dlg && !deadline.hasExpired()) return;
        timer->stop();
        timer->deleteLater();
        *ran = dlg != nullptr;
        if (dlg) fn(*dlg);
    });
    timer->start(20);
    return ran;
}

// Clicks a button as the user would (mouse press and release on its centre).
inline void Click(QAbstractButton* button) {
    if (button) QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
}

// The child of `parent` with this object name, or null.
template <class T>
T* Find(QWidget& parent, const char* objectName) {
    return parent.template findChild<T*>(QString::fromLatin1(objectName));
}

// Clicks the button of `owner` with this object name, runs `fn` on the modal dialog T it brings up
// (after T's own first reads), rejects T if `fn` left it open, and waits for the reads the owner
// started. True when T came up.
template <class T>
bool OnModal(QWidget& owner, const char* button, std::function<void(T&)> fn) {
    auto ran = WhenModal<T>([fn](T& dlg) {
        if constexpr (std::is_base_of_v<CModuleDialog, T>) WaitIdle(dlg);
        fn(dlg);
        if (dlg.isVisible()) dlg.reject();
    });
    Click(Find<QPushButton>(owner, button));
    if (auto* module = qobject_cast<CModuleDialog*>(&owner)) WaitIdle(*module);
    return *ran;
}

// Clicks the dialog's button with this object name and waits for the reads it started.
void Press(CModuleDialog& dialog, const char* button);
// Puts the text into the line edit at once, or types it key by key into the emptied edit.
inline void SetText(QWidget& dialog, const char* edit, const QString& text) {
    Find<QLineEdit>(dialog, edit)->setText(text);
}
void Type(QWidget& dialog, const char* edit, const QString& text);
// Selects the combo box entry with this text, or at this index.
void Choose(QWidget& dialog, const char* combo, const QString& text);
inline void Choose(QWidget& dialog, const char* combo, int index) {
    Find<QComboBox>(dialog, combo)->setCurrentIndex(index);
}

// The texts of these widgets of the dialog, in order: a line edit's or a label's text, a combo box's
// current text.
QStringList Texts(QWidget& dialog, std::initializer_list<const char*> names);
// Which of these widgets of the dialog are enabled, a '1' or a '0' each, in order.
QString Enabled(QWidget& dialog, std::initializer_list<const char*> names);

// The tree widget of the dialog with this object name.
inline QTreeWidget* ListOf(QWidget& dialog, const char* name = "list") {
    return Find<QTreeWidget>(dialog, name);
}
// The texts of one line of the list, column by column (empty past the end).
QStringList Row(QTreeWidget* list, int line);
// Every line of the list, its texts joined by '|'.
QStringList ListLines(QTreeWidget* list);
inline QStringList ListLines(QWidget& dialog, const char* name = "list") {
    return ListLines(ListOf(dialog, name));
}
// Whether the cell's whole text fits its column, and the tooltip hovering the cell shows ("" none).
bool CellFits(QTreeWidget* list, int line, int column);
QString CellTip(QTreeWidget* list, int line, int column);
// Makes current the first line whose first column, or whole '|'-joined text, is `text`.
void SelectLine(QTreeWidget* list, const QString& text);
inline void SelectLine(QTreeWidget* list, int line) {
    list->setCurrentItem(list->topLevelItem(line));
}

// Collects the debug lines written while it lives.
class DebugCapture {
public:
    DebugCapture();
    ~DebugCapture();
    std::vector<std::string> Lines() const;
    // Only the windows' own "=====..." lines, without the session layer's request tracing.
    std::vector<std::string> ClosingLines() const;
    void Clear();

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
};

// kms-sim shared by every test of the program: started on first use, stopped when the program ends.
// Null (with the reason in `error`) when it cannot start. Tests call Reset() between cases.
kmstest::KmsSimFixture* SharedSim(std::string* error = nullptr);
// Points Settings() at `sim` (SNMPv1 with its communities, `portCount` ports, write access): the sessions
// of dialogs built afterwards talk to it.
void UseSim(const kmstest::KmsSimFixture& sim, int portCount = 8);
// A kms-sim of its own, started on a copy of the device data with some objects' values replaced (for
// objects no manager can write): each pair is the OID and the rest of its data line ("2|1" for
// INTEGER 1). Null when it did not start, the reason in `error`.
std::unique_ptr<kmstest::KmsSimFixture> StartSimWith(
    const std::vector<std::pair<std::string, std::string>>& values, std::string* error);
// Sets many objects behind the dialogs' back with snmpset, `perRequest` bindings a request; each
// binding is the OID, snmpset's type letter and the value.
bool SetMany(const kmstest::KmsSimFixture& sim, const std::vector<std::array<std::string, 3>>& bindings,
             std::size_t perRequest);

// Grabs the dialog into a PNG under the build tree (screenshots/<name>.png) for a look by eye;
// returns the path, or "" when the picture could not be written.
QString Screenshot(QWidget& widget, const QString& name);

// Writes the module's User.ini: "[DeviceInfo]" and then `body`.
bool WriteUserIni(const std::string& body);
// A User.ini body for the model `name` with `ports` ports and the panel of the 8-port model.
std::string StandardIni(const std::string& name, const std::string& ports = "8", bool allGiga = true);

// Base of the Qt Test programs against the shared kms-sim: every test starts from kms-sim's initial
// state, with the module's settings pointing at it and a fresh prompt recorder.
class SimTest : public QObject {
    Q_OBJECT
protected:
    kmstest::KmsSimFixture* m_sim = nullptr;
    std::unique_ptr<RecordingPrompt> m_prompt;

    Lines Journal() const { return m_sim->Journal(); }
    QStringList Said() const { return m_prompt->texts; }
    // Reads and writes the switch with Net-SNMP's tools, independently of the module's SNMP layer.
    SnmpReader Reader() const;
    // Forgets the journal and the texts the user saw so far.
    void Forget();
    // Forgets, presses the button, and expects the one refusal `message` with nothing sent.
    void Refused(CModuleDialog& dialog, const char* button, const QString& message);

protected slots:
    void initTestCase();
    void init();
};

}  // namespace kmsgui
