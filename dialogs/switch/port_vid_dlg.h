#pragma once
// "PVID Configuration": one VLAN ID per port, the VID that untagged frames arriving there join.

#include <string>
#include <vector>

#include "dialogs/common/module_dialog.h"
#include "dialogs/switch/vlan_rules.h"

class CPortGrid;
class QPushButton;

class CPortVidDlg : public CModuleDialog {
    Q_OBJECT
public:
    // `vlanIds` joins the listed VLAN IDs with ","; `rowCount` is the number of listed VLANs.
    CPortVidDlg(QWidget* parent, const std::string& vlanIds, int rowCount,
                const std::vector<VlanRecord>& records);

    // The new PVID of each port, as the edit boxes hold it.
    const std::vector<int>& Pvids() const { return m_pvids; }
    const TrunkMembership& Trunks() const { return m_trunks; }

    // Reads the PVIDs and the trunk members again.
    void Refresh();
    // Checks, then writes every port's PVID and closes with OK when all writes succeeded.
    void OnApply();

protected:
    void OnInitDialog() override;

private:
    CCommonSNMP& m_cCommonSNMP;       // PVID writes
    CCommonSNMP& m_cCommonSNMPTable;  // PVID walk
    CCommonSNMP& m_cCommonSNMPTrunk;  // trunk member walk

    int m_portCount;
    std::string m_vlanIds;
    std::vector<VlanRecord> m_records;
    std::vector<int> m_pvids;
    TrunkMembership m_trunks;

    CPortGrid* m_grid = nullptr;
    QPushButton* m_apply = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_refresh = nullptr;
};
