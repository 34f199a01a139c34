#include "dialogs/mib/stp_port_config_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "core/module_settings.h"
#include "dialogs/common/apply_sequence.h"
#include "dialogs/common/table_reader.h"
#include "dialogs/common/user_prompt.h"
#include "dialogs/mib/mib_value_maps.h"
#include "dialogs/mib/stp_port_table_dlg.h"
#include "snmp/encodings.h"

namespace {
const std::string kPortPriority = "1.3.6.1.2.1.17.2.15.1.2.";
const std::string kPortPathCost = "1.3.6.1.2.1.17.2.15.1.5.";
const std::string kPortEnable = "1.3.6.1.2.1.17.2.15.1.4.";
const std::string kVendorPathCost = std::string("1.3.6.1.4.1.32473.10.75.13.6.2.1.5") + ".";
constexpr long kMaxPathCost = 200000000;

QLineEdit* ReadOnlyLine(QWidget* parent, const char* name) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(true);
    return e;
}
}  // namespace

PortApplyAction DecidePortApply(bool aggregated, const PortStpSettings* current,
                                const PortStpSettings& wanted) {
    if (!aggregated) return PortApplyAction::Send;
    if (current && *current == wanted) return PortApplyAction::Nothing;
    return PortApplyAction::RefuseAggregated;
}

QString CheckPathCost(const std::string& text, long& cost) {
    std::uint64_t v = 0;
    // An empty or overlong field is refused rather than written as 0 (auto) or a wrapped number.
    if (!ParseUnsigned(text, v, kMaxPathCost)) return QStringLiteral("Invalid Path Cost(1-200000000)");
    cost = static_cast<long>(v);
    return QString();
}

CStpPortConfigDlg::CStpPortConfigDlg(std::vector<QStringList> rows, int current, QWidget* parent)
    : CModuleDialog(parent),
      m_cCommonSNMP(AddSession("m_cCommonSNMP")),
      m_cCommonSNMPSet(AddSession("m_cCommonSNMPSet")),
      m_cCommonSNMPTable(AddSession("m_cCommonSNMPTable")),
      m_rows(std::move(rows)),
      m_row(current),
      m_trunks(Settings().PortCount) {
    setObjectName("stpPortConfigDialog");
    setWindowTitle(" Port STP Configuration");
    for (QStringList& r : m_rows)
        while (r.size() < kStpColumnCount) r << QString();

    m_port = ReadOnlyLine(this, "port");
    m_priority = new QComboBox(this);
    m_priority->setObjectName("portPriority");
    m_port->setFocusPolicy(Qt::NoFocus);
    for (int p = 0; p <= 240; p += 16) m_priority->addItem(QString::number(p));
    m_cost = new QLineEdit(this);
    m_cost->setObjectName("pathCost");
    m_cost->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,9}"), m_cost));
    m_enable = new QCheckBox(this);
    m_enable->setObjectName("portEnable");

    auto* settings = new QGroupBox(tr("Settings"), this);
    auto* settingsForm = new QFormLayout(settings);
    settingsForm->addRow(tr("Port"), m_port);
    settingsForm->addRow(tr("Priority:"), m_priority);
    settingsForm->addRow(tr("Cost:(1-200000000,\n0=auto)"), m_cost);
    settingsForm->addRow(tr("Enable:"), m_enable);

    m_status = ReadOnlyLine(this, "status");
    m_desigRoot = ReadOnlyLine(this, "desigRoot");
    m_desigRoot->setMinimumWidth(m_desigRoot->fontMetrics().horizontalAdvance("00:00:00:00:00:00:00:00") +
                                 16);
    m_desigCost = ReadOnlyLine(this, "desigCost");
    m_desigBridge = ReadOnlyLine(this, "desigBridge");
    m_desigPort = ReadOnlyLine(this, "desigPort");
    m_forward = ReadOnlyLine(this, "forward");
    auto* state = new QGroupBox(tr("Designated"), this);
    auto* stateForm = new QFormLayout(state);
    stateForm->addRow(tr("Status:"), m_status);
    stateForm->addRow(tr("Desig Root:"), m_desigRoot);
    stateForm->addRow(tr("Desig Cost:"), m_desigCost);
    stateForm->addRow(tr("Desig Bridge:"), m_desigBridge);
    stateForm->addRow(tr("Desig Port:"), m_desigPort);
    stateForm->addRow(tr("Forward:"), m_forward);

    auto* groups = new QHBoxLayout;
    groups->addWidget(settings, 1);
    groups->addWidget(state, 1);

    m_prev = new QPushButton(tr("<= Prev Port"), this);
    m_prev->setObjectName("prevPortButton");
    m_next = new QPushButton(tr("Next Port =>"), this);
    m_next->setObjectName("nextPortButton");
    m_apply = new QPushButton(tr("&Apply"), this);
    m_apply->setObjectName("applyButton");
    m_ok = new QPushButton(tr("OK"), this);
    m_ok->setObjectName("okButton");
    m_ok->setDefault(true);
    m_cancel = new QPushButton(tr("Cancel"), this);
    m_cancel->setObjectName("cancelButton");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_prev);
    buttons->addWidget(m_next);
    buttons->addStretch(1);
    buttons->addWidget(m_apply);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(m_prev, &QPushButton::clicked, this, &CStpPortConfigDlg::PrevPort);
    connect(m_next, &QPushButton::clicked, this, &CStpPortConfigDlg::NextPort);
    connect(m_apply, &QPushButton::clicked, this, [this] { Apply(); });
    connect(m_ok, &QPushButton::clicked, this, &CStpPortConfigDlg::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    if (m_row < 0 || m_row >= static_cast<int>(m_rows.size())) m_row = 0;
    ShowRow(false);
}

