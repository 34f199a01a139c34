#include "tests/gui/common/gui_test_support.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

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

DebugCapture::~DebugCapture() {
    SetDebugSink({});
}

std::vector<std::string> DebugCapture::Lines() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lines;
}

void DebugCapture::Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_lines.clear();
}

kmstest::KmsSimFixture* SharedSim(std::string* error) {
    static std::unique_ptr<kmstest::KmsSimFixture> sim;
    static std::string startError;
    if (!sim) {
        auto s = std::make_unique<kmstest::KmsSimFixture>();
        if (s->Start()) {
            sim = std::move(s);
        } else {
            startError = s->LastError();
        }
    }
    if (!sim && error) *error = startError;
    return sim.get();
}

ModuleSettings SimSettings(const kmstest::KmsSimFixture& sim, int portCount) {
    ModuleSettings s = sim.SettingsV1();
    // The dialogs under test take their port count from here; speed and fan play no part in them.
    s.PortCount = portCount;
    s.AllGiga = false;
    s.HasFan = false;
    return s;
}

void UseSim(const kmstest::KmsSimFixture& sim, int portCount) {
    Settings() = SimSettings(sim, portCount);
}

SnmpReader ReaderFor(const kmstest::KmsSimFixture& sim) {
    return SnmpReader(SimSettings(sim));
}

std::string SimDataWith(QTemporaryDir& dir, const std::vector<std::pair<std::string, std::string>>& values) {
    if (!dir.isValid()) return "";
    const QString source =
        QFileInfo(QStringLiteral(KMS_SIM_PATH)).absolutePath() + QStringLiteral("/sim-data");
    const QStringList files = QDir(source).entryList({QStringLiteral("*.snmprec")}, QDir::Files);
    if (files.isEmpty()) return "";
    for (const QString& name : files) {
        QFile in(source + "/" + name);
        if (!in.open(QIODevice::ReadOnly)) return "";
        QList<QByteArray> lines = in.readAll().split('\n');
        for (QByteArray& line : lines) {
            for (const auto& [oid, rest] : values) {
                const QByteArray key = QByteArray::fromStdString(oid) + "|";
                if (line.startsWith(key)) line = key + QByteArray::fromStdString(rest);
            }
        }
        QFile out(dir.filePath(name));
        if (!out.open(QIODevice::WriteOnly) || out.write(lines.join('\n')) < 0) return "";
    }
    return dir.path().toStdString();
}

QString Screenshot(QWidget& widget, const QString& name) {
    QDir dir(QStringLiteral(KMS_BINARY_DIR "/screenshots"));
    if (!dir.mkpath(QStringLiteral("."))) return QString();
    const QString path = dir.filePath(name + QStringLiteral(".png"));
    return widget.grab().save(path) ? path : QString();
}

}  // namespace kmsgui
