#include "dialogs/agent/snmp_group_table_dlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>

#include "dialogs/agent/agent_widgets.h"

CSnmpGroupTableDlg::CSnmpGroupTableDlg(QWidget* parent)
    : CAgentTableDlg({QStringLiteral("SNMP Group Table Info"),
                      QStringLiteral("snmpGroupDialog"),
                      QStringLiteral("Group Table Info"),
                      {{QStringLiteral("Group Name"), 100},
                       {QStringLiteral("Read View"), 100},
                       {QStringLiteral("Write View"), 100},
                       {QStringLiteral("Notify View"), 100},
                       {QStringLiteral("Security Model"), 100},
                       {QStringLiteral("Security Level"), 100}},
                      kDelete | kApply | kRefresh | kClose,
                      QString(),
                      false},
                     parent) {
    QWidget* form = FormGrid(QStringLiteral("Group Table Setting"))->parentWidget();
    m_groupName = NameEdit(form, "groupName");
    m_readView = NameEdit(form, "readView");
    m_writeView = NameEdit(form, "writeView");
    m_notifyView = NameEdit(form, "notifyView");
    m_model = ChoiceCombo(form, "securityModel", kSecurityModelChoices);
    m_level = ChoiceCombo(form, "securityLevel", kSecurityLevelChoices);
    AddField(QStringLiteral("Group Name"), m_groupName);
    AddField(QStringLiteral("Security Model"), m_model);
    AddField(QStringLiteral("Security Level"), m_level);
    AddField(QStringLiteral("Read View Name "), m_readView, 1);
    AddField(QStringLiteral("Write View Name"), m_writeView, 1);
    AddField(QStringLiteral("Notify View Name "), m_notifyView, 1);
    connect(m_model, &QComboBox::currentIndexChanged, this, &CSnmpGroupTableDlg::UpdateEnabling);
    UpdateEnabling();
}

void CSnmpGroupTableDlg::UpdateEnabling() {
    const bool v3 = m_model->currentText() == QLatin1String("v3");
    // v1 and v2c know no security level but NoAuthNoPriv: a level left from v3 would make a group that
    // no request can ever match.
    if (!v3) m_level->setCurrentIndex(0);
    m_level->setEnabled(v3);
}

void CSnmpGroupTableDlg::ReadAll() {
    auto line = [](const AgentGroupRow& r) {
        return QStringList{Text(r.name),       Text(r.readView), Text(r.writeView),
                           Text(r.notifyView), Text(r.model),    Text(r.level)};
    };
    Access().ReadGroupTable(ListRows(m_rows, line), {}, BusyButtons());
}

void CSnmpGroupTableDlg::OnApply() {
    GroupEntry e;
    e.name = Typed(m_groupName, true);
    e.model = m_model->currentText().toStdString();
    e.levelPosition = m_level->currentIndex();
    e.readView = Typed(m_readView, true);
    e.writeView = Typed(m_writeView, true);
    e.notifyView = Typed(m_notifyView, true);
    ApplyNewRow([&] { return Refuse(this, GroupRefusal(e, m_rows)); }, QStringLiteral("group"),
                [&](RowCreateResult* made) { return Access().AddGroup(e, made); }, 50);
}

void CSnmpGroupTableDlg::OnDelete() {
    const int line = SelectedLine(QString::fromLatin1(AgentText::kSelectDelete));
    if (line < 0) return;
    const AgentGroupRow& r = m_rows[line];
    DestroyRow(AgentColumn(AgentOid::kGroupColumn, 7, GroupIndex(r.name, r.model, LevelPosition(r.level))));
}

void CSnmpGroupTableDlg::ResetForm() {
    for (QLineEdit* e : {m_groupName, m_readView, m_writeView, m_notifyView}) e->clear();
    m_model->setCurrentIndex(0);
    UpdateEnabling();
}
