#include "tests/gui/common/gui_test_support.h"

#include <QAbstractButton>
#include <QDir>
#include <QSignalSpy>
#include <QTest>

#include "core/debug_out.h"
#include "dialogs/common/module_dialog.h"

namespace kmsgui {

bool OpenAndWait(CModuleDialog& dialog, int timeoutMs) {
    QSignalSpy finished(&dialog, &CModuleDialog::WalkFinished);
    // Non-modal, so the test keeps control; the dialogs it opens with exec() are modal as usual.
    dialog.setWindowModality(Qt::NonModal);
    dialog.show();
    return QTest::qWaitFor([&] { return finished.count() > 0 && dialog.ActiveWalks() == 0; }, timeoutMs);
}

bool WaitIdle(CModuleDialog& dialog, int timeoutMs) {
    bool idle = QTest::qWaitFor([&] { return dialog.ActiveWalks() == 0; }, timeoutMs);
    QCoreApplication::processEvents();
    return idle;
}

void Click(QAbstractButton* button) {
    if (!button) return;
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
}

DebugCapture::DebugCapture() {
    SetDebugSink([this](const std::string& line) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_lines.push_back(line);
    });
}

DebugCapture::~DebugCapture() { SetDebugSink({}); }

std::vector<std::string> DebugCapture::Lines() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lines;
}

void DebugCapture::Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_lines.clear();
}

QString Screenshot(QWidget& widget, const QString& name) {
    QDir dir(QStringLiteral(KMS_BINARY_DIR "/screenshots"));
    if (!dir.mkpath(QStringLiteral("."))) return QString();
    const QString path = dir.filePath(name + QStringLiteral(".png"));
    return widget.grab().save(path) ? path : QString();
}

}  // namespace kmsgui
