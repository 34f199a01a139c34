#include "dialogs/switch/dot1x_config_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/text_number.h"
#include "dialogs/common/apply_sequence.h"
#include "dialogs/common/ip_address_edit.h"
#include "dialogs/switch/dot1x_port_dlg.h"

namespace {

QLineEdit* Edit(const char* name, int maxLength, QWidget* parent) {
    auto* e = Named<QLineEdit>(name, parent);
    e->setMaxLength(maxLength);
    return e;
}

// Keys longer than the switch takes are cut as they are typed or pasted, the caret staying put.
void CutKeyWhileTyping(QLineEdit* edit) {
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
        if (text.size() <= kMaxKeyChars) return;
        const int caret = edit->cursorPosition();
        edit->setText(text.left(kMaxKeyChars));
        edit->setCursorPosition(qMin(caret, kMaxKeyChars));
    });
}

QString Text(const std::string& bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<int>(bytes.size()));
}

std::string Number(const std::string& text) {
    return std::to_string(LeadingInt64(text));
}

}  // namespace

CDot1xConfigDlg::CDot1xConfigDlg(QWidget* parent)
    : CModuleDialog(parent),
      m_cCommonSNMP(AddSession("m_cCommonSNMP")),
      m_cCommonSNMPSet(AddSession("m_cCommonSNMPSet")),
      m_cCommonSNMPEnable(AddSession("m_cCommonSNMPEnable")) {
    setObjectName(QStringLiteral("dot1xConfigDialog"));
    setWindowTitle(QStringLiteral("802.1X Config Information"));

    auto* group = new QGroupBox(QStringLiteral("802.1X Global Setting"), this);
    group->setObjectName(QStringLiteral("globalSetting"));
    m_server = Named<CIpAddressEdit>("radiusServer", group);
    m_key = Edit("key", 1024, group);
    m_confirm = Edit("confirmKey", 1024, group);
    for (QLineEdit* e : {m_key, m_confirm}) {
        e->setEchoMode(QLineEdit::Password);
        CutKeyWhileTyping(e);
    }
    m_txPeriod = Edit("txPeriod", 5, group);
    m_quietPeriod = Edit("quietPeriod", 5, group);
    m_suppTimeout = Edit("suppTimeout", 5, group);
    m_serverTimeout = Edit("serverTimeout", 5, group);
    m_maxReq = Edit("maxReq", 2, group);
    m_reAuthPeriod = Edit("reAuthPeriod", 10, group);
    m_reAuthEnabled = Named<QComboBox>("reAuthEnabled", group);
    AddChoices(m_reAuthEnabled, kReAuthChoices);
    m_enable = new QCheckBox(QStringLiteral("Enable 802.1X"), group);
    m_enable->setObjectName(QStringLiteral("enable8021x"));

    auto* grid = new QGridLayout(group);
    const struct {
        const char* label;
        QWidget* field;
    } fields[] = {{"Radius Server IP:", m_server},
                  {"Key:", m_key},
                  {"Confirm Key:", m_confirm},
                  {"TxPeriod(1-65535 sec)", m_txPeriod},
                  {"QuietPeriod(0-65535 sec)", m_quietPeriod},
                  {"SuppTimeout(1-65535 sec)", m_suppTimeout},
                  {"ServerTimeout(1-65535 sec)", m_serverTimeout},
                  {"MaxReq(1-10)", m_maxReq},
                  {"ReAuthPeriod(1-4294967295 sec)", m_reAuthPeriod},
                  {"ReAuthEnabled", m_reAuthEnabled}};
    int row = 0;
    grid->addWidget(m_enable, row++, 0, 1, 2);
    for (const auto& f : fields) {
        grid->addWidget(new QLabel(QLatin1String(f.label), group), row, 0);
        grid->addWidget(f.field, row++, 1);
    }

    m_apply = DialogButton(QStringLiteral("&Apply"), "applyButton", this);
    m_refresh = DialogButton(QStringLiteral("&Refresh"), "refreshButton", this);
    m_portSet = DialogButton(QStringLiteral("&PortSet"), "portSetButton", this);
    auto* close = DialogButton(QStringLiteral("&Close"), "closeButton", this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_portSet);
    buttons->addStretch(1);
    for (QPushButton* b : {m_apply, m_refresh, close}) buttons->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);

    EnableFields(false);
    m_portSet->setEnabled(false);
    if (!Settings().WriteAccess) m_apply->setEnabled(false);

    connect(m_enable, &QCheckBox::toggled, this, &CDot1xConfigDlg::EnableFields);
    connect(m_apply, &QPushButton::clicked, this, &CDot1xConfigDlg::OnApply);
    connect(m_refresh, &QPushButton::clicked, this, &CDot1xConfigDlg::Refresh);
    connect(m_portSet, &QPushButton::clicked, this, &CDot1xConfigDlg::OnPortSet);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void CDot1xConfigDlg::OnInitDialog() {
    Refresh();
}

