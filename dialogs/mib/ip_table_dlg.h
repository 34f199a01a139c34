#pragma once
// "IP Table : <device address>": the device's IP addresses and net masks; refreshes whenever shown.

#include "dialogs/mib/mib_table_dlg.h"

class CIpTableDlg : public CMibTableDlg {
    Q_OBJECT
public:
    explicit CIpTableDlg(QWidget* parent = nullptr);

protected:
    std::optional<QStringList> LineFromRow(const WalkRow& row) override;
};
