#include "dialogs/switch/dhcp_screening_dlg.h"

#include <QComboBox>

#include "dialogs/common/apply_sequence.h"
#include "dialogs/common/port_range.h"
#include "dialogs/switch/security_filter_rules.h"
#include "snmp/encodings.h"

namespace {

const QStringList kStateTexts = {QStringLiteral("Disabled"), QStringLiteral("Enabled")};

CListFormDialog::Frame DhcpFrame() {
    CListFormDialog::Frame f;
    f.title = QStringLiteral("DHCP Server Screening Port Settings");
    f.objectName = QStringLiteral("dhcpScreeningDialog");
    return f;
}

}  // namespace

CDhcpScreeningDlg::CDhcpScreeningDlg(QWidget* parent)
    : CPortRangeListDialog(DhcpFrame(), QStringLiteral("State"), "state", kDhcpStateChoices, parent) {
    resize(460, 480);
}

void CDhcpScreeningDlg::ReadAll() {
    ClearList();
    m_states.clear();
    ReadTrunks();
    StartGet(
        m_cCommonSNMP, {FilterOid::kDhcpScreening},
        [this](const std::vector<SnmpBinding>& answer) {
            if (!answer.empty() && answer[0].type == kSnmpOctetString) ShowStates(answer[0].value);
        },
        {}, BusyButtons());
}

void CDhcpScreeningDlg::ShowStates(const std::string& portList) {
    m_states = PortTextToFlags(PortListToText(portList, m_portCount), m_portCount);
    for (int p = 1; p <= m_portCount; ++p)
        AddLine({QString::number(p), kStateTexts[m_states[p - 1] ? 1 : 0]});
}

void CDhcpScreeningDlg::OnApply() {
    const std::vector<int> states = ScreeningAfterApply(
        m_states, m_range->From(), m_range->To(), ChoiceValue(kDhcpStateChoices, m_value->currentIndex()));
    ApplyPlan plan;
    plan.check = [&] {
        // Without the listed states the other ports' screening would be lost.
        if (m_states.empty() || !TrunksRead()) return Refuse(this, QString::fromLatin1(kSettingsNotReadText));
        return Refuse(this, ScreeningRefusal(Trunks(), states));
    };
    plan.write = [&] {
        const std::vector<unsigned char> list = HexToBytes(PortFlagsToHex(states));
        return SetNow(m_cCommonSNMPSet,
                      {{FilterOid::kDhcpScreening, kBindOctets, std::string(list.begin(), list.end())}});
    };
    plan.failureText = QStringLiteral("The switch did not accept the DHCP server screening ports.");
    plan.reread = [this] { Refresh(); };
    plan.rereadOnFailure = true;
    RunApply(this, plan);
}
