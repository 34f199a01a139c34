#include "dialogs/mib/mib_table_dlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

CMibTableDlg::CMibTableDlg(const QString& title, std::vector<Column> columns, bool hasCounter,
                           int minBindings, QWidget* parent)
    : CModuleDialog(parent),
      m_cCommonSNMP(AddSession("m_cCommonSNMP")),
      m_columns(std::move(columns)),
      m_minBindings(minBindings) {
    setWindowTitle(title);
    for (const Column& c : m_columns)
        if (!c.oid.empty()) m_oids.push_back(c.oid);

    m_list = new QTreeWidget(this);
    m_list->setObjectName("list");
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAlternatingRowColors(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setAllColumnsShowFocus(true);
    QStringList headings;
    for (const Column& c : m_columns) headings << c.heading;
    m_list->setHeaderLabels(headings);
    m_list->header()->setStretchLastSection(true);
    m_list->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The headings carry trailing blanks to give their columns room; keep that room.
    for (int i = 0; i < headings.size(); ++i)
        m_list->setColumnWidth(i, m_list->fontMetrics().horizontalAdvance(headings[i]) + 24);

    m_buttonRow = new QHBoxLayout;
    if (hasCounter) {
        auto* label = new QLabel(tr("Entries:"), this);
        m_entries = new QLabel("0", this);
        m_entries->setObjectName("entriesCount");
        m_entries->setMinimumWidth(m_entries->fontMetrics().horizontalAdvance("00000"));
        m_buttonRow->addWidget(label);
        m_buttonRow->addWidget(m_entries);
    }
    m_buttonRow->addStretch(1);
    m_refresh = new QPushButton(tr("&Refresh"), this);
    m_refresh->setObjectName("refreshButton");
    m_close = new QPushButton(tr("&Close"), this);
    m_close->setObjectName("closeButton");
    m_buttonRow->addWidget(m_refresh);
    m_buttonRow->addWidget(m_close);
    m_busy.push_back(m_refresh);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(m_buttonRow);

    connect(m_refresh, &QPushButton::clicked, this, &CMibTableDlg::Refresh);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);

    int width = 48;
    for (int i = 0; i < headings.size(); ++i) width += m_list->columnWidth(i);
    resize(qBound(420, width, 900), 400);
}

QHBoxLayout* CMibTableDlg::TopRow() {
    if (!m_topRow) {
        m_topRow = new QHBoxLayout;
        static_cast<QVBoxLayout*>(layout())->insertLayout(0, m_topRow);
    }
    return m_topRow;
}

void CMibTableDlg::AddButton(QPushButton* button, bool busy) {
    m_buttonRow->insertWidget(m_buttonRow->indexOf(m_refresh), button);
    if (busy) m_busy.push_back(button);
}

void CMibTableDlg::showEvent(QShowEvent* event) {
    CModuleDialog::showEvent(event);
    // A posted click: it does nothing while a walk keeps Refresh disabled.
    if (m_refreshOnShow && !event->spontaneous())
        QMetaObject::invokeMethod(m_refresh, &QAbstractButton::click, Qt::QueuedConnection);
}

void CMibTableDlg::OnInitDialog() {
    if (!m_refreshOnShow) Refresh();
}

void CMibTableDlg::Refresh() {
    m_list->clear();
    if (m_entries) m_entries->setText("0");
    WalkOptions options;
    options.minBindings = m_minBindings;
    options.maxRows = m_maxRows;
    StartWalk(
        m_cCommonSNMP, m_oids,
        [this](const WalkRow& row) {
            std::optional<QStringList> texts = MakeRow(row);
            if (!texts) return;
            auto* item = new QTreeWidgetItem(m_list, *texts);
            Q_UNUSED(item);
            if (m_entries) m_entries->setText(QString::number(m_list->topLevelItemCount()));
        },
        {}, m_busy, options);
    AfterWalkStarted();
}
