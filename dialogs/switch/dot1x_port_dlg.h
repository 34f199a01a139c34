#pragma once
// "802.1X Port Configuration": the port access control of every port, set for a range of ports. Trunk
// members are refused, and at least one port must stay forceAuthorized.

#include <QStringList>
#include <vector>

#include "dialogs/common/list_form_dialog.h"
#include "dialogs/common/trunk_membership.h"

class CPortRange;
class QComboBox;

class CDot1xPortDlg : public CListFormDialog {
    Q_OBJECT
public:
    // `timerTexts`: the seven global texts every line shows (QuietPeriod .. ReAuthEnabled).
    explicit CDot1xPortDlg(const QStringList& timerTexts, QWidget* parent = nullptr);

    // The control code of each port as last read (0 unread), and its trunk (0 none).
    const std::vector<int>& PortContrl() const { return m_portContrl; }
    const std::vector<int>& TrunkData() const { return m_TrunkData; }

protected:
    void ReadAll() override;
    std::optional<QStringList> LineFromRow(const WalkRow& row) override;
    void OnApply() override;
    void OnListRead(int status) override;

private:
    CCommonSNMP& m_cCommonSNMP;       // port table walk
    CCommonSNMP& m_cCommonSNMPTrunk;  // trunk membership
    CCommonSNMP& m_cCommonSNMPSet;    // writes

    int m_portCount;
    QStringList m_timerTexts;
    std::vector<int> m_portContrl;
    std::vector<int> m_TrunkData;
    TrunkMembership m_trunks;
    // The rules below look at every port's trunk and control: without both read, Apply sends nothing.
    bool m_trunksRead = false;
    bool m_controlsRead = false;

    QComboBox* m_from = nullptr;
    QComboBox* m_to = nullptr;
    QComboBox* m_control = nullptr;
    CPortRange* m_range = nullptr;
};
