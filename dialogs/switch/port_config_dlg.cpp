#include "dialogs/switch/port_config_dlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QIntValidator>
#include <QLineEdit>
#include <QTreeWidget>

#include "core/text_number.h"
#include "dialogs/common/apply_sequence.h"
#include "dialogs/common/table_reader.h"
#include "dialogs/common/user_prompt.h"

namespace {

CListFormDialog::Frame PortFrame() {
    CListFormDialog::Frame f;
    f.title = QStringLiteral("Port Configuration");
    f.objectName = QStringLiteral("portConfigDialog");
    f.listGroup = QStringLiteral("Port Information");
    for (const char* heading : {"Index ", "PortControlSpeed ", "OperMode  ", "FlowControlMode  ",
                                "DefaultPriority  ", "OperFlowControlMode  "})
        f.columns.push_back({QString::fromLatin1(heading), 0});
    f.buttons = CListFormDialog::kApply | CListFormDialog::kRefresh | CListFormDialog::kClose;
    return f;
}

}  // namespace

CPortConfigDlg::CPortConfigDlg(QWidget* parent)
    : CListFormDialog(PortFrame(), parent),
      m_cCommonSNMP(AddSession("m_cCommonSNMP")),
      m_cCommonSNMPTable(AddSession("m_cCommonSNMPTable")),
      m_portCount(Settings().PortCount > 0 ? Settings().PortCount : 0) {
    List()->setRootIsDecorated(false);

    auto* group = new QGroupBox(QStringLiteral("Port Configuration"), this);
    m_portId = new QLineEdit(group);
    m_portId->setObjectName(QStringLiteral("portId"));
    m_portId->setEnabled(false);
    m_portId->setValidator(new QIntValidator(0, 999, m_portId));
    m_ctrlSpeed = new QComboBox(group);
    m_ctrlSpeed->setObjectName(QStringLiteral("portControlSpeed"));
    AddChoices(m_ctrlSpeed, kSpeedChoices);
    m_flowControl = new QComboBox(group);
    m_flowControl->setObjectName(QStringLiteral("flowControlMode"));
    AddChoices(m_flowControl, kFlowControlChoices);
    auto* form = new QFormLayout(group);
    form->addRow(QStringLiteral("Port ID:"), m_portId);
    form->addRow(QStringLiteral("PortControlSpeed:"), m_ctrlSpeed);
    form->addRow(QStringLiteral("FlowControlMode:"), m_flowControl);
    FormArea()->addWidget(group);

    DisableWithoutWriteAccess({StandardButton(kApply)});
    resize(780, 480 + (m_portCount > 8 ? 200 : 0));
}

void CPortConfigDlg::ReadAll() {
    const std::size_t n = static_cast<std::size_t>(m_portCount);
    m_ports.speed.assign(n, 0);
    m_ports.medium.assign(n, 0);
    m_ports.trunkOf.assign(n, 0);
    m_ports.allGiga = Settings().AllGiga;
    m_flow.assign(n, 0);
    // The trunk membership and the port table are read side by side on the two sessions; Apply, which
    // needs both, stays disabled until both have ended.
    ReadTrunkMembership(
        *this, m_cCommonSNMP, m_portCount,
        [this](const TrunkMembership& trunks, int) { m_ports.trunkOf = trunks.TrunkOfPort(); },
        BusyButtons());
    WalkList(m_cCommonSNMPTable,
             {PortOid::kSpeed, PortOid::kOperMode, PortOid::kFlowControl, PortOid::kPriority,
              PortOid::kOperFlowControl, PortOid::kMedium},
             WalkOptions{6, m_portCount, 0});
}

std::optional<QStringList> CPortConfigDlg::LineFromRow(const WalkRow& row) {
    if (row.bindings.size() < 6 || row.suffixes.empty() || row.suffixes[0].size() < 2) return std::nullopt;
    const int port = LeadingInt(row.suffixes[0].substr(1));
    if (port < 1 || port > m_portCount) return std::nullopt;
    int code[6];
    for (int i = 0; i < 6; ++i) code[i] = LeadingInt(row.bindings[i].value);
    m_ports.speed[port - 1] = code[0];
    m_flow[port - 1] = code[2];
    m_ports.medium[port - 1] = code[5];
    const bool combination = port > m_portCount - CombinationPortCount(m_portCount);
    return QStringList{QString::number(port),
                       QString::fromStdString(SpeedText(code[0], false, combination, code[5])),
                       QString::fromStdString(SpeedText(code[1], true, combination, code[5])),
                       QString::fromStdString(FlowControlText(code[2])),
                       QString::fromStdString(PriorityText(code[3])),
                       QString::fromStdString(OperFlowControlText(code[4]))};
}

void CPortConfigDlg::OnListRead(int) {
    SelectPendingPort();
}

void CPortConfigDlg::SelectPort(int port) {
    m_pendingPort = port;
    if (ActiveWalks() == 0) SelectPendingPort();
}

bool CPortConfigDlg::SelectPendingPort() {
    if (m_pendingPort == 0) return false;
    for (int i = 0; i < LineCount(); ++i) {
        QTreeWidgetItem* line = List()->topLevelItem(i);
        if (line->text(0).toInt() != m_pendingPort) continue;
        m_pendingPort = 0;
        List()->setCurrentItem(line);
        List()->scrollToItem(line);
        return true;
    }
    return false;
}

void CPortConfigDlg::OnLineSelected(QTreeWidgetItem* item) {
    const int port = item->text(0).toInt();
    if (port < 1 || port > m_portCount) return;
    m_portId->setText(QString::number(port));
    const int speed = m_ports.speed[port - 1];
    if (speed >= kSpeed1000Full && speed <= kSpeedDisable) m_ctrlSpeed->setCurrentIndex(speed - 1);
    m_flowControl->setCurrentIndex(m_flow[port - 1] == 1 ? 0 : 1);
}

void CPortConfigDlg::OnApply() {
    const int port = m_portId->text().toInt();
    const int speed = ChoiceValue(kSpeedChoices, m_ctrlSpeed->currentIndex());
    const int flow = ChoiceValue(kFlowControlChoices, m_flowControl->currentIndex());
    RunApply(this, {.check =
                        [this, port, speed, flow] {
                            if (!Refuse(this, PortApplyRefusal(m_ports, port, speed))) return false;
                            if (IsForcedSpeed(speed) &&
                                !Confirm(this, QString::fromLatin1(PortText::kForceQuestion)))
                                return false;
                            return flow != 1 || Confirm(this, QString::fromLatin1(PortText::kFlowQuestion));
                        },
                    .write =
                        [this, port, speed, flow] {
                            const std::string n = "." + std::to_string(port);
                            return SetNow(m_cCommonSNMP,
                                          {{PortOid::kSpeed + n, kBindInteger, std::to_string(speed)},
                                           {PortOid::kFlowControl + n, kBindInteger, std::to_string(flow)}});
                        },
                    .reread =
                        [this, port] {
                            m_pendingPort = port;  // the user goes on with the port just written
                            Refresh();
                        },
                    .failureText = QStringLiteral("The switch did not accept the speed and flow control of "
                                                  "port %1.")
                                       .arg(port),
                    .rereadOnFailure = true});
}
