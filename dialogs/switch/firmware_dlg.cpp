#include "dialogs/switch/firmware_dlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/common/apply_sequence.h"
#include "dialogs/common/ip_address_edit.h"
#include "dialogs/common/user_prompt.h"

namespace {
const std::string kTftp = "1.3.6.1.4.1.32473.10.75.13.3.";
}

CFirmwareDlg::CFirmwareDlg(QWidget* parent)
    : CModuleDialog(parent),
      m_cCommonSNMP(AddSession("m_cCommonSNMP")),
      m_cCommonSNMPSetOp(AddSession("m_cCommonSNMPSetOp")) {
    setObjectName(QStringLiteral("firmwareDialog"));
    setWindowTitle(QStringLiteral("Firmware and Configuration Upgrade/Backup"));

    auto* group = new QGroupBox(QStringLiteral("Configuration"), this);
    m_server = new CIpAddressEdit(group);
    m_server->setObjectName(QStringLiteral("tftpServer"));
    m_file = new QLineEdit(group);
    m_file->setObjectName(QStringLiteral("fileName"));
    m_operation = new QComboBox(group);
    m_operation->setObjectName(QStringLiteral("operationType"));
    AddChoices(m_operation, kTftpOperationChoices);
    m_fileType = new QComboBox(group);
    m_fileType->setObjectName(QStringLiteral("fileType"));
    AddChoices(m_fileType, kTftpFileTypeChoices);
    m_progressLabel = new QLabel(QStringLiteral("Upgrade/BackUp:"), group);
    m_progress = new QProgressBar(group);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setRange(0, 100);
    m_progressLabel->hide();
    m_progress->hide();
    auto* form = new QFormLayout(group);
    form->addRow(QStringLiteral("TFTP Server IP:"), m_server);
    form->addRow(QStringLiteral("File Name:"), m_file);
    form->addRow(QStringLiteral("Operation Type:"), m_operation);
    form->addRow(QStringLiteral("FileType:"), m_fileType);
    form->addRow(m_progressLabel, m_progress);

    m_apply = new QPushButton(QStringLiteral("&Apply"), this);
    m_apply->setObjectName(QStringLiteral("applyButton"));
    m_close = new QPushButton(QStringLiteral("&Close"), this);
    m_close->setObjectName(QStringLiteral("closeButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_apply);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addStretch(1);
    layout->addLayout(buttons);
    resize(420, sizeHint().height());

    connect(m_apply, &QPushButton::clicked, this, &CFirmwareDlg::OnApply);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_file, &QLineEdit::textEdited, this, &CFirmwareDlg::OnFileEdited);

    // The machine asks, the sessions carry it out, the answers go back to the machine.
    connect(&m_machine, &CTransferMachine::SendFileSet, this, [this] {
        StartSet(
            m_cCommonSNMP,
            {{Object(0), kBindIpAddress, m_server->Fields().Text()},
             {Object(1), kBindOctets, FileName().toStdString()}},
            [this](int status) { m_machine.FileSetDone(status); },
            m_machine.Scaled(CTransferMachine::kFileSetTimeoutMs));
    });
    connect(&m_machine, &CTransferMachine::SendOperationSet, this, [this] {
        StartSet(
            m_cCommonSNMPSetOp,
            {{Object(2), kBindInteger,
              ValueText(ChoiceValue(kTftpOperationChoices, m_operation->currentIndex()))}},
            [this](int status) { m_machine.OperationSetDone(status); },
            m_machine.Scaled(CTransferMachine::kOperationSetTimeoutMs));
    });
    connect(&m_machine, &CTransferMachine::SendStatusGet, this, [this] {
        StartGet(
            m_cCommonSNMP, {Object(3)},
            [this](const std::vector<SnmpBinding>& b) {
                m_machine.StatusAnswer(0, b.empty() ? "" : b[0].value);
            },
            [this](int status) { m_machine.StatusAnswer(status, ""); }, {},
            m_machine.Scaled(CTransferMachine::kStatusTimeoutMs));
    });
    connect(&m_machine, &CTransferMachine::ProgressChanged, m_progress, &QProgressBar::setValue);
    connect(&m_machine, &CTransferMachine::ControlsEnabled, this, &CFirmwareDlg::EnableControls);
    connect(&m_machine, &CTransferMachine::Finished, this,
            [this](const QString& message) { Inform(this, message); });
}

std::string CFirmwareDlg::Object(int which) const {
    return kTftp + std::to_string(ChoiceValue(kTftpFileTypeChoices, m_fileType->currentIndex()) + which) +
           ".0";
}

QString CFirmwareDlg::FileName() const {
    // Blanks around a name are typing slips no TFTP server would find; a name of blanks is none.
    return m_file->text().trimmed();
}

void CFirmwareDlg::OnFileEdited(const QString& text) {
    if (text.size() <= kMaxTftpFileName) return;
    const int caret = std::min(m_file->cursorPosition(), kMaxTftpFileName);
    m_file->setText(text.left(kMaxTftpFileName));
    m_file->setCursorPosition(caret);
    Inform(this, QStringLiteral("The maximum length of file name is 64!"));
}

void CFirmwareDlg::OnApply() {
    RunApply(
        this,
        {.check =
             [this] {
                 if (m_operation->currentIndex() == 0 &&
                     !Confirm(this, QStringLiteral("The connection will be disconnected.\nPlease do not "
                                                   "apply other changes when uploading.\nReconnect to the "
                                                   "device later when uploading completes.")))
                     return false;
                 const Ipv4Fields ip = m_server->Fields();
                 if (!ip.Complete() || ip.AllZero() || ip.FirstIs0Or255() || ip.LastIs0Or255()) {
                     Inform(this, QStringLiteral("Invalid TFTP server IP."));
                     m_server->setFocus();
                     return false;
                 }
                 return Refuse(this, FileName().isEmpty() ? QStringLiteral("Invalid file.") : QString());
             },
         .write =
             [this] {
                 m_progressLabel->show();
                 m_progress->show();
                 // The firmware's objects are the first of the group.
                 const int first = ChoiceValue(kTftpFileTypeChoices, m_fileType->currentIndex());
                 m_machine.Start(first == 1 ? CTransferMachine::Kind::Firmware
                                            : CTransferMachine::Kind::Configuration);
                 return 0;
             }});
}

void CFirmwareDlg::EnableControls(bool enabled) {
    // Close stays enabled: a transfer the switch never finishes must not keep the user in the dialog.
    for (QWidget* w : std::initializer_list<QWidget*>{m_server, m_file, m_operation, m_fileType, m_apply})
        w->setEnabled(enabled);
}

void CFirmwareDlg::done(int result) {
    // Closing (the window's close box works while a transfer runs): no timer fires and no answer is
    // shown afterwards.
    m_machine.Stop();
    CModuleDialog::done(result);
}
