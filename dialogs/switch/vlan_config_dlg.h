#pragma once
// "802.1Q VLAN Configuration": lists the switch's static VLANs with their egress and untagged members,
// switches asymmetric VLAN mode, deletes VLANs and opens the add/edit and PVID dialogs.

#include <vector>

#include "dialogs/common/module_dialog.h"
#include "dialogs/switch/vlan_rules.h"

class QCheckBox;
class QPushButton;
class QTreeWidget;

class CVlanConfigDlg : public CModuleDialog {
    Q_OBJECT
public:
    explicit CVlanConfigDlg(QWidget* parent = nullptr);

    // The VLANs of the last walk, in walk order.
    const std::vector<VlanRecord>& Records() const { return m_records; }
    // The PVID of each port as last read (0 until read).
    const std::vector<int>& Pvids() const { return m_pvids; }

    // Reads everything again: voice and surveillance state, the mode, the PVIDs and the VLAN list.
    void Refresh();

protected:
    void OnInitDialog() override;

private:
    void OnApply();
    void OnAdd();
    void OnEdit();
    void OnDelete();
    void OnPvid();
    void ReadMode();
    void AddRow(const WalkRow& row);

    CCommonSNMP& m_cCommonSNMP;                 // asymmetric mode
    CCommonSNMP& m_cCommonSNMPTable;            // PVID walk
    CCommonSNMP& m_cCommonSNMPVoiceVlan;        // voice and surveillance VLAN state
    CCommonSNMP& m_cCommonSNMPTableVlan;        // VLAN table walk
    CCommonSNMP& m_cCommonSNMPTableVlanDelete;  // deletion

    int m_portCount;
    std::vector<VlanRecord> m_records;
    std::vector<int> m_pvids;
    VoiceSurveillance m_voice;
    // The switch's mode as last read. The box may hold a change not applied yet, which must not decide
    // what the switch allows.
    bool m_deviceAsymmetric = false;

    QCheckBox* m_asymmetric = nullptr;
    QPushButton* m_apply = nullptr;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_pvid = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_refresh = nullptr;
    QPushButton* m_close = nullptr;
};
