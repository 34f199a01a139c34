#include "tests/gui/common/gui_test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHelpEvent>
#include <QStyle>
#include <QTemporaryDir>
#include <QToolTip>

#include "core/debug_out.h"
#include "core/ini_reader.h"
#include "snmp/common_snmp.h"

void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

void PrintTo(const QStringList& l, std::ostream* os) {
    *os << "[" << l.join(" | ").toStdString() << "]";
}

namespace kmsgui {

FirstRead OpenFirstRead(QDialog& dialog, int timeoutMs) {
    auto* module = qobject_cast<CModuleDialog*>(&dialog);
    QElapsedTimer clock;
    clock.start();
    qint64 end = 0;
    QMetaObject::Connection reported;
    // A read that starts the next one from its end handler is still running when it reports.
    if (module)
        reported = QObject::connect(module, &CModuleDialog::WalkFinished, &dialog, [module, &clock, &end] {
            if (module->ActiveWalks() == 0) end = clock.nsecsElapsed();
        });
    // Non-modal, so the test keeps control; the dialogs it opens with exec() are modal as usual.
    dialog.setWindowModality(Qt::NonModal);
    dialog.show();
    end = std::max(end, clock.nsecsElapsed());  // what it read while being shown
    QCoreApplication::processEvents();          // reads it posted for later (a click on Refresh)
    const bool ended = !module || QTest::qWaitFor([module] { return module->ActiveWalks() == 0; }, timeoutMs);
    QObject::disconnect(reported);
    return {ended, static_cast<double>(end) / 1e6};
}

bool WaitIdle(CModuleDialog& dialog, int timeoutMs) {
    bool idle = QTest::qWaitFor([&] { return dialog.ActiveWalks() == 0; }, timeoutMs);
    QCoreApplication::processEvents();
    return idle;
}

void Press(CModuleDialog& dialog, const char* button) {
    Click(Find<QPushButton>(dialog, button));
    WaitIdle(dialog);
}

void Type(QWidget& dialog, const char* edit, const QString& text) {
    auto* e = Find<QLineEdit>(dialog, edit);
    e->clear();
    QTest::keyClicks(e, text);
}

void Choose(QWidget& dialog, const char* combo, const QString& text) {
    auto* box = Find<QComboBox>(dialog, combo);
    QVERIFY2(box && box->findText(text) >= 0, combo);
    box->setCurrentIndex(box->findText(text));
}

QStringList Texts(QWidget& dialog, std::initializer_list<const char*> names) {
    QStringList texts;
    for (const char* name : names) {
        auto* widget = Find<QWidget>(dialog, name);
        auto* box = qobject_cast<QComboBox*>(widget);
        texts << (box ? box->currentText() : widget ? widget->property("text").toString() : "<none>");
    }
    return texts;
}

QString Enabled(QWidget& dialog, std::initializer_list<const char*> names) {
    QString enabled;
    for (const char* name : names) enabled += Find<QWidget>(dialog, name)->isEnabled() ? '1' : '0';
    return enabled;
}

QStringList Row(QTreeWidget* list, int line) {
    QStringList texts;
    QTreeWidgetItem* item = list->topLevelItem(line);
    for (int c = 0; item && c < list->columnCount(); ++c) texts << item->text(c);
    return texts;
}

bool CellFits(QTreeWidget* list, int line, int column) {
    QTreeWidgetItem* item = list->topLevelItem(line);
    // Item views keep a margin on each side of the text.
    const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
    return item && list->fontMetrics().horizontalAdvance(item->text(column)) <=
                       list->columnWidth(column) - 2 * margin;
}

QString CellTip(QTreeWidget* list, int line, int column) {
    QToolTip::hideText();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QRect cell = list->visualRect(list->model()->index(line, column));
    QHelpEvent help(QEvent::ToolTip, cell.center(), list->viewport()->mapToGlobal(cell.center()));
    QApplication::sendEvent(list->viewport(), &help);
    return QToolTip::text();
}

QStringList ListLines(QTreeWidget* list) {
    QStringList lines;
    for (int i = 0; list && i < list->topLevelItemCount(); ++i) lines << Row(list, i).join(QLatin1Char('|'));
    return lines;
}

void SelectLine(QTreeWidget* list, const QString& text) {
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->text(0) == text || Row(list, i).join(QLatin1Char('|')) == text)
            return list->setCurrentItem(list->topLevelItem(i));
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

std::vector<std::string> DebugCapture::ClosingLines() const {
    std::vector<std::string> closing;
    for (const std::string& line : Lines())
        if (line.rfind("==================", 0) == 0) closing.push_back(line);
    return closing;
}

void DebugCapture::Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_lines.clear();
}

