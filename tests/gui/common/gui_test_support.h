#pragma once
// Support for the dialog tests: open a dialog without a modal loop and wait for its reads, drive the
// dialogs it opens with exec(), capture the debug lines, and find widgets by their object names.
// Tests run offscreen (QT_QPA_PLATFORM=offscreen) inside a QApplication.

#include <QApplication>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "core/module_settings.h"
#include "tests/fixtures/kms_sim_fixture.h"
#include "tests/fixtures/snmp_reader.h"

class CModuleDialog;
class QAbstractButton;
class QTemporaryDir;

namespace kmsgui {

// Shows `dialog` non-modally and waits until its first walk (or asynchronous get) ended and nothing
// runs any more. False on time-out.
bool OpenAndWait(CModuleDialog& dialog, int timeoutMs = 20000);
// Waits until no walk or get of the dialog runs (after an action that started some).
bool WaitIdle(CModuleDialog& dialog, int timeoutMs = 20000);

// Runs `fn` on the first modal dialog of type T that comes up within `timeoutMs` (for dialogs opened
// with exec() by the code under test). Call it before the action that opens the dialog. `fn` must
// close the dialog (accept/reject), or the nested loop never returns. Returns a flag that turns true
// once `fn` ran.
template <class T>
std::shared_ptr<bool> WhenModal(std::function<void(T&)> fn, int timeoutMs = 20000) {
    auto ran = std::make_shared<bool>(false);
    auto* timer = new QTimer(qApp);
    auto deadline = std::make_shared<int>(timeoutMs / 20);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, fn, ran, deadline] {
        if (T* dlg = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            *ran = true;
            fn(*dlg);
        } else if (--*deadline <= 0) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(20);
    return ran;
}

// Clicks a button as the user would (mouse press and release on its centre).
void Click(QAbstractButton* button);

// The child of `parent` with this object name, or null.
template <class T>
T* Find(QWidget& parent, const char* objectName) {
    return parent.template findChild<T*>(QString::fromLatin1(objectName));
}

// Collects the debug lines written while it lives.
class DebugCapture {
public:
    DebugCapture();
    ~DebugCapture();
    std::vector<std::string> Lines() const;
    void Clear();

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
};

// kms-sim shared by every test of the program: started on first use, stopped when the program ends.
// Null (with the reason in `error`) when it cannot start. Tests call Reset() between cases.
kmstest::KmsSimFixture* SharedSim(std::string* error = nullptr);
// Module settings that talk to `sim`: SNMPv1 with its communities, `portCount` ports, write access.
ModuleSettings SimSettings(const kmstest::KmsSimFixture& sim, int portCount = 8);
// Settings() = SimSettings(sim): the sessions of dialogs built afterwards talk to `sim`.
void UseSim(const kmstest::KmsSimFixture& sim, int portCount = 8);
// Reads and writes `sim` with Net-SNMP's tools, independently of the module's SNMP layer.
SnmpReader ReaderFor(const kmstest::KmsSimFixture& sim);
// A copy of kms-sim's device data in `dir` with some objects' values replaced: each pair is the OID
// and the rest of its data line ("2|1" for INTEGER 1). Pass the result as "--data DIR". "" on failure.
std::string SimDataWith(QTemporaryDir& dir, const std::vector<std::pair<std::string, std::string>>& values);

// Grabs the dialog into a PNG under the build tree (screenshots/<name>.png) for a look by eye;
// returns the path, or "" when the picture could not be written.
QString Screenshot(QWidget& widget, const QString& name);

}  // namespace kmsgui
