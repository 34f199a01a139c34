#include "dialogs/switch/lldp_global_dlg.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/text_number.h"
#include "dialogs/common/apply_sequence.h"
#include "dialogs/switch/lldp_rules.h"

namespace {

QLineEdit* Edit(const char* name, QWidget* parent, bool readOnly = false) {
    auto* e = Named<QLineEdit>(name, parent);
    e->setReadOnly(readOnly);
    return e;
}

QString Text(const std::string& bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<int>(bytes.size()));
}

constexpr int kAttempts = 3;
constexpr int kRetryPauseMs = 1000;
// LLDP takes a moment to settle after a change before it reports the new values.
constexpr int kSettleMs = 2000;

}  // namespace

CLldpGlobalDlg::CLldpGlobalDlg(QWidget* parent)
    : CModuleDialog(parent),
      m_cCommonSNMP(AddSession("m_cCommonSNMP")),
      m_cCommonSNMPSet(AddSession("m_cCommonSNMPSet")) {
    setObjectName(QStringLiteral("lldpGlobalDialog"));
    setWindowTitle(QStringLiteral("LLDP Global Settings"));

    m_enable = new QCheckBox(QStringLiteral(" LLDP Enable "), this);
    m_enable->setObjectName(QStringLiteral("lldpEnable"));
    m_stateApply = DialogButton(QStringLiteral("&Apply"), "stateApplyButton", this);
    auto* stateRow = new QHBoxLayout;
    stateRow->addWidget(m_enable);
    stateRow->addStretch(1);
    stateRow->addWidget(m_stateApply);

    auto* timers = new QGridLayout;
    m_hold = Edit("holdMultiplier", this);
    m_interval = Edit("txInterval", this);
    m_reinit = Edit("reinitDelay", this);
    m_delay = Edit("txDelay", this);
    const struct {
        const char* label;
        QLineEdit* edit;
        bool seconds;
    } rows[] = {{"Message TX Hold Multipier(2 - 10)", m_hold, false},
                {"Message TX Interval(5 - 32768)", m_interval, true},
                {"LLDP Reinit Delay (1 - 10)", m_reinit, true},
                {"LLDP TX Delay (1 - 8192)", m_delay, true}};
    int row = 0;
    for (const auto& r : rows) {
        r.edit->setMaxLength(5);
        timers->addWidget(new QLabel(QLatin1String(r.label), this), row, 0);
        timers->addWidget(r.edit, row, 1);
        if (r.seconds) timers->addWidget(new QLabel(QStringLiteral("sec"), this), row, 2);
        ++row;
    }
    m_timerApply = DialogButton(QStringLiteral("Apply"), "timerApplyButton", this);
    timers->addWidget(m_timerApply, row, 1, Qt::AlignRight);

    auto* info = new QGroupBox(QStringLiteral("LLDP System Information"), this);
    info->setObjectName(QStringLiteral("systemInformation"));
    auto* infoForm = new QFormLayout(info);
    m_chassisSubtype = Edit("chassisIdSubtype", info, true);
    m_chassisId = Edit("chassisId", info, true);
    m_sysName = Edit("systemName", info, true);
    m_sysDesc = Named<QLabel>("systemDescription", info);
    m_sysDesc->setTextFormat(Qt::PlainText);
    m_sysDesc->setWordWrap(true);
    m_sysDesc->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_sysDesc->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    m_sysDesc->setMargin(2);
    infoForm->addRow(QStringLiteral("Chassis ID Subtype"), m_chassisSubtype);
    infoForm->addRow(QStringLiteral("Chassis ID"), m_chassisId);
    infoForm->addRow(QStringLiteral("System Name"), m_sysName);
    infoForm->addRow(QStringLiteral("System Description"), m_sysDesc);

    auto* close = DialogButton(QStringLiteral("Close"), "closeButton", this);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(stateRow);
    layout->addLayout(timers);
    layout->addWidget(info);
    layout->addLayout(bottom);
    setMinimumWidth(460);

    for (QWidget* w :
         {static_cast<QWidget*>(m_hold), static_cast<QWidget*>(m_interval), static_cast<QWidget*>(m_reinit),
          static_cast<QWidget*>(m_delay), static_cast<QWidget*>(m_timerApply)})
        w->setEnabled(false);
    if (!Settings().WriteAccess) m_stateApply->setEnabled(false);

    connect(m_stateApply, &QPushButton::clicked, this, &CLldpGlobalDlg::OnStateApply);
    connect(m_timerApply, &QPushButton::clicked, this, &CLldpGlobalDlg::OnTimerApply);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void CLldpGlobalDlg::OnInitDialog() {
    Read();
}

void CLldpGlobalDlg::Read() {
    StartGet(m_cCommonSNMP,
             {LldpOid::kState, LldpOid::kHoldMultiplier, LldpOid::kTxInterval, LldpOid::kReinitDelay,
              LldpOid::kTxDelay, LldpOid::kLocChassisIdSubtype, LldpOid::kLocChassisId, LldpOid::kLocSysName,
              LldpOid::kLocSysDesc},
             [this](const std::vector<SnmpBinding>& answer) { Fill(answer); });
}

void CLldpGlobalDlg::Fill(const std::vector<SnmpBinding>& answer) {
    auto value = [&answer](std::size_t i) { return i < answer.size() ? answer[i].value : std::string(); };
    const bool on = value(0) == "1";
    m_enable->setChecked(on);
    for (QWidget* w : {static_cast<QWidget*>(m_hold), static_cast<QWidget*>(m_interval),
                       static_cast<QWidget*>(m_reinit), static_cast<QWidget*>(m_delay)})
        w->setEnabled(on);
    m_timerApply->setEnabled(on && Settings().WriteAccess);
    m_hold->setText(Text(value(1)));
    m_interval->setText(Text(value(2)));
    m_reinit->setText(Text(value(3)));
    m_delay->setText(Text(value(4)));
    m_chassisSubtype->setText(QString::fromStdString(ChassisIdSubtypeName(LeadingInt(value(5)))));
    // Long texts show from their start, and whole as a tooltip.
    const QString texts[] = {QString::fromStdString(ChassisIdText(value(6))), Text(value(7))};
    QLineEdit* const edits[] = {m_chassisId, m_sysName};
    for (int i = 0; i < 2; ++i) {
        edits[i]->setText(texts[i]);
        edits[i]->setCursorPosition(0);
        edits[i]->setToolTip(texts[i]);
    }
    m_sysDesc->setText(Text(value(8)));
    // As tall as its lines: the window grows to show the whole text.
    m_sysDesc->setMinimumHeight(m_sysDesc->heightForWidth(m_sysDesc->width()));
    // The group's layout learns the new height first; then the window grows to its new minimum.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    layout()->activate();
}

int CLldpGlobalDlg::SetWithRetries(const std::vector<SetItem>& items) {
    int rc = -1;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (attempt > 0) PauseKeepingPainted(kRetryPauseMs);
        rc = SetNow(m_cCommonSNMPSet, items);
        if (rc == 0) break;
    }
    return rc;
}

