#include "dialogs/agent/agent_table_dlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

CAgentTableDlg::CAgentTableDlg(const Frame& frame, QWidget* parent)
    : CListFormDialog(frame, parent),
      m_access(*this, [this](const std::string& name) -> CCommonSNMP& { return AddSession(name); }) {
    m_cancel = AddButton(QStringLiteral("&Cancel"), "cancelButton");
    connect(m_cancel, &QPushButton::clicked, this, &CAgentTableDlg::OnCancel);
    // Room for a dozen rows above the form.
    List()->setMinimumHeight(List()->fontMetrics().height() * 12);
}

QGridLayout* CAgentTableDlg::FormGrid(const QString& title) {
    auto* group = new QGroupBox(title, this);
    group->setObjectName(QStringLiteral("formGroup"));
    m_grid = new QGridLayout(group);
    m_grid->setColumnStretch(1, 1);
    m_grid->setHorizontalSpacing(12);
    FormArea()->addWidget(group);
    return m_grid;
}

void CAgentTableDlg::AddField(const QString& label, QWidget* field, int column) {
    const int row = m_gridRows[column]++;
    if (column == 1) m_grid->setColumnStretch(3, 1);
    auto* text = new QLabel(label, field->parentWidget());
    text->setBuddy(field);
    m_grid->addWidget(text, row, 2 * column);
    m_grid->addWidget(field, row, 2 * column + 1);
}

void CAgentTableDlg::ApplyNewRow(const std::function<bool()>& check, const QString& entry,
                                 const std::function<int(RowCreateResult*)>& add, int pauseMs) {
    RowCreateResult made;
    int rc = 0;
    ApplyPlan plan;
    plan.check = check;
    plan.write = [&] { return rc = add(&made); };
    plan.pauseMs = pauseMs;
    // Says whether a half-made row went again: when its removal was refused too, it is listed as not
    // active, and only Delete takes it away.
    plan.failureTextOf = [&](int) { return RowCreateFailureText(made, entry + QStringLiteral(" entry")); };
    plan.reread = [&] {
        // A refused row keeps what the user typed, so it can be mended and applied again.
        if (rc == 0) ResetForm();
        Refresh();
    };
    plan.rereadOnFailure = true;
    RunApply(this, plan);
}

int CAgentTableDlg::SelectedLine(const QString& noneText) {
    QTreeWidgetItem* item = RequireSelection(noneText, noneText);
    return item ? List()->indexOfTopLevelItem(item) : -1;
}

void CAgentTableDlg::DestroyRow(const std::string& statusOid) {
    ApplyPlan plan;
    plan.write = [&] { return m_access.WriteRowStatus(statusOid, "6"); };
    plan.reread = [this] { Refresh(); };
    plan.rereadOnFailure = true;
    RunApply(this, plan);
}

void CAgentTableDlg::OnCancel() {
    ResetForm();
    Refresh();
}