void CStpPortConfigDlg::OnInitDialog() {
    // Apply waits for the membership: without it an aggregated port could be written.
    ReadTrunkMembership(*this, m_cCommonSNMPTable, Settings().PortCount,
                        [this](const TrunkMembership& trunks, int) { m_trunks = trunks; }, {m_apply, m_ok});
    ReadPort();
}

int CStpPortConfigDlg::PortNumber() const {
    if (m_rows.empty()) return 0;
    return static_cast<int>(FieldValue(m_rows[m_row][kStpColPort].toStdString()));
}

void CStpPortConfigDlg::ShowRow(bool read) {
    if (!m_rows.empty()) {
        const QStringList& r = m_rows[m_row];
        m_port->setText(r[kStpColPort]);
        m_status->setText(r[kStpColStatus]);
        m_desigRoot->setText(r[kStpColDesignatedRoot]);
        m_desigCost->setText(r[kStpColDesignatedCost]);
        m_desigBridge->setText(r[kStpColDesignatedBridge]);
        m_desigPort->setText(r[kStpColDesignatedPort]);
        m_forward->setText(r[kStpColForwardings]);
    }
    m_prev->setEnabled(m_row > 0);
    m_next->setEnabled(m_row + 1 < static_cast<int>(m_rows.size()));
    if (read) ReadPort();
}

void CStpPortConfigDlg::ReadPort() {
    m_haveCurrent = false;
    const int p = PortNumber();
    if (p <= 0) return;
    const std::string suffix = std::to_string(p);
    // Apply and OK wait for the port's settings: they decide whether anything needs writing.
    StartGet(m_cCommonSNMP, {kPortPriority + suffix, kPortPathCost + suffix, kPortEnable + suffix},
             [this](const std::vector<SnmpBinding>& out) {
                 if (out.size() < 3) return;
                 int i = m_priority->findText(QString::fromStdString(out[0].value));
                 if (i < 0) {
                     m_priority->addItem(QString::fromStdString(out[0].value));
                     i = m_priority->count() - 1;
                 }
                 m_priority->setCurrentIndex(i);
                 m_cost->setText(QString::fromStdString(out[1].value));
                 m_enable->setChecked(out[2].value == "1");
                 m_current = {FieldValue(out[0].value), FieldValue(out[1].value), out[2].value == "1"};
                 m_haveCurrent = true;
             },
             {}, {m_apply, m_ok, m_prev, m_next});
}

void CStpPortConfigDlg::PrevPort() {
    if (m_row <= 0) return;
    --m_row;
    ShowRow();
}

void CStpPortConfigDlg::NextPort() {
    if (m_row + 1 >= static_cast<int>(m_rows.size())) return;
    ++m_row;
    ShowRow();
}

bool CStpPortConfigDlg::Apply() {
    const int p = PortNumber();
    if (p <= 0) return true;
    PortStpSettings wanted;
    wanted.priority = FieldValue(m_priority->currentText().toStdString());
    wanted.enabled = m_enable->isChecked();
    bool unchanged = false;
    const int rc = RunApply(
        this,
        {.check =
             [&] {
                 const QString error = CheckPathCost(m_cost->text().toStdString(), wanted.cost);
                 if (!error.isEmpty()) {
                     Inform(this, error, PromptIcon::Warning);
                     return false;
                 }
                 switch (DecidePortApply(m_trunks.InTrunk(p), m_haveCurrent ? &m_current : nullptr, wanted)) {
                     case PortApplyAction::Nothing:
                         unchanged = true;
                         return false;
                     case PortApplyAction::RefuseAggregated:
                         Inform(this,
                                "Cannot add ports with different STP configurations to an aggregated link.",
                                PromptIcon::Warning);
                         return false;
                     case PortApplyAction::Send:
                         break;
                 }
                 return true;
             },
         .write =
             [&] {
                 const std::string suffix = std::to_string(p);
                 return SetNow(
                     m_cCommonSNMPSet,
                     {{kPortPriority + suffix, kBindInteger, std::to_string(wanted.priority)},
                      {kVendorPathCost + suffix, kBindInteger, std::to_string(wanted.cost)},
                      {kPortEnable + suffix, kBindInteger, kStpPortEnableValues.TextOf(wanted.enabled)}});
             },
         .reread = [this] { ReadPort(); },
         .failureText = QStringLiteral("The switch did not accept the STP settings of port %1.").arg(p),
         .rereadOnFailure = true});
    return rc != kApplyRefused || unchanged;
}

void CStpPortConfigDlg::accept() {
    if (Apply()) CModuleDialog::accept();
}
