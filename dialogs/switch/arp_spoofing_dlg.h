#pragma once
// "ARP Spoofing Prevention Setting": the gateway bindings (address, MAC address, enforcing ports) with a
// running index and their total; Add opens the add dialog (at most 64 entries), Delete removes one.

#include <string>
#include <vector>

#include "dialogs/common/list_form_dialog.h"

class CArpSpoofingDlg : public CListFormDialog {
    Q_OBJECT
public:
    explicit CArpSpoofingDlg(QWidget* parent = nullptr);

protected:
    void ReadAll() override;
    std::optional<QStringList> LineFromRow(const WalkRow& row) override;
    void OnAdd() override;
    void OnDelete() override;

private:
    CCommonSNMP& m_cCommonSNMP;     // the list walk
    CCommonSNMP& m_cCommonSNMPSet;  // deleting
    int m_portCount;
    std::vector<std::string> m_indexes;  // each line's row index (".192.168.0.254")
};
