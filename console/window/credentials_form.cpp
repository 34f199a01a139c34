#include "console/window/credentials_form.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

// Net-SNMP turns a password into a key only from 8 characters on (RFC 3414 asks for at least 8).
const int kMinPasswordLength = 8;

QComboBox* Combo(const char* name, const QList<std::pair<QString, int>>& entries) {
    auto* combo = new QComboBox;
    combo->setObjectName(name);
    for (const auto& [text, code] : entries) combo->addItem(text, code);
    return combo;
}

QLineEdit* Edit(const char* name, bool secret, const QString& placeholder = {}) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setPlaceholderText(placeholder);
    if (secret) edit->setEchoMode(QLineEdit::Password);
    return edit;
}

void Select(QComboBox* combo, int code) {
    const int index = combo->findData(code);
    if (index >= 0) combo->setCurrentIndex(index);
}

}  // namespace

QLabel* BuddyLabel(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

QString CredentialsProblem(const CredentialSet& c) {
    if (c.version != 3)
        return c.community.isEmpty()
                   ? QStringLiteral("Give the read community (SNMPv1 and SNMPv2c need one).")
                   : QString();
    if (c.userName.isEmpty()) return QStringLiteral("An SNMPv3 device needs a user name.");
    if (c.userName.contains(' ') || c.userName.contains('/'))
        return QStringLiteral("The SNMPv3 user name may contain neither blanks nor slashes.");
    if (c.securityLevel >= 2 && c.authPassword.size() < kMinPasswordLength)
        return QStringLiteral("The authentication password needs at least %1 characters.")
            .arg(kMinPasswordLength);
    if (c.securityLevel == 3 && c.privPassword.size() < kMinPasswordLength)
        return QStringLiteral("The privacy password needs at least %1 characters.").arg(kMinPasswordLength);
    return {};
}

CredentialsForm::CredentialsForm(bool withWriteCommunity, QWidget* parent) : QWidget(parent) {
    m_version = Combo("version", {{"SNMPv1", 1}, {"SNMPv2c", 2}, {"SNMPv3", 3}});
    m_readCommunity = Edit("readCommunity", true);
    m_user = Edit("userName", false);
    m_level = Combo("securityLevel", {{"noAuthNoPriv (no authentication, no privacy)", 1},
                                      {"authNoPriv (authentication, no privacy)", 2},
                                      {"authPriv (authentication and privacy)", 3}});
    QList<std::pair<QString, int>> auth;
    for (int code = 2; code <= 7; ++code) auth.append({AuthProtocolText(code), code});
    m_auth = Combo("authProtocol", auth);
    m_authPassword = Edit("authPassword", true);
    m_priv = Combo("privProtocol", {{PrivProtocolText(2), 2}, {PrivProtocolText(4), 4}});
    m_privPassword = Edit("privPassword", true);
    Select(m_auth, 3);
    Select(m_priv, 4);

    m_form = new QFormLayout(this);
    m_form->setContentsMargins(0, 0, 0, 0);
    m_form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    m_form->addRow("SNMP &version:", m_version);
    m_form->addRow("&Read community:", m_readCommunity);
    if (withWriteCommunity) {
        m_writeCommunity = Edit("writeCommunity", true, "none: the module only reads");
        m_form->addRow("&Write community:", m_writeCommunity);
    }
    m_form->addRow("&User:", m_user);
    m_form->addRow("Security &level:", m_level);
    m_form->addRow("Aut&hentication:", m_auth);
    m_form->addRow("Authentication &password:", m_authPassword);
    m_form->addRow("Privac&y:", m_priv);
    m_form->addRow("Privacy pa&ssword:", m_privPassword);

    for (QComboBox* combo : {m_version, m_level, m_auth, m_priv})
        connect(combo, &QComboBox::currentIndexChanged, this, [this] {
            updateFields();
            emit changed();
        });
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        connect(edit, &QLineEdit::textChanged, this, &CredentialsForm::changed);
    updateFields();
}

void CredentialsForm::updateFields() {
    const bool v3 = m_version->currentData().toInt() == 3;
    for (QWidget* w : std::initializer_list<QWidget*>{m_readCommunity, m_writeCommunity})
        if (w) m_form->setRowVisible(w, !v3);
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_user, m_level, m_auth, m_authPassword, m_priv, m_privPassword})
        m_form->setRowVisible(w, v3);
    const int level = m_level->currentData().toInt();
    for (QWidget* w : {static_cast<QWidget*>(m_auth), static_cast<QWidget*>(m_authPassword)})
        w->setEnabled(level >= 2);
    for (QWidget* w : {static_cast<QWidget*>(m_priv), static_cast<QWidget*>(m_privPassword)})
        w->setEnabled(level == 3);
}

void CredentialsForm::setCredentials(const CredentialSet& c, const QString& writeCommunity) {
    Select(m_version, c.version);
    m_readCommunity->setText(c.community);
    if (m_writeCommunity) m_writeCommunity->setText(writeCommunity);
    m_user->setText(c.userName);
    Select(m_level, c.securityLevel);
    if (c.authProtocol >= 2) Select(m_auth, c.authProtocol);
    m_authPassword->setText(c.authPassword);
    if (c.privProtocol >= 2) Select(m_priv, c.privProtocol);
    m_privPassword->setText(c.privPassword);
    updateFields();
}

CredentialSet CredentialsForm::credentials() const {
    CredentialSet c;
    c.version = m_version->currentData().toInt();
    if (c.version != 3) {
        c.community = m_readCommunity->text();
        return c;
    }
    c.userName = m_user->text().trimmed();
    c.securityLevel = m_level->currentData().toInt();
    if (c.securityLevel >= 2) {
        c.authProtocol = m_auth->currentData().toInt();
        c.authPassword = m_authPassword->text();
    }
    if (c.securityLevel == 3) {
        c.privProtocol = m_priv->currentData().toInt();
        c.privPassword = m_privPassword->text();
    }
    return c;
}

QString CredentialsForm::writeCommunity() const {
    return m_writeCommunity && m_version->currentData().toInt() != 3 ? m_writeCommunity->text() : QString();
}
