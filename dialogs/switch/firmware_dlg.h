#pragma once
// "Firmware and Configuration Upgrade/Backup": makes the switch fetch a firmware image or configuration
// file from a TFTP server, or store its configuration on one, and follows the transfer's progress.

#include "dialogs/common/module_dialog.h"
#include "dialogs/switch/transfer_machine.h"

class CIpAddressEdit;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

class CFirmwareDlg : public CModuleDialog {
    Q_OBJECT
public:
    explicit CFirmwareDlg(QWidget* parent = nullptr);

    // Every period and time-out of the transfer multiplied by `scale` (tests).
    void SetTimeScale(double scale) { m_machine.SetTimeScale(scale); }
    const CTransferMachine& Machine() const { return m_machine; }

    void done(int result) override;

private:
    void OnApply();
    void OnFileEdited(const QString& text);
    void EnableControls(bool enabled);
    // The objects of the chosen kind: server address, file name, operation, status.
    std::string Object(int which) const;
    QString FileName() const;  // as typed, without blanks around it

    CCommonSNMP& m_cCommonSNMP;       // address, file name and status
    CCommonSNMP& m_cCommonSNMPSetOp;  // the operation
    CTransferMachine m_machine;

    CIpAddressEdit* m_server = nullptr;
    QLineEdit* m_file = nullptr;
    QComboBox* m_operation = nullptr;
    QComboBox* m_fileType = nullptr;
    QLabel* m_progressLabel = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_apply = nullptr;
    QPushButton* m_close = nullptr;
};

inline constexpr int kMaxTftpFileName = 64;
