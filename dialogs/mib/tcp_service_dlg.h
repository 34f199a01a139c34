#pragma once
// "TCP Service": the TCP connection table, read once on opening and on Refresh. The walk runs until the
// agent leaves the table; there is no counter.

#include "dialogs/mib/mib_table_dlg.h"

class CTcpServiceDlg : public CMibTableDlg {
    Q_OBJECT
public:
    explicit CTcpServiceDlg(QWidget* parent = nullptr);

protected:
    std::optional<QStringList> LineFromRow(const WalkRow& row) override;
};
