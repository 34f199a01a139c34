#pragma once
// "Trunk member": the member ports of one trunk. Reads the switch's settings when it opens, checks a new
// member set against them and writes the member list and the mode in one request.

#include <QString>

#include "dialogs/common/module_dialog.h"
#include "dialogs/switch/trunk_rules.h"

class CPortGrid;
class QPushButton;

class CTrunkMemberDlg : public CModuleDialog {
    Q_OBJECT
public:
    // `modeText` is the trunk's mode as the list shows it ("LACP", "Static").
    CTrunkMemberDlg(QWidget* parent, int trunk, const QString& modeText, int portCount);

    // True once the settings were read completely (the checks have something to check against).
    bool Ready() const { return m_ready; }
    CPortGrid* Ports() const { return m_ports; }

protected:
    void OnInitDialog() override;

private:
    void OnOk();

    // The settings are read one after the other on the first session; the checker's other sessions
    // (mirror, ACL, VLAN, trunk, static port tables) are declared after these two for their closing order.
    CCommonSNMP& m_cCommonSNMP;
    CCommonSNMP& m_cCommonSNMPSet;

    int m_trunk;
    QString m_modeText;
    int m_portCount;
    TrunkRuleInput m_input;
    bool m_ready = false;
    CPortGrid* m_ports = nullptr;
    QPushButton* m_ok = nullptr;
};
