#pragma once
// "Trunk Configuration": the switch's link aggregation state, its trunks with their modes and member
// ports, the mode Apply of one trunk and the member dialog.

#include "dialogs/common/list_form_dialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

class CTrunkConfigDlg : public CListFormDialog {
    Q_OBJECT
public:
    explicit CTrunkConfigDlg(QWidget* parent = nullptr);

protected:
    void ReadAll() override;
    std::optional<QStringList> LineFromRow(const WalkRow& row) override;
    void OnLineSelected(QTreeWidgetItem* item) override;
    void OnListRead(int status) override;
    void OnApply() override;  // the mode of the trunk in "Trunk ID:"

private:
    void OnStateApply();
    void OnPortMember();
    void WalkTrunks();

    CCommonSNMP& m_cCommonSNMP;       // link aggregation state
    CCommonSNMP& m_cCommonSNMPTable;  // trunk walk
    CCommonSNMP& m_cCommonSNMPSet;    // writes

    int m_portCount;
    bool m_stateEnabled = false;  // as the switch last said
    QCheckBox* m_enable = nullptr;
    QPushButton* m_stateApply = nullptr;
    QLineEdit* m_trunkId = nullptr;
    QComboBox* m_mode = nullptr;
    QPushButton* m_portMember = nullptr;
};
