#pragma once
// "PoE Configuration": the PoE settings and measurements of every port, and the form that sets state,
// time range, priority and power limit for a range of ports. Reads the time ranges first so the list
// can show them by name, then the PoE port table.

#include "dialogs/common/list_form_dialog.h"
#include "dialogs/switch/poe_rules.h"

class CPortRange;
class QCheckBox;
class QComboBox;
class QLineEdit;

class CPoeConfigDlg : public CListFormDialog {
    Q_OBJECT
public:
    explicit CPoeConfigDlg(QWidget* parent = nullptr);

    // The time ranges of the last walk, in walk order.
    const PoeTimeRanges& TimeRanges() const { return m_ranges; }

protected:
    void ReadAll() override;
    std::optional<QStringList> LineFromRow(const WalkRow& row) override;
    void OnApply() override;
    void OnLineSelected(QTreeWidgetItem* item) override;
    void OnListRead(int status) override;

private:
    void ReadPoeTable();
    // The bindings of one port's write, without the port's instance.
    std::vector<SetItem> FormSettings() const;

    CCommonSNMP& m_cCommonSNMPTimeRang;  // time-range walk
    CCommonSNMP& m_cCommonSNMP;          // PoE port table walk
    CCommonSNMP& m_cCommonSNMPSet;       // writes

    int m_portCount;
    PoeTimeRanges m_ranges;
    std::vector<int> m_poePorts;  // ports with a row in the PoE table, as the last walk read them

    QComboBox* m_fromPort = nullptr;
    QComboBox* m_toPort = nullptr;
    CPortRange* m_portRange = nullptr;
    QComboBox* m_timeRange = nullptr;
    QComboBox* m_state = nullptr;
    QComboBox* m_priority = nullptr;
    QComboBox* m_powerLimit = nullptr;
    QCheckBox* m_CtrlUserdefe = nullptr;
    QLineEdit* m_userLimit = nullptr;
};
