#include "dialogs/mib/system_info_dlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/common/apply_sequence.h"
#include "dialogs/common/user_prompt.h"
#include "dialogs/mib/mib_value_maps.h"
#include "snmp/encodings.h"

namespace {
const char* const kSysDescr = "1.3.6.1.2.1.1.1.0";
const char* const kSysObjectId = "1.3.6.1.2.1.1.2.0";
const char* const kSysUpTime = "1.3.6.1.2.1.1.3.0";
const char* const kSysContact = "1.3.6.1.2.1.1.4.0";
const char* const kSysName = "1.3.6.1.2.1.1.5.0";
const char* const kSysLocation = "1.3.6.1.2.1.1.6.0";
constexpr std::size_t kUtf8Buffer = 128;

QLineEdit* ReadOnlyLine(QWidget* parent, const char* name) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(true);
    return e;
}

// The limit only restrains typing: a longer value from the device is shown whole, not cut, so Apply
// never shortens what the user did not touch.
void SetLimitedText(QLineEdit* edit, const QString& text, int limit) {
    edit->setMaxLength(std::max(limit, static_cast<int>(text.size())));
    edit->setText(text);
}

QString FromDeviceText(const std::string& bytes) {
    std::string text;
    FromUtf8(bytes, text);
    return QString::fromStdString(text);
}
}  // namespace

QString CheckSystemInfo(const std::string& name, const std::string& location) {
    if (!IsValidName(name)) return QStringLiteral("Invalid System Name.");
    if (!IsValidName(location)) return QStringLiteral("Invalid System Location.");
    return QString();
}

CSystemInfoDlg::CSystemInfoDlg(QWidget* parent)
    : CModuleDialog(parent),
      m_cCommonSNMP(AddSession("m_cCommonSNMP")),
      m_cCommonSNMPSet(AddSession("m_cCommonSNMPSet")) {
    setObjectName("systemInfoDialog");
    setWindowTitle(tr("System Information"));

    m_description = new QPlainTextEdit(this);
    m_description->setObjectName("description");
    m_description->setReadOnly(true);
    m_description->setMaximumHeight(m_description->fontMetrics().lineSpacing() * 4 + 12);
    m_objectId = ReadOnlyLine(this, "objectId");
    m_runtime = ReadOnlyLine(this, "runtime");
    m_contact = new QLineEdit(this);
    m_contact->setObjectName("contact");
    m_contact->setMaxLength(kSystemContactLimit);
    m_contact->hide();
    m_name = new QLineEdit(this);
    m_name->setObjectName("name");
    m_name->setMaxLength(kSystemNameLimit);
    m_location = new QLineEdit(this);
    m_location->setObjectName("location");
    m_location->setMaxLength(kSystemLocationLimit);

    auto* info = new QGroupBox(tr("Description"), this);
    auto* infoLayout = new QVBoxLayout(info);
    infoLayout->addWidget(m_description);
    auto* infoForm = new QFormLayout;
    infoForm->addRow(tr("Object OID:"), m_objectId);
    infoForm->addRow(tr("Runtime:"), m_runtime);
    infoLayout->addLayout(infoForm);

    auto* settings = new QGroupBox(tr("Settings"), this);
    auto* settingsForm = new QFormLayout(settings);
    settingsForm->addRow(tr("Name:"), m_name);
    settingsForm->addRow(tr("Location:"), m_location);

    m_apply = new QPushButton(tr("&Apply"), this);
    m_apply->setObjectName("applyButton");
    m_refresh = new QPushButton(tr("&Refresh"), this);
    m_refresh->setObjectName("refreshButton");
    m_close = new QPushButton(tr("&Close"), this);
    m_close->setObjectName("closeButton");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_apply);
    buttons->addWidget(m_refresh);
    buttons->addWidget(m_close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(info);
    layout->addWidget(settings);
    layout->addWidget(m_contact);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(m_apply, &QPushButton::clicked, this, &CSystemInfoDlg::Apply);
    connect(m_refresh, &QPushButton::clicked, this, [this] {
        WaitCursor wait;
        Read();
    });
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);

    resize(460, sizeHint().height());
}

void CSystemInfoDlg::OnInitDialog() {
    Read();
}

void CSystemInfoDlg::Read() {
    StartGet(m_cCommonSNMP, {kSysDescr, kSysObjectId, kSysUpTime, kSysContact, kSysName, kSysLocation},
             [this](const std::vector<SnmpBinding>& bindings) { Fill(bindings); });
}

void CSystemInfoDlg::Fill(const std::vector<SnmpBinding>& b) {
    if (b.size() < 6) return;
    m_description->setPlainText(
        QString::fromUtf8(b[0].value.data(), static_cast<qsizetype>(b[0].value.size())));
    m_objectId->setText(QString::fromStdString(b[1].value));
    m_runtime->setText(QString::fromStdString(UpTimeText(b[2].value)));
    SetLimitedText(m_contact, QString::fromUtf8(b[3].value.data(), static_cast<qsizetype>(b[3].value.size())),
                   kSystemContactLimit);
    SetLimitedText(m_name, FromDeviceText(b[4].value), kSystemNameLimit);
    SetLimitedText(m_location, FromDeviceText(b[5].value), kSystemLocationLimit);
}

void CSystemInfoDlg::Apply() {
    const std::string name = m_name->text().toStdString();
    const std::string location = m_location->text().toStdString();
    RunApply(this, {.check =
                        [&] {
                            const QString error = CheckSystemInfo(name, location);
                            if (error.isEmpty()) return true;
                            Inform(this, error, PromptIcon::Warning);
                            return false;
                        },
                    .write =
                        [&] {
                            return SetNow(m_cCommonSNMPSet,
                                          {{kSysName, kBindOctets, ToUtf8(name, kUtf8Buffer)},
                                           {kSysLocation, kBindOctets, ToUtf8(location, kUtf8Buffer)}});
                        },
                    .reread = [this] { Read(); }});
}
