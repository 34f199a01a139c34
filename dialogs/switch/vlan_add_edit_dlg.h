#pragma once
// "Add VLAN" / "Edit VLAN": the name, the VLAN ID and, per port, tagged, untagged or not a member.
// Checks what the user chose, then writes the row: row status, port lists, name, active.

#include <string>
#include <vector>

#include "dialogs/common/module_dialog.h"
#include "dialogs/switch/vlan_rules.h"

class CPortGrid;
class QCheckBox;
class QLineEdit;
class QPushButton;

class CVlanAddEditDlg : public CModuleDialog {
    Q_OBJECT
public:
    // Add mode. `asymmetric` is 1 when asymmetric VLAN mode is on, 2 when off.
    CVlanAddEditDlg(QWidget* parent, int portCount, int asymmetric, const std::vector<VlanRecord>& records);
    // Edit mode for `vlanId`.
    CVlanAddEditDlg(QWidget* parent, int portCount, int asymmetric, const std::vector<VlanRecord>& records,
                    int vlanId);

    bool AddMode() const { return m_addMode; }
    const VlanMembership& Membership() const { return m_membership; }
    const TrunkMembership& Trunks() const { return m_trunks; }

    // The OK handler: checks in order, then writes and closes with OK.
    void OnOK();

protected:
    void OnInitDialog() override;

private:
    CVlanAddEditDlg(QWidget* parent, int portCount, int asymmetric, const std::vector<VlanRecord>& records,
                    bool addMode, int vlanId);
    void Build();
    void ShowPort(int port);
    // One port-list write; "Parameter Error !" and -1 when the list has no hex text.
    int WritePorts(CCommonSNMP& session, const std::string& oid, const std::vector<int>& flags);
    void Write(int vid, const std::string& name);

    CCommonSNMP& m_cCommonSNMP;           // row status and name
    CCommonSNMP& m_cCommonSNMPEgrePort;   // the egress list as chosen
    CCommonSNMP& m_cCommonSNMPUntagPort;  // the untagged list
    CCommonSNMP& m_cCommonSNMPAllPort;    // the "all ports" egress list
    CCommonSNMP& m_cCommonSNMPTable;      // trunk member walk

    bool m_addMode;
    int m_portCount;
    int m_vlanId;
    std::vector<VlanRecord> m_records;
    VlanMembership m_membership;
    TrunkMembership m_trunks;

    QLineEdit* m_name = nullptr;
    QLineEdit* m_vid = nullptr;
    CPortGrid* m_ports = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
