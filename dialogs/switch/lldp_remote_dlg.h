#pragma once
// "LLDP Remote Port Information": the neighbours the switch has learned, one line per remote entity,
// with their count. With LLDP off the list and Refresh are disabled.

#include "dialogs/common/list_form_dialog.h"

class CLldpRemoteDlg : public CListFormDialog {
    Q_OBJECT
public:
    explicit CLldpRemoteDlg(QWidget* parent = nullptr);

protected:
    void OnInitDialog() override;
    void ReadAll() override;
    std::optional<QStringList> LineFromRow(const WalkRow& row) override;
    void OnListRead(int status) override;

private:
    CCommonSNMP& m_cCommonSNMPEnabled;  // LLDP state
    CCommonSNMP& m_cCommonSNMP;         // remote table walk
};
