#pragma once
// "Forwarding Table": the bridge's forwarding database (MAC from the row index, status, port) and the
// address age time, read on opening and on Refresh. A port typed into "Destination Port" leaves that
// port's rows out of the list.

#include "dialogs/mib/mib_table_dlg.h"

class QLineEdit;

class CForwardingTableDlg : public CMibTableDlg {
    Q_OBJECT
public:
    explicit CForwardingTableDlg(QWidget* parent = nullptr);

protected:
    std::optional<QStringList> LineFromRow(const WalkRow& row) override;
    void AfterWalkStarted() override;

private:
    CCommonSNMP& m_cCommonSNMPGetTime;
    QLineEdit* m_filter = nullptr;
    QLineEdit* m_ageTime = nullptr;
};

// The forwarding-table filter: true when the row of `port` is listed under the filter text.
bool ForwardingRowListed(const std::string& port, const std::string& filter);
