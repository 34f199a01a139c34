#pragma once
// "Auto Surveillance VLAN Settings": the surveillance VLAN's state, VLAN and priority (refused in
// asymmetric VLAN mode and on the voice VLAN), and the user-defined surveillance devices by OUI and
// component type. Its "OUI Table..." button opens the OUI table dialog.

#include "dialogs/switch/oui_list_dialog.h"

class QCheckBox;
class QComboBox;
class QPushButton;

class CSurveillanceVlanDlg : public COuiListDialog {
    Q_OBJECT
public:
    explicit CSurveillanceVlanDlg(QWidget* parent = nullptr);

protected:
    void ReadAll() override;
    QStringList OuiLine(const WalkRow& row, const std::string& address) override;
    std::vector<SetItem> OuiColumns(const std::string& index) const override;

private:
    void ReadVlans();
    void ReadGlobals();
    void ShowGlobals(const std::vector<SnmpBinding>& answer);
    void OnApplyGlobal();
    void OnOuiTable();

    CCommonSNMP& m_cCommonSNMP;      // the global objects: read and Apply
    CCommonSNMP& m_cCommonSNMPVlan;  // the VLAN IDs of the combo

    QCheckBox* m_enable = nullptr;
    QComboBox* m_vlanId = nullptr;
    QComboBox* m_priority = nullptr;
    QPushButton* m_apply = nullptr;
    QComboBox* m_type = nullptr;
};
