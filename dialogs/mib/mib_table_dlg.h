#pragma once
// CMibTableDlg: the common frame of the public MIB table viewers. A list whose columns are walked with
// get-next, one row per answer, an optional "Entries:" counter, Refresh and Close. Refresh stays disabled
// while a walk runs, so walks never overlap in one dialog.

#include <QStringList>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/common/module_dialog.h"

class QHBoxLayout;
class QLabel;
class QPushButton;
class QTreeWidget;

class CMibTableDlg : public CModuleDialog {
    Q_OBJECT
public:
    struct Column {
        QString heading;  // shown exactly, trailing blanks included
        std::string oid;  // walked column; "" for a column made from the others
    };

    // Starts a new walk: clears the list, sets the counter to "0" and disables Refresh until the end.
    void Refresh();

protected:
    // `minBindings`: an answer with fewer bindings ends the walk as the table's end (0: no such test).
    CMibTableDlg(const QString& title, std::vector<Column> columns, bool hasCounter, int minBindings,
                 QWidget* parent);

    // The texts of one row made from an answer, or nothing to leave the answer out.
    virtual std::optional<QStringList> MakeRow(const WalkRow& row) = 0;
    // Runs after the walk was started (the forwarding table reads its age time here).
    virtual void AfterWalkStarted() {}

    // Refresh by itself whenever the window is shown (instead of once on opening).
    void RefreshOnShow() { m_refreshOnShow = true; }
    // A row of widgets above the list (created on first use).
    QHBoxLayout* TopRow();
    // Puts a button before Refresh; `busy` buttons are disabled while a walk runs.
    void AddButton(QPushButton* button, bool busy);

    void showEvent(QShowEvent* event) override;
    // Tables that do not refresh on every show read once here.
    void OnInitDialog() override;

    CCommonSNMP& m_cCommonSNMP;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_refresh = nullptr;
    QPushButton* m_close = nullptr;
    QLabel* m_entries = nullptr;  // null when the table has no counter
    int m_maxRows = -1;           // the table's row bound (-1: the walk's default bound)

private:
    std::vector<Column> m_columns;
    std::vector<std::string> m_oids;
    std::vector<QWidget*> m_busy;
    QHBoxLayout* m_topRow = nullptr;
    QHBoxLayout* m_buttonRow = nullptr;
    int m_minBindings = 0;
    bool m_refreshOnShow = false;
};
