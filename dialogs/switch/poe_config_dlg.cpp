#include "dialogs/switch/poe_config_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/text_number.h"
#include "dialogs/common/apply_sequence.h"
#include "dialogs/common/port_range.h"

namespace {

// The switch holds 8 time ranges; a walk that goes on past this many rows is a misbehaving agent.
constexpr int kTimeRangeWalkRows = 64;
// A port's write may take this long (the switch powers the port up before it answers).
constexpr unsigned long kPortWriteTimeoutMs = 20000;
constexpr int kPauseBetweenPortsMs = 300;

CListFormDialog::Frame PoeFrame() {
    CListFormDialog::Frame f;
    f.title = QStringLiteral("PoE Configuration");
    f.objectName = QStringLiteral("poeConfigDialog");
    f.listGroup = QStringLiteral("Port Information");
    // Each column at least as wide as what it usually shows (the status texts keep their two-blank prefix).
    const std::pair<const char*, const char*> columns[] = {{"Index", "28"},
                                                           {"State", "Disable"},
                                                           {"Time Range", "office-hours"},
                                                           {"Priority", "Normal"},
                                                           {"Power Limit", "Class 4"},
                                                           {"Power(W)", "30.0"},
                                                           {"Voltage(V)", "53"},
                                                           {"Current(mA)", "600"},
                                                           {"Classification", "Class 4"},
                                                           {"Status", "  Time-based OFF"}};
    for (const auto& [heading, fits] : columns)
        f.columns.push_back({QString::fromLatin1(heading), 0, Qt::AlignLeft, QString::fromLatin1(fits)});
    f.buttons = CListFormDialog::kApply | CListFormDialog::kRefresh | CListFormDialog::kClose;
    return f;
}

QComboBox* Combo(QWidget* parent, const char* name, Choices items = {}) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    AddChoices(box, items);
    return box;
}

}  // namespace

CPoeConfigDlg::CPoeConfigDlg(QWidget* parent)
    : CListFormDialog(PoeFrame(), parent),
      m_cCommonSNMPTimeRang(AddSession("m_cCommonSNMPTimeRang")),
      m_cCommonSNMP(AddSession("m_cCommonSNMP")),
      m_cCommonSNMPSet(AddSession("m_cCommonSNMPSet")),
      m_portCount(Settings().PortCount > 0 ? Settings().PortCount : 0) {
    auto* group = new QGroupBox(QStringLiteral("PoE Configuration"), this);
    group->setObjectName(QStringLiteral("poeGroup"));
    m_fromPort = Combo(group, "fromPort");
    m_toPort = Combo(group, "toPort");
    m_portRange = new CPortRange(m_fromPort, m_toPort, 1, m_portCount, this);
    m_timeRange = Combo(group, "timeRange");
    m_timeRange->addItem(QString::fromLatin1(PoeText::kNoRange), QByteArray());
    m_state = Combo(group, "state", kPoeStateChoices);
    m_priority = Combo(group, "priority", kPoePriorityChoices);
    m_priority->setCurrentIndex(1);
    m_powerLimit = Combo(group, "powerLimit", kPoeLimitChoices);
    m_CtrlUserdefe = new QCheckBox(QStringLiteral("User Define"), group);
    m_CtrlUserdefe->setObjectName(QStringLiteral("userDefine"));
    m_userLimit = new QLineEdit(group);
    m_userLimit->setObjectName(QStringLiteral("userLimit"));
    m_userLimit->setEnabled(false);
    // Watts as the switch takes them: digits with at most one decimal point.
    m_userLimit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,3}(\\.[0-9]{0,3})?")), m_userLimit));
    m_userLimit->setMaximumWidth(80);

    auto* grid = new QGridLayout(group);
    auto label = [group](const char* text) { return new QLabel(QString::fromLatin1(text), group); };
    grid->addWidget(label("Form Port"), 0, 0);
    grid->addWidget(m_fromPort, 0, 1);
    grid->addWidget(label("To Port"), 0, 2);
    grid->addWidget(m_toPort, 0, 3);
    grid->addWidget(label("Time Range"), 0, 4);
    grid->addWidget(m_timeRange, 0, 5);
    grid->addWidget(label("State"), 1, 0);
    grid->addWidget(m_state, 1, 1);
    grid->addWidget(label("Priority"), 1, 2);
    grid->addWidget(m_priority, 1, 3);
    grid->addWidget(label("Power Limit"), 1, 4);
    grid->addWidget(m_powerLimit, 1, 5);
    auto* user = new QHBoxLayout;
    user->addWidget(m_CtrlUserdefe);
    user->addWidget(m_userLimit);
    user->addWidget(label("(1~30w) "));
    user->addStretch(1);
    grid->addLayout(user, 2, 0, 1, 6);
    grid->setColumnStretch(6, 1);
    FormArea()->addWidget(group);

    connect(m_CtrlUserdefe, &QCheckBox::toggled, this, [this](bool checked) {
        m_userLimit->setEnabled(checked);
        m_powerLimit->setEnabled(!checked);
    });
    resize(std::max(900, width()), 520);  // at least as wide as the frame made it for the columns
}

