#include "dialogs/switch/dot1x_port_dlg.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "core/text_number.h"
#include "dialogs/common/apply_sequence.h"
#include "dialogs/common/port_range.h"
#include "dialogs/common/table_reader.h"
#include "dialogs/switch/dot1x_rules.h"

namespace {

CListFormDialog::Frame PortFrame() {
    CListFormDialog::Frame f;
    f.title = QStringLiteral("802.1X Port Configuration");
    f.objectName = QStringLiteral("dot1xPortDialog");
    for (const char* heading :
         {"Index", "AuthControlledPortStatus", "AuthControlledPortControl", "QuietPeriod", "TxPeriod",
          "SuppTimeout", "ServerTimeout", "MaxReq", "ReAuthPeriod", "ReAuthEnabled"})
        f.columns.push_back({QLatin1String(heading)});
    f.buttons = CListFormDialog::kApply | CListFormDialog::kRefresh | CListFormDialog::kClose;
    return f;
}

// After each batch of port-control writes the switch gets a breath before the next.
constexpr int kBatchPauseMs = 100;

}  // namespace

CDot1xPortDlg::CDot1xPortDlg(const QStringList& timerTexts, QWidget* parent)
    : CListFormDialog(PortFrame(), parent),
      m_cCommonSNMP(AddSession("m_cCommonSNMP")),
      m_cCommonSNMPTrunk(AddSession("m_cCommonSNMPTrunk")),
      m_cCommonSNMPSet(AddSession("m_cCommonSNMPSet")),
      m_portCount(Settings().PortCount > 0 ? Settings().PortCount : 0),
      m_timerTexts(timerTexts),
      m_portContrl(m_portCount, 0),
      m_TrunkData(m_portCount, 0),
      m_trunks(m_portCount) {
    while (m_timerTexts.size() < 7) m_timerTexts << QString();
    StandardButton(kApply)->setText(QStringLiteral("Apply"));
    StandardButton(kClose)->setText(QStringLiteral("Cancel"));

    auto* group = new QGroupBox(QStringLiteral("802.1X Port Access Control"), this);
    group->setObjectName(QStringLiteral("portAccessControl"));
    m_from = Named<QComboBox>("fromPort", group);
    m_to = Named<QComboBox>("toPort", group);
    m_control = Named<QComboBox>("control", group);
    AddChoices(m_control, kPortControlChoices);
    m_control->setCurrentIndex(1);
    m_range = new CPortRange(m_from, m_to, 1, m_portCount, this);
    auto* row = new QHBoxLayout(group);
    row->addWidget(new QLabel(QStringLiteral("From Port:"), group));
    row->addWidget(m_from);
    row->addWidget(new QLabel(QStringLiteral("To Port:"), group));
    row->addWidget(m_to);
    row->addWidget(new QLabel(QStringLiteral("Control:"), group));
    row->addWidget(m_control);
    row->addStretch(1);
    TopArea()->addWidget(group);
    resize(1000, 420);
    DisableWithoutWriteAccess({StandardButton(kApply)});
}

void CDot1xPortDlg::ReadAll() {
    std::fill(m_portContrl.begin(), m_portContrl.end(), 0);
    std::fill(m_TrunkData.begin(), m_TrunkData.end(), 0);
    m_trunksRead = m_controlsRead = false;
    ClearList();
    ReadTrunkMembership(
        *this, m_cCommonSNMPTrunk, m_portCount,
        [this](const TrunkMembership& trunks, int status) {
            m_trunks = trunks;
            m_trunksRead = status != kSnmpFailed;
            m_TrunkData = trunks.TrunkOfPort();
            WalkList(m_cCommonSNMP, {Dot1xOid::kPortStatus, Dot1xOid::kPortControl},
                     WalkOptions{2, m_portCount, 0});
        },
        BusyButtons());
}

void CDot1xPortDlg::OnListRead(int status) {
    m_controlsRead = status != kSnmpFailed;
}

std::optional<QStringList> CDot1xPortDlg::LineFromRow(const WalkRow& row) {
    const int port = LeadingInt(row.suffixes[0].substr(row.suffixes[0].rfind('.') + 1));
    const int control = LeadingInt(row.bindings[1].value);
    if (port >= 1 && port <= m_portCount) m_portContrl[port - 1] = control;
    return QStringList{QString::number(port),
                       QString::fromStdString(PortStatusText(LeadingInt(row.bindings[0].value))),
                       QString::fromStdString(PortControlText(control))} +
           m_timerTexts.mid(0, 7);
}

void CDot1xPortDlg::OnApply() {
    const int from = m_range->From(), to = m_range->To();
    const int code = ChoiceValue(kPortControlChoices, m_control->currentIndex());
    auto check = [this, from, to, code] {
        if (!m_trunksRead || !m_controlsRead) return Refuse(this, QString::fromLatin1(kSettingsNotReadText));
        if (m_trunks.FirstTrunkPortIn(from, to) != 0) return Refuse(this, std::string(Dot1xText::kTrunkPort));
        return Refuse(this, AllPortsRefusal(m_portContrl, from, to, code));
    };
    std::vector<int> refused;
    auto write = [this, from, to, code, &refused] {
        const std::vector<std::vector<int>> batches = PortControlBatches(from, to);
        WriteLoop loop;
        loop.count = static_cast<int>(batches.size());
        loop.write = [this, &batches, code, &refused](int i) {
            const std::vector<int>& ports = batches[static_cast<std::size_t>(i)];
            std::vector<SetItem> items;
            for (int port : ports)
                items.push_back({std::string(Dot1xOid::kPortControl) + "." + std::to_string(port),
                                 kBindInteger, std::to_string(code)});
            const int rc = SetNow(m_cCommonSNMPSet, items);
            if (rc != 0) refused.insert(refused.end(), ports.begin(), ports.end());
            return rc;
        };
        loop.pauseMs = kBatchPauseMs;
        loop.stopOnFailure = false;  // a refused batch does not keep the later ports from their setting
        RunWriteLoop(this, loop);
        return refused.empty() ? 0 : int(kSnmpFailed);
    };
    auto refusedText = [&refused](int) {
        return QStringLiteral("The switch did not accept the port control of %1.").arg(PortsText(refused));
    };
    RunApply(this, ApplyPlan{check, write, 0, [this] { Refresh(); }, {}, true, refusedText});
}
