#pragma once
// "Add ARP Spoofing Prevention Entry": a gateway's address, its MAC address and the ports that enforce
// the binding (whole trunks only). Apply checks, asks, makes the row and clears the fields for the next
// entry; a row the switch did not complete is taken away again and the user is told.

#include "dialogs/common/apply_sequence.h"
#include "dialogs/common/module_dialog.h"
#include "dialogs/common/trunk_membership.h"

class CIpAddressEdit;
class CPortGrid;
class QCheckBox;
class QLineEdit;
class QPushButton;

class CArpSpoofingAddDlg : public CModuleDialog {
    Q_OBJECT
public:
    explicit CArpSpoofingAddDlg(QWidget* parent = nullptr);

protected:
    void OnInitDialog() override;

private:
    void ReadTrunks();
    bool Check();
    int Write();
    void ClearFields();
    void OnApply();
    void OnAllPorts(bool checked);

    CCommonSNMP& m_cCommonSNMP;     // the trunk members
    CCommonSNMP& m_cCommonSNMPSet;  // the new row

    int m_portCount;
    TrunkMembership m_trunks;
    bool m_trunksRead = false;
    RowCreateResult m_made;  // how the last Apply's writes went

    CIpAddressEdit* m_address = nullptr;
    QLineEdit* m_mac = nullptr;
    CPortGrid* m_ports = nullptr;
    QCheckBox* m_allPorts = nullptr;
    QPushButton* m_apply = nullptr;
};
