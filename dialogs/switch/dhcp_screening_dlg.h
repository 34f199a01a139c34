#pragma once
// "DHCP Server Screening Port Settings": the screening state of every port, read from the switch's port
// list; Apply sets a range of ports and writes the whole list, keeping the ports of a trunk alike.

#include <vector>

#include "dialogs/switch/port_range_list_dialog.h"

class CDhcpScreeningDlg : public CPortRangeListDialog {
    Q_OBJECT
public:
    explicit CDhcpScreeningDlg(QWidget* parent = nullptr);

protected:
    void ReadAll() override;
    void OnApply() override;

private:
    void ShowStates(const std::string& portList);

    std::vector<int> m_states;  // per port, 1 screening enabled; empty until read
};
