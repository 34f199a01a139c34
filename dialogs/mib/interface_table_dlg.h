#pragma once
// "Interface Table": ifIndex, link status and speed of every interface; refreshes whenever shown.

#include "dialogs/mib/mib_table_dlg.h"

class CInterfaceTableDlg : public CMibTableDlg {
    Q_OBJECT
public:
    explicit CInterfaceTableDlg(QWidget* parent = nullptr);

protected:
    std::optional<QStringList> LineFromRow(const WalkRow& row) override;
};
