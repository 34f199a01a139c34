#include "dialogs/switch/lldp_med_dlg.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "dialogs/common/apply_sequence.h"
#include "dialogs/common/port_range.h"
#include "dialogs/common/user_prompt.h"
#include "dialogs/switch/lldp_rules.h"

namespace {

CListFormDialog::Frame MedFrame() {
    CListFormDialog::Frame f;
    f.title = QStringLiteral("LLDP MED Settings");
    f.objectName = QStringLiteral("lldpMedDialog");
    f.listGroup = QStringLiteral("LLDP-MED Power PSE TLV Setting");
    f.columns = {{QStringLiteral("   Port "), 80, Qt::AlignHCenter},
                 {QStringLiteral("Power PSE TLV"), 300, Qt::AlignHCenter}};
    f.buttons = CListFormDialog::kApply | CListFormDialog::kRefresh | CListFormDialog::kClose;
    return f;
}

// After the writes the switch needs a moment before the table shows them.
constexpr int kRereadPauseMs = 1000;

}  // namespace

CLldpMedDlg::CLldpMedDlg(QWidget* parent)
    : CListFormDialog(MedFrame(), parent),
      m_cCommonSNMPEnable(AddSession("m_cCommonSNMPEnable")),
      m_cCommonSNMP(AddSession("m_cCommonSNMP")),
      m_cCommonSNMPSet(AddSession("m_cCommonSNMPSet")) {
    m_from = Named<QComboBox>("fromPort", this);
    m_to = Named<QComboBox>("toPort", this);
    m_tlv = Named<QComboBox>("powerPseTlv", this);
    AddChoices(m_tlv, kMedTlvChoices);
    m_tlv->setCurrentIndex(1);
    m_range = new CPortRange(m_from, m_to, 1, kMedPorts, this,
                             [](int port) { return QString::fromStdString(PaddedPort(port)); });
    m_range->Select(1, 1);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("From Port"), this));
    row->addWidget(m_from);
    row->addWidget(new QLabel(QStringLiteral("To Port"), this));
    row->addWidget(m_to);
    row->addWidget(new QLabel(QStringLiteral("Power PSE TLV"), this));
    row->addWidget(m_tlv);
    row->addStretch(1);
    TopArea()->addLayout(row);
    List()->setMinimumHeight(140);
    DisableWithoutWriteAccess({StandardButton(kApply)});
}

void CLldpMedDlg::EnableControls(bool on) {
    for (QWidget* w :
         {static_cast<QWidget*>(m_from), static_cast<QWidget*>(m_to), static_cast<QWidget*>(m_tlv),
          static_cast<QWidget*>(List()), static_cast<QWidget*>(StandardButton(kRefresh))})
        w->setEnabled(on);
    StandardButton(kApply)->setEnabled(on && Settings().WriteAccess);
}

void CLldpMedDlg::ReadAll() {
    StartGet(m_cCommonSNMPEnable, {LldpOid::kState}, [this](const std::vector<SnmpBinding>& answer) {
        const bool off = !answer.empty() && answer[0].value == "2";
        if (off) Inform(this, QString::fromLatin1(LldpText::kMedWhileDisabled));
        EnableControls(!off);
        WalkList(m_cCommonSNMP, {LldpOid::kMedPseTlv}, WalkOptions{1, Settings().PortCount, 0});
    });
}

std::optional<QStringList> CLldpMedDlg::LineFromRow(const WalkRow& row) {
    return QStringList{QString::fromStdString(PaddedPort(row.index + 1)),
                       row.bindings[0].value == "2" ? QStringLiteral("Disable") : QStringLiteral("Enable")};
}

void CLldpMedDlg::OnApply() {
    const int from = m_range->From(), to = m_range->To();
    const std::string value = ValueText(ChoiceValue(kMedTlvChoices, m_tlv->currentIndex()));
    std::vector<int> refused;
    ApplyPlan plan;
    plan.write = [this, from, to, value, &refused]() -> int {
        // A port the switch refuses does not stop the others.
        RunWriteLoop(this, WriteLoop{to - from + 1,
                                     [&, this](int i) {
                                         const int rc =
                                             SetNow(m_cCommonSNMPSet, {{std::string(LldpOid::kMedPseTlv) +
                                                                            "." + std::to_string(from + i),
                                                                        kBindInteger, value}});
                                         if (rc != 0) refused.push_back(from + i);
                                         return rc;
                                     },
                                     0,
                                     false,
                                     {}});
        if (refused.empty()) return 0;
        PauseKeepingPainted(kRereadPauseMs);  // the ports that were written settle as after a success
        return kSnmpFailed;
    };
    plan.pauseMs = kRereadPauseMs;
    plan.reread = [this] { Refresh(); };
    plan.failureTextOf = [&refused](int) {
        return QStringLiteral("The switch did not accept the Power PSE TLV of %1.").arg(PortsText(refused));
    };
    plan.rereadOnFailure = true;
    RunApply(this, plan);
}
