#pragma once
// "Port Configuration": every port's configured and operating speed, flow control and default
// priority; writes one port's speed/duplex and flow control. Opened from the menu and from a port of
// the front panel (SelectPort picks that port's line).

#include <vector>

#include "dialogs/common/list_form_dialog.h"
#include "dialogs/switch/port_config_rules.h"

class QComboBox;
class QLineEdit;

class CPortConfigDlg : public CListFormDialog {
    Q_OBJECT
public:
    explicit CPortConfigDlg(QWidget* parent = nullptr);

    // Selects the line of `port` (1..N) once the list has been read (at once when it has), as a click on
    // that line would: "Port ID:" and the two combos show the port.
    void SelectPort(int port);

protected:
    void ReadAll() override;
    std::optional<QStringList> LineFromRow(const WalkRow& row) override;
    void OnLineSelected(QTreeWidgetItem* item) override;
    void OnListRead(int status) override;
    void OnApply() override;

private:
    bool SelectPendingPort();

    CCommonSNMP& m_cCommonSNMP;       // trunk membership and the write
    CCommonSNMP& m_cCommonSNMPTable;  // port table walk

    int m_portCount;
    // Per port (index port - 1), cleared before every read: configured speed, flow control, medium, trunk.
    PortApplyInput m_ports;
    std::vector<int> m_flow;
    int m_pendingPort = 0;

    QLineEdit* m_portId = nullptr;
    QComboBox* m_ctrlSpeed = nullptr;
    QComboBox* m_flowControl = nullptr;
};
