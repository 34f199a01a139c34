#pragma once
// "Spanning Tree Table": the bridge's spanning-tree port table. "&Port Config" or a double click opens
// the configuration of the selected port; after it ends with OK the table is read again.

#include "dialogs/mib/mib_table_dlg.h"

class CStpPortTableDlg : public CMibTableDlg {
    Q_OBJECT
public:
    explicit CStpPortTableDlg(QWidget* parent = nullptr);

    // Opens the port configuration for the selected row (nothing without a selection).
    void OpenPortConfig();
    // The texts of every row, in list order.
    std::vector<QStringList> Rows() const;

protected:
    std::optional<QStringList> LineFromRow(const WalkRow& row) override;

private:
    QPushButton* m_portConfig = nullptr;
};

// Columns of the spanning tree table, in list order.
enum StpTableColumn {
    kStpColPort,
    kStpColPriority,
    kStpColCost,
    kStpColEnable,
    kStpColStatus,
    kStpColDesignatedRoot,
    kStpColDesignatedCost,
    kStpColDesignatedBridge,
    kStpColDesignatedPort,
    kStpColForwardings,
    kStpColumnCount
};

// One answer of the port-table walk (bindings in column order) as the texts of its row.
QStringList StpPortRowTexts(const std::vector<SnmpBinding>& bindings);