void CLldpGlobalDlg::OnStateApply() {
    m_stateApply->setEnabled(false);
    const std::string state = kLldpStateValues.TextOf(m_enable->isChecked());
    RunApply(this, ApplyPlan{{},
                             [this, state] {
                                 return SetWithRetries({{LldpOid::kState, kBindInteger, state}});
                             },
                             kSettleMs,
                             [this] {
                                 m_stateApply->setEnabled(true);
                                 Read();
                             },
                             QStringLiteral("The switch did not accept the LLDP state."),
                             true});
}

void CLldpGlobalDlg::OnTimerApply() {
    const LldpTimerTexts texts{m_hold->text().toStdString(), m_interval->text().toStdString(),
                               m_reinit->text().toStdString(), m_delay->text().toStdString()};
    auto number = [](const std::string& text) { return std::to_string(LeadingInt(text)); };
    RunApply(this, ApplyPlan{[this, texts] { return Refuse(this, LldpTimerRefusal(texts)); },
                             [this, texts, number] {
                                 return SetWithRetries(
                                     {{LldpOid::kHoldMultiplier, kBindInteger, number(texts.holdMultiplier)},
                                      {LldpOid::kTxInterval, kBindInteger, number(texts.txInterval)},
                                      {LldpOid::kReinitDelay, kBindInteger, number(texts.reinitDelay)},
                                      {LldpOid::kTxDelay, kBindInteger, number(texts.txDelay)}});
                             },
                             kSettleMs, [this] { Read(); },
                             QStringLiteral("The switch did not accept the LLDP timers."), true});
}
