#include "dialogs/agent/snmp_user_table_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

#include "dialogs/agent/agent_widgets.h"
#include "snmp/encodings.h"

CSnmpUserTableDlg::CSnmpUserTableDlg(QWidget* parent)
    : CAgentTableDlg({QStringLiteral("SNMP User Table "),
                      QStringLiteral("snmpUserDialog"),
                      QStringLiteral("User Table Info"),
                      {{QStringLiteral("User Name"), 100},
                       {QStringLiteral("Group Name"), 100},
                       {QStringLiteral("SNMP Version"), 100},
                       {QStringLiteral("Auth Protocol"), 105},
                       {QStringLiteral("Priv-Protocol"), 105}},
                      kDelete | kApply | kRefresh | kClose,
                      QString(),
                      false},
                     parent) {
    QGridLayout* grid = FormGrid(QStringLiteral("User Table Setting"));
    QWidget* form = grid->parentWidget();
    m_userName = NameEdit(form, "userName");
    m_groupName = NameEdit(form, "groupName");
    m_version = ChoiceCombo(form, "snmpVersion", kUserVersionChoices);
    m_encrypted = new QCheckBox(QStringLiteral("encrypted"), form);
    m_encrypted->setObjectName(QStringLiteral("encrypted"));
    m_authProtocol = ChoiceCombo(form, "authProtocol", kAuthProtocolChoices);
    m_authPassword = PasswordEdit(form, "authPassword");
    m_privProtocol = ChoiceCombo(form, "privProtocol", kPrivProtocolChoices);
    m_privPassword = PasswordEdit(form, "privPassword");
    AddField(QStringLiteral("User Name"), m_userName);
    AddField(QStringLiteral("Group Name"), m_groupName);
    AddField(QStringLiteral("SNMP Version"), m_version);
    AddField(QString(), m_encrypted);
    AddField(QStringLiteral("Auth-Protocol"), m_authProtocol, 1);
    AddField(QStringLiteral("Password"), m_authPassword, 1);
    AddField(QStringLiteral("Priv-Protocol"), m_privProtocol, 1);
    AddField(QStringLiteral("Password"), m_privPassword, 1);

    connect(m_version, &QComboBox::currentIndexChanged, this, [this] {
        // Away from V3 there is nothing to encrypt: a box left ticked would demand passwords of a V1 user.
        if (m_version->currentText() != QLatin1String("V3")) m_encrypted->setChecked(false);
        UpdateEnabling();
    });
    connect(m_encrypted, &QCheckBox::toggled, this, &CSnmpUserTableDlg::UpdateEnabling);
    connect(m_privProtocol, &QComboBox::currentIndexChanged, this, &CSnmpUserTableDlg::UpdateEnabling);
    UpdateEnabling();
}

void CSnmpUserTableDlg::UpdateEnabling() {
    const bool v3 = m_version->currentText() == QLatin1String("V3");
    const bool encrypted = v3 && m_encrypted->isChecked();
    m_encrypted->setEnabled(v3);
    m_authProtocol->setEnabled(encrypted);
    m_authPassword->setEnabled(encrypted);
    m_privProtocol->setEnabled(encrypted);
    m_privPassword->setEnabled(encrypted && m_privProtocol->currentText() == QLatin1String("DES"));
}

void CSnmpUserTableDlg::ReadAll() {
    auto line = [](const AgentUserRow& r) {
        return QStringList{Text(r.name), Text(r.group), Text(r.version), Text(r.authProtocol),
                           Text(r.privProtocol)};
    };
    Access().ReadUserTable(ListRows(m_rows, line), {}, BusyButtons());
}

void CSnmpUserTableDlg::OnApply() {
    UserEntry e;
    e.name = Typed(m_userName, true);
    e.group = Typed(m_groupName, true);
    e.version = m_version->currentText().toStdString();
    e.encrypted = m_encrypted->isChecked();
    e.authProtocol = m_authProtocol->currentText().toStdString();
    e.authPassword = Typed(m_authPassword, false);
    e.privProtocol = m_privProtocol->currentText().toStdString();
    e.privPassword = e.privProtocol == "DES" ? Typed(m_privPassword, false) : std::string();
    auto check = [&] {
        UserField focus = UserField::None;
        if (Refuse(this, UserRefusal(e, m_rows, &focus))) return true;
        if (QLineEdit* edit = focus == UserField::AuthPassword   ? m_authPassword
                              : focus == UserField::PrivPassword ? m_privPassword
                                                                 : nullptr) {
            edit->setFocus();
            edit->selectAll();
        }
        return false;
    };
    ApplyNewRow(check, QStringLiteral("user"),
                [&](RowCreateResult* made) { return Access().AddUser(e, made); });
}

void CSnmpUserTableDlg::OnDelete() {
    const int line = SelectedLine(QString::fromLatin1(AgentText::kSelectDelete));
    if (line < 0) return;
    const AgentUserRow& r = m_rows[line];
    DestroyRow(AgentColumn(AgentOid::kUserColumn, 8, NameVersionIndex(r.name, r.version)));
}

void CSnmpUserTableDlg::ResetForm() {
    for (QLineEdit* e : {m_userName, m_groupName, m_authPassword, m_privPassword}) e->clear();
    for (QComboBox* c : {m_version, m_authProtocol, m_privProtocol}) c->setCurrentIndex(0);
    m_encrypted->setChecked(false);
    UpdateEnabling();
}
