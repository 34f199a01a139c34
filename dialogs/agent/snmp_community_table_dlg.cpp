#include "dialogs/agent/snmp_community_table_dlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QTreeWidget>

#include "dialogs/agent/agent_widgets.h"
#include "snmp/encodings.h"

CSnmpCommunityTableDlg::CSnmpCommunityTableDlg(QWidget* parent)
    : CAgentTableDlg({QStringLiteral("SNMP Community Table Configuration"),
                      QStringLiteral("snmpCommunityDialog"),
                      QStringLiteral("Community Table Info"),
                      {{QStringLiteral("Community Name"), 250}, {QStringLiteral("User Name"), 248}},
                      kDelete | kApply | kRefresh | kClose,
                      QString(),
                      false},
                     parent) {
    QWidget* form = FormGrid(QStringLiteral("Community Table Setting"))->parentWidget();
    m_name = NameEdit(form, "communityName");
    m_user = Combo(form, "userName", {});
    AddField(QStringLiteral("Community Name "), m_name);
    AddField(QStringLiteral("User Name (View Policy)"), m_user);
}

void CSnmpCommunityTableDlg::ReadAll() {
    auto line = [](const AgentCommunityRow& r) { return QStringList{Text(r.name), Text(r.user)}; };
    m_user->clear();
    Access().ReadCommunityTable(
        ListRows(m_rows, line),
        [this](const AgentUserRow& u) {
            // A community's view policy comes from a V1/V2c user; each name once, though it may exist
            // for both versions.
            if (u.version == "V3" || u.version == "v3" || u.rowStatus != "1") return;
            if (m_user->findText(Text(u.name), Qt::MatchFixedString | Qt::MatchCaseSensitive) < 0)
                m_user->addItem(Text(u.name));
        },
        [this](int) { m_user->setCurrentIndex(m_user->count() > 0 ? 0 : -1); }, BusyButtons());
}

void CSnmpCommunityTableDlg::OnApply() {
    const std::string name = Typed(m_name, true);
    const std::string user = m_user->currentText().toUtf8().toStdString();
    auto check = [&] {
        if (!Refuse(this, CommunityRefusal(name, m_rows))) return false;
        return Refuse(this, std::string(user.empty() ? AgentText::kCommunityNoUser : ""));
    };
    ApplyNewRow(check, QStringLiteral("community"),
                [&](RowCreateResult* made) { return Access().AddCommunity(name, user, made); });
}

void CSnmpCommunityTableDlg::OnDelete() {
    const int line = SelectedLine(QString::fromLatin1(AgentText::kSelectDelete));
    if (line < 0) return;
    DestroyRow(AgentColumn(AgentOid::kCommunityColumn, 3, NameIndex(m_rows[line].name)));
}

void CSnmpCommunityTableDlg::ResetForm() {
    m_user->setCurrentIndex(m_user->count() > 0 ? 0 : -1);
    m_name->clear();
}
