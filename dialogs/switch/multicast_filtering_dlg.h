#pragma once
// "Multicast Filtering Mode Configuration": each port's handling of unregistered multicast groups;
// Apply sets a range of ports that holds no trunk port.

#include "dialogs/switch/port_range_list_dialog.h"

class CMulticastFilteringDlg : public CPortRangeListDialog {
    Q_OBJECT
public:
    explicit CMulticastFilteringDlg(QWidget* parent = nullptr);

protected:
    void ReadAll() override;
    std::optional<QStringList> LineFromRow(const WalkRow& row) override;
    void OnApply() override;
};
