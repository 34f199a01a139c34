#include "dialogs/agent/snmp_host_table_dlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>

#include "dialogs/agent/agent_widgets.h"
#include "dialogs/common/ip_address_edit.h"

CSnmpHostTableDlg::CSnmpHostTableDlg(QWidget* parent)
    : CAgentTableDlg({QStringLiteral("SNMP Host Table"),
                      QStringLiteral("snmpHostDialog"),
                      QStringLiteral("Host Table Info"),
                      {{QStringLiteral("Host IP Address"), 150},
                       {QStringLiteral("SNMP Version"), 130},
                       {QStringLiteral("Community Name/SNMPv3 User Name "), 250}},
                      kDelete | kApply | kRefresh | kClose,
                      QString(),
                      false},
                     parent) {
    QWidget* form = FormGrid(QStringLiteral("Host Table Setting"))->parentWidget();
    m_address = new CIpAddressEdit(form);
    m_address->setObjectName(QStringLiteral("hostAddress"));
    m_version = ChoiceCombo(form, "snmpVersion", kHostVersionChoices);
    m_name = NameEdit(form, "hostName");
    AddField(QStringLiteral("Host IP Adress"), m_address);
    AddField(QStringLiteral("SNMP Version"), m_version);
    AddField(QStringLiteral("Community String/SNMPv3 User Name"), m_name);
}

void CSnmpHostTableDlg::ReadAll() {
    auto line = [](const AgentHostRow& r) {
        return QStringList{Text(r.address), Text(r.version), Text(r.name)};
    };
    Access().ReadHostTable(ListRows(m_rows, line), {}, BusyButtons());
}

void CSnmpHostTableDlg::OnApply() {
    const Ipv4Fields address = m_address->Fields();
    const std::string name = Typed(m_name, true);
    auto check = [&] {
        const std::string refusal = HostRefusal(address, name, m_rows);
        if (Refuse(this, refusal)) return true;
        if (refusal == AgentText::kHostInvalid) m_address->setFocus();
        return false;
    };
    const int version = ChoiceValue(kHostVersionChoices, m_version->currentIndex());
    ApplyNewRow(check, QStringLiteral("host"),
                [&](RowCreateResult* made) { return Access().AddHost(name, address.Text(), version, made); });
}

void CSnmpHostTableDlg::OnDelete() {
    const int line = SelectedLine(QString::fromLatin1(AgentText::kSelecteDelete));
    if (line < 0) return;
    DestroyRow(AgentColumn(AgentOid::kHostColumn, 4, "." + m_rows[line].address));
}

void CSnmpHostTableDlg::ResetForm() {
    m_address->clear();
    m_version->setCurrentIndex(0);
    m_name->clear();
}
