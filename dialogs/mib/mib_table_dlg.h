#pragma once
// CMibTableDlg: the public MIB table viewers on the shared list frame. Its columns are walked with
// get-next, one line per answer, with an optional "Entries:" counter, Refresh and Close. Refresh stays
// disabled while a walk runs, so walks never overlap in one dialog.

#include <QStringList>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/common/list_form_dialog.h"

class QHBoxLayout;

class CMibTableDlg : public CListFormDialog {
    Q_OBJECT
public:
    struct Column {
        QString heading;  // shown exactly, trailing blanks included
        std::string oid;  // walked column; "" for a column made from the others
    };

protected:
    // `minBindings`: an answer with fewer bindings ends the walk as the table's end (0: no such test).
    CMibTableDlg(const QString& title, std::vector<Column> columns, bool hasCounter, int minBindings,
                 QWidget* parent);

    // Runs after the walk was started (the forwarding table reads its age time here).
    virtual void AfterWalkStarted() {}

    // Refresh by itself whenever the window is shown (instead of once on opening).
    void RefreshOnShow() { m_refreshOnShow = true; }
    // A row of widgets above the list (created on first use).
    QHBoxLayout* TopRow();

    void ReadAll() override;
    void showEvent(QShowEvent* event) override;
    void OnInitDialog() override;

    CCommonSNMP& m_cCommonSNMP;
    int m_maxRows = kDefaultWalkRows;  // the table's own row bound

private:
    std::vector<std::string> m_oids;
    QHBoxLayout* m_topRow = nullptr;
    int m_minBindings = 0;
    bool m_refreshOnShow = false;
};
