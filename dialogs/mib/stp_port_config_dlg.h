#pragma once
// " Port STP Configuration": priority, path cost and enable of one spanning-tree port, stepping through
// the rows of the port table. Ports of a link aggregation group must keep equal settings, so their
// settings are not written here.

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "dialogs/common/module_dialog.h"
#include "dialogs/common/trunk_membership.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

struct PortStpSettings {
    long priority = 0;
    long cost = 0;
    bool enabled = false;
    bool operator==(const PortStpSettings&) const = default;
};

enum class PortApplyAction { Send, Nothing, RefuseAggregated };

// What Apply does for a port: an aggregated port is never written, and refused with the message only
// when the wanted settings differ from the current ones (unknown current settings count as different).
PortApplyAction DecidePortApply(bool aggregated, const PortStpSettings* current,
                                const PortStpSettings& wanted);
// The path cost field as a value: "" when it lies in 0..200000000, else the message.
QString CheckPathCost(const std::string& text, long& cost);

class CStpPortConfigDlg : public CModuleDialog {
    Q_OBJECT
public:
    // `rows`: the texts of the spanning tree table (columns as StpTableColumn), `current` the row shown.
    CStpPortConfigDlg(std::vector<QStringList> rows, int current, QWidget* parent = nullptr);

    // Validates and writes the shown port; false when a message stopped it.
    bool Apply();
    void PrevPort();
    void NextPort();
    int CurrentRow() const { return m_row; }

    void accept() override;

protected:
    void OnInitDialog() override;

private:
    void ShowRow(bool read = true);
    void ReadPort();
    int PortNumber() const;

    CCommonSNMP& m_cCommonSNMP;
    CCommonSNMP& m_cCommonSNMPSet;
    CCommonSNMP& m_cCommonSNMPTable;
    std::vector<QStringList> m_rows;
    int m_row = 0;
    TrunkMembership m_trunks;
    bool m_haveCurrent = false;
    PortStpSettings m_current;

    QLineEdit* m_port = nullptr;
    QComboBox* m_priority = nullptr;
    QLineEdit* m_cost = nullptr;
    QCheckBox* m_enable = nullptr;
    QLineEdit* m_status = nullptr;
    QLineEdit* m_desigRoot = nullptr;
    QLineEdit* m_desigCost = nullptr;
    QLineEdit* m_desigBridge = nullptr;
    QLineEdit* m_desigPort = nullptr;
    QLineEdit* m_forward = nullptr;
    QPushButton* m_prev = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_apply = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