void CDot1xConfigDlg::EnableFields(bool on) {
    for (QWidget* w : {static_cast<QWidget*>(m_server), static_cast<QWidget*>(m_key),
                       static_cast<QWidget*>(m_confirm), static_cast<QWidget*>(m_txPeriod),
                       static_cast<QWidget*>(m_quietPeriod), static_cast<QWidget*>(m_suppTimeout),
                       static_cast<QWidget*>(m_serverTimeout), static_cast<QWidget*>(m_maxReq),
                       static_cast<QWidget*>(m_reAuthPeriod), static_cast<QWidget*>(m_reAuthEnabled)})
        w->setEnabled(on);
}

void CDot1xConfigDlg::Refresh() {
    StartGet(m_cCommonSNMP,
             {Dot1xOid::kState, Dot1xOid::kServerAddress, Dot1xOid::kKey, Dot1xOid::kQuietPeriod,
              Dot1xOid::kTxPeriod, Dot1xOid::kSuppTimeout, Dot1xOid::kServerTimeout, Dot1xOid::kMaxReq,
              Dot1xOid::kReAuthPeriod, Dot1xOid::kReAuthEnabled},
             [this](const std::vector<SnmpBinding>& answer) { Fill(answer); }, {}, {m_apply, m_refresh});
}

void CDot1xConfigDlg::Fill(const std::vector<SnmpBinding>& answer) {
    auto value = [&answer](std::size_t i) { return i < answer.size() ? answer[i].value : std::string(); };
    const bool on = value(0) == "1";
    m_enable->setChecked(on);
    EnableFields(on);
    m_portSet->setEnabled(on);
    m_server->SetAddress(Text(value(1)));
    m_key->setText(Text(value(2)).left(kMaxKeyChars));
    m_confirm->setText(m_key->text());
    QLineEdit* timers[] = {m_quietPeriod,   m_txPeriod, m_suppTimeout,
                           m_serverTimeout, m_maxReq,   m_reAuthPeriod};
    for (std::size_t i = 0; i < 6; ++i) timers[i]->setText(Text(value(3 + i)));
    m_reAuthEnabled->setCurrentIndex(value(9) == "1" ? 0 : 1);
}

Dot1xTimerTexts CDot1xConfigDlg::Timers() const {
    return {m_quietPeriod->text().toStdString(), m_txPeriod->text().toStdString(),
            m_suppTimeout->text().toStdString(), m_serverTimeout->text().toStdString(),
            m_maxReq->text().toStdString(),      m_reAuthPeriod->text().toStdString()};
}

QStringList CDot1xConfigDlg::TimerTexts() const {
    return {m_quietPeriod->text(),         m_txPeriod->text(), m_suppTimeout->text(),
            m_serverTimeout->text(),       m_maxReq->text(),   m_reAuthPeriod->text(),
            m_reAuthEnabled->currentText()};
}

void CDot1xConfigDlg::OnApply() {
    auto refresh = [this] { Refresh(); };
    if (!m_enable->isChecked()) {
        RunApply(this, ApplyPlan{{},
                                 [this] {
                                     return SetNow(m_cCommonSNMPEnable, {{Dot1xOid::kState, kBindInteger,
                                                                          kDot1xStateValues.TextOf(false)}});
                                 },
                                 0,
                                 refresh,
                                 QStringLiteral("The switch did not accept the 802.1X state."),
                                 true});
        return;
    }
    const Ipv4Fields server = m_server->Fields();
    const std::string key = m_key->text().toStdString(), confirm = m_confirm->text().toStdString();
    const Dot1xTimerTexts t = Timers();
    // Every field is checked before anything goes out, so a refused timer never leaves the RADIUS settings
    // and the state half applied.
    auto check = [this, server, key, confirm, t] {
        return Refuse(this, Dot1xApplyRefusal(server, key, confirm, t));
    };
    auto write = [this, server, key, t] {
        int rc = SetNow(m_cCommonSNMPSet, {{Dot1xOid::kServerAddress, kBindIpAddress, server.Text()},
                                           {Dot1xOid::kKey, kBindOctets, key}});
        if (rc == 0)
            rc = SetNow(m_cCommonSNMPEnable,
                        {{Dot1xOid::kState, kBindInteger, kDot1xStateValues.TextOf(true)}});
        if (rc != 0) return rc;
        return SetNow(m_cCommonSNMPSet,
                      {{Dot1xOid::kQuietPeriod, kBindInteger, Number(t.quietPeriod)},
                       {Dot1xOid::kTxPeriod, kBindInteger, Number(t.txPeriod)},
                       {Dot1xOid::kSuppTimeout, kBindInteger, Number(t.suppTimeout)},
                       {Dot1xOid::kServerTimeout, kBindInteger, Number(t.serverTimeout)},
                       {Dot1xOid::kMaxReq, kBindInteger, Number(t.maxReq)},
                       {Dot1xOid::kReAuthPeriod, kBindUnsigned, Number(t.reAuthPeriod)},
                       {Dot1xOid::kReAuthEnabled, kBindInteger,
                        ValueText(ChoiceValue(kReAuthChoices, m_reAuthEnabled->currentIndex()))}});
    };
    // The fields show what the switch holds afterwards, whether or not every write went through.
    RunApply(this, ApplyPlan{check, write, 0, refresh,
                             QStringLiteral("The switch did not accept the 802.1X settings."), true});
}

void CDot1xConfigDlg::OnPortSet() {
    CDot1xPortDlg dlg(TimerTexts(), this);
    dlg.exec();
}