void CPoeConfigDlg::ReadAll() {
    // The names come first so the port table can show each port's range by name.
    m_ranges.Clear();
    m_timeRange->clear();
    m_timeRange->addItem(QString::fromLatin1(PoeText::kNoRange), QByteArray());
    StartWalk(
        m_cCommonSNMPTimeRang, {PoeOid::kRangeIndex, PoeOid::kRangeName},
        [this](const WalkRow& row) {
            if (row.bindings.size() < 2) return;
            if (static_cast<int>(m_ranges.indexes.size()) >= kMaxPoeTimeRanges) return;
            const std::string& name = row.bindings[1].value;
            m_ranges.Add(LeadingInt(row.bindings[0].value), name);
            m_timeRange->addItem(QString::fromUtf8(name.data(), static_cast<int>(name.size())),
                                 QByteArray(name.data(), static_cast<int>(name.size())));
        },
        [this](int status) {
            // A failed read leaves the port table alone: its ranges could not be named.
            if (status == kSnmpEndOfWalk || status == kSnmpOk) ReadPoeTable();
        },
        BusyButtons(), WalkOptions{2, kTimeRangeWalkRows, 0});
}

void CPoeConfigDlg::ReadPoeTable() {
    m_poePorts.clear();
    WalkList(m_cCommonSNMP,
             {PoeOid::kState, PoeOid::kTimeRange, PoeOid::kPriority, PoeOid::kLimitClass, PoeOid::kPower,
              PoeOid::kVoltage, PoeOid::kCurrent, PoeOid::kClassification, PoeOid::kStatus,
              PoeOid::kUserDefined, PoeOid::kUserLimit},
             WalkOptions{11, m_portCount, 0});
}

std::optional<QStringList> CPoeConfigDlg::LineFromRow(const WalkRow& row) {
    const std::vector<std::string> texts = PoeLineTexts(row.bindings, row.index + 1, m_ranges);
    if (texts.empty()) return std::nullopt;
    const std::string& suffix = row.suffixes.empty() ? std::string() : row.suffixes[0];
    const int port = LeadingInt(suffix.substr(suffix.rfind('.') + 1));  // instance .1.<port>
    if (port >= 1 && port <= m_portCount && (m_poePorts.empty() || port > m_poePorts.back()))
        m_poePorts.push_back(port);
    QStringList line;
    for (const std::string& t : texts) line << QString::fromUtf8(t.data(), static_cast<int>(t.size()));
    return line;
}

void CPoeConfigDlg::OnListRead(int status) {
    // Only the ports the switch powers are offered (the 28-port model has no PoE on 25-28): a range
    // past them would end every default Apply with a refusal. A failed read keeps what was offered.
    if (status != kSnmpFailed && !m_poePorts.empty()) m_portRange->SetPorts(m_poePorts);
}

void CPoeConfigDlg::OnLineSelected(QTreeWidgetItem* item) {
    const int port = item->text(0).toInt();
    if (port < 1 || port > m_portCount) return;
    m_portRange->Select(port, port);
    m_state->setCurrentIndex(item->text(1) == QLatin1String("Enable") ? 0 : 1);
}

std::vector<CModuleDialog::SetItem> CPoeConfigDlg::FormSettings() const {
    // The instance is filled in per port; the form is read once, before the first port is written.
    const QByteArray rangeName = m_timeRange->currentData().toByteArray();
    const int range = m_timeRange->currentIndex() <= 0 ? 0 : m_ranges.IndexOf(rangeName.toStdString());
    std::vector<SetItem> items = {
        {PoeOid::kState, kBindInteger, ValueText(ChoiceValue(kPoeStateChoices, m_state->currentIndex()))},
        {PoeOid::kTimeRange, kBindInteger, std::to_string(range)},
        {PoeOid::kPriority, kBindInteger,
         ValueText(ChoiceValue(kPoePriorityChoices, m_priority->currentIndex()))}};
    const bool userDefined = m_CtrlUserdefe->isChecked();
    items.push_back({PoeOid::kUserDefined, kBindInteger, kPoeUserDefinedValues.TextOf(userDefined)});
    if (userDefined)
        items.push_back({PoeOid::kUserLimit, kBindOctets, m_userLimit->text().toStdString()});
    else
        items.push_back({PoeOid::kLimitClass, kBindInteger,
                         ValueText(ChoiceValue(kPoeLimitChoices, m_powerLimit->currentIndex()))});
    return items;
}

void CPoeConfigDlg::OnApply() {
    const int from = m_portRange->From();
    const int to = m_portRange->To();
    if (from < 1 || to < from) return;
    ApplyPlan plan;
    // Every port of the range is checked before the first is written, so a refused limit never
    // leaves the range half set.
    plan.check = [this, from, to] {
        if (!m_CtrlUserdefe->isChecked()) return true;
        const std::string text = m_userLimit->text().toStdString();
        for (int port = from; port <= to; ++port)
            if (!Refuse(this, CheckUserLimit(text, port))) return false;
        return true;
    };
    plan.write = [this, from, to] {
        WriteLoop loop;
        loop.count = to - from + 1;
        loop.write = [this, from, settings = FormSettings()](int i) {
            std::vector<SetItem> items = settings;
            for (SetItem& item : items) item.oid += ".1." + std::to_string(from + i);
            return SetNow(m_cCommonSNMPSet, items, kPortWriteTimeoutMs);
        };
        loop.pauseMs = kPauseBetweenPortsMs;
        loop.stopOnFailure = true;
        loop.progressText = [from, to](int i) {
            return QStringLiteral("Writing the PoE settings of port %1 (%2 of %3)...")
                .arg(from + i)
                .arg(i + 1)
                .arg(to - from + 1);
        };
        return RunWriteLoop(this, loop).failedAt >= 0 ? kSnmpFailed : 0;
    };
    plan.failureText = QString::fromLatin1(PoeText::kUnsuccessful);
    plan.rereadOnFailure = true;
    plan.reread = [this] { ReadPoeTable(); };
    RunApply(this, plan);
}
