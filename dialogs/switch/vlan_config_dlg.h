#pragma once
// "802.1Q VLAN Configuration": lists the switch's static VLANs with their egress and untagged members,
// switches asymmetric VLAN mode, deletes VLANs and opens the add/edit and PVID dialogs.

#include <vector>

#include "dialogs/common/list_form_dialog.h"
#include "dialogs/switch/vlan_rules.h"

class QCheckBox;
class QPushButton;

class CVlanConfigDlg : public CListFormDialog {
    Q_OBJECT
public:
    explicit CVlanConfigDlg(QWidget* parent = nullptr);

    // The VLANs of the last walk, in walk order.
    const std::vector<VlanRecord>& Records() const { return m_records; }
    // The PVID of each port as last read (0 until read).
    const std::vector<int>& Pvids() const { return m_pvids; }

protected:
    // Voice and surveillance state, the mode, the PVIDs and the VLAN list.
    void ReadAll() override;
    std::optional<QStringList> LineFromRow(const WalkRow& row) override;
    void OnAdd() override;
    void OnEdit() override;
    void OnDelete() override;

private:
    void OnApplyMode();
    void OnPvid();
    void ReadMode();

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
    QPushButton* m_applyMode = nullptr;
    QPushButton* m_pvid = nullptr;
};
