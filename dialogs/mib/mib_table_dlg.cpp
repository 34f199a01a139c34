#include "dialogs/mib/mib_table_dlg.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

CListFormDialog::Frame MibFrame(const QString& title, const std::vector<CMibTableDlg::Column>& columns,
                                bool hasCounter) {
    CListFormDialog::Frame f;
    f.title = title;
    for (const CMibTableDlg::Column& c : columns) f.columns.push_back({c.heading});
    f.buttons = CListFormDialog::kRefresh | CListFormDialog::kClose;
    if (hasCounter) f.counterLabel = QObject::tr("Entries:");
    return f;
}

}  // namespace

CMibTableDlg::CMibTableDlg(const QString& title, std::vector<Column> columns, bool hasCounter,
                           int minBindings, QWidget* parent)
    : CListFormDialog(MibFrame(title, columns, hasCounter), parent),
      m_cCommonSNMP(AddSession("m_cCommonSNMP")),
      m_minBindings(minBindings) {
    for (const Column& c : columns)
        if (!c.oid.empty()) m_oids.push_back(c.oid);
}

QHBoxLayout* CMibTableDlg::TopRow() {
    if (!m_topRow) {
        m_topRow = new QHBoxLayout;
        TopArea()->addLayout(m_topRow);
    }
    return m_topRow;
}

void CMibTableDlg::showEvent(QShowEvent* event) {
    CListFormDialog::showEvent(event);
    // A posted click: it does nothing while a walk keeps Refresh disabled.
    if (m_refreshOnShow && !event->spontaneous())
        QMetaObject::invokeMethod(StandardButton(kRefresh), &QAbstractButton::click, Qt::QueuedConnection);
}

void CMibTableDlg::OnInitDialog() {
    if (!m_refreshOnShow) Refresh();
}

void CMibTableDlg::ReadAll() {
    WalkList(m_cCommonSNMP, m_oids, WalkOptions{m_minBindings, m_maxRows, 0});
    AfterWalkStarted();
}
