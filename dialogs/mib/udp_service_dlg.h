#pragma once
// "UDP Service": the UDP listener table, read once on opening and on Refresh. The walk runs until the
// agent leaves the table; there is no counter.

#include "dialogs/mib/mib_table_dlg.h"

class CUdpServiceDlg : public CMibTableDlg {
    Q_OBJECT
public:
    explicit CUdpServiceDlg(QWidget* parent = nullptr);

protected:
    std::optional<QStringList> LineFromRow(const WalkRow& row) override;
};