kmstest::KmsSimFixture* SharedSim(std::string* error) {
    static kmstest::KmsSimFixture sim;
    static const bool started = sim.Start();
    if (!started && error) *error = sim.LastError();
    return started ? &sim : nullptr;
}

static ModuleSettings SimSettings(const kmstest::KmsSimFixture& sim, int portCount = 8) {
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

SnmpReader SimTest::Reader() const {
    return SnmpReader(SimSettings(*m_sim));
}

std::unique_ptr<kmstest::KmsSimFixture> StartSimWith(
    const std::vector<std::pair<std::string, std::string>>& values, std::string* error) {
    // kms-sim reads its data once, at the start: the copy may go once it runs.
    QTemporaryDir dir;
    QFile in(QFileInfo(QStringLiteral(KMS_SIM_PATH)).absolutePath() + "/sim-data/kms-7300-08e.snmprec");
    QFile out(dir.filePath(QStringLiteral("kms-7300-08e.snmprec")));
    *error = "cannot copy " + in.fileName().toStdString();
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly)) return nullptr;
    QList<QByteArray> lines = in.readAll().split('\n');
    for (QByteArray& line : lines)
        for (const auto& [oid, rest] : values)
            if (line.startsWith(oid + "|")) line = QByteArray::fromStdString(oid + "|" + rest);
    if (out.write(lines.join('\n')) < 0 || !out.flush()) return nullptr;
    auto sim = std::make_unique<kmstest::KmsSimFixture>(
        kmstest::KmsSimFixture::Options{.extraArgs = {"--data", dir.path().toStdString()}});
    if (sim->Start()) return sim;
    *error = sim->LastError();
    return nullptr;
}

bool SetMany(const kmstest::KmsSimFixture& sim, const std::vector<std::array<std::string, 3>>& bindings,
             std::size_t perRequest) {
    for (std::size_t first = 0; first < bindings.size(); first += perRequest) {
        std::vector<std::string> args = {"snmpset", "-v2c", "-c", sim.WriteCommunity(), sim.Endpoint()};
        for (std::size_t i = first; i < std::min(bindings.size(), first + perRequest); ++i)
            args.insert(args.end(), bindings[i].begin(), bindings[i].end());
        std::string out;
        if (sim.RunTool(args, &out) != 0) return false;
    }
    return true;
}

QString Screenshot(QWidget& widget, const QString& name) {
    QDir dir(QStringLiteral(KMS_BINARY_DIR "/screenshots"));
    if (!dir.mkpath(QStringLiteral("."))) return QString();
    const QString path = dir.filePath(name + QStringLiteral(".png"));
    return widget.grab().save(path) ? path : QString();
}

bool WriteUserIni(const std::string& body) {
    QFile f(QString::fromStdString(UserIniPath()));
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           f.write(("[DeviceInfo]\n" + body).c_str()) > 0;
}

std::string StandardIni(const std::string& name, const std::string& ports, bool allGiga) {
    std::string panel = std::string(KMS_SOURCE_DIR) + "/assets/" + name + ".xml";
    if (!QFile::exists(QString::fromStdString(panel)))
        panel = std::string(KMS_SOURCE_DIR) + "/assets/KMS-7300-08E.xml";
    return "DeviceName=" + name + "\nDevicePortNum=" + ports + "\nXMLName=" + panel +
           "\nIsAllGiga=" + (allGiga ? "Y" : "N") + "\nIsHasFan=Y\n";
}

void SimTest::Forget() {
    m_sim->ClearJournal();
    m_prompt->Clear();
}

void SimTest::Refused(CModuleDialog& dialog, const char* button, const QString& message) {
    Forget();
    Press(dialog, button);
    QCOMPARE(Said(), QStringList{message});
    QCOMPARE(Journal(), Lines{});
}

void SimTest::initTestCase() {
    QVERIFY(SnmpEngineInit());
    std::string error;
    m_sim = SharedSim(&error);
    QVERIFY2(m_sim, error.c_str());
}

void SimTest::init() {
    // The new recorder takes over from the last test's at once.
    QVERIFY(m_sim->Reset());
    UseSim(*m_sim);
    m_prompt = std::make_unique<RecordingPrompt>();
}

}  // namespace kmsgui
