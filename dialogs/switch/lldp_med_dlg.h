#pragma once
// "LLDP MED Settings": the LLDP-MED Power PSE TLV of ports 1 to 4, listed and set for a range of ports.
// With LLDP off only Close works.

#include "dialogs/common/list_form_dialog.h"

class CPortRange;
class QComboBox;

class CLldpMedDlg : public CListFormDialog {
    Q_OBJECT
public:
    explicit CLldpMedDlg(QWidget* parent = nullptr);

    // Ports that carry the TLV.
    static constexpr int kMedPorts = 4;

protected:
    void ReadAll() override;
    std::optional<QStringList> LineFromRow(const WalkRow& row) override;
    void OnApply() override;

private:
    void EnableControls(bool on);

    CCommonSNMP& m_cCommonSNMPEnable;  // LLDP state
    CCommonSNMP& m_cCommonSNMP;        // table walk
    CCommonSNMP& m_cCommonSNMPSet;     // writes

    QComboBox* m_from = nullptr;
    QComboBox* m_to = nullptr;
    QComboBox* m_tlv = nullptr;
    CPortRange* m_range = nullptr;
};
