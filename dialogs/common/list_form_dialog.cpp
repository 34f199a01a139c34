#include "dialogs/common/list_form_dialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QToolTip>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <bit>

#include "dialogs/common/user_prompt.h"

namespace {

// The viewport's tooltip event: the cell's text when the column is too narrow for it, else nothing.
class CutCellTips : public QObject {
public:
    explicit CutCellTips(QTreeView* view) : QObject(view), m_view(view) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::ToolTip) return false;
        auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = m_view->indexAt(help->pos());
        const QString text = index.data(Qt::DisplayRole).toString();
        const QRect cell = m_view->visualRect(index);
        // Item views keep a margin on each side of the text.
        const int margin = m_view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_view) + 1;
        if (!text.isEmpty() && m_view->fontMetrics().horizontalAdvance(text) > cell.width() - 2 * margin)
            QToolTip::showText(help->globalPos(), text, m_view->viewport(), cell);
        else
            QToolTip::hideText();
        return true;
    }

private:
    QTreeView* m_view;
};

const char* const kButtonNames[] = {"addButton",   "editButton",    "deleteButton",
                                    "applyButton", "refreshButton", "closeButton"};
const char* const kButtonTexts[] = {"&Add", "&Edit", "&Delete", "&Apply", "&Refresh", "&Close"};
}  // namespace

CListFormDialog::CListFormDialog(const Frame& frame, QWidget* parent)
    : CModuleDialog(parent), m_standard(6, nullptr) {
    setWindowTitle(frame.title);
    if (!frame.objectName.isEmpty()) setObjectName(frame.objectName);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("list"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAlternatingRowColors(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    QStringList headings;
    for (const Column& c : frame.columns) headings << c.heading;
    m_list->setHeaderLabels(headings);
    m_list->header()->setStretchLastSection(true);
    m_list->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    TipCutCells(m_list);
    // Frame and group margins, and room for the vertical scroll bar of a long list.
    int width = 48 + m_list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_list);
    for (int i = 0; i < static_cast<int>(frame.columns.size()); ++i) {
        const Column& c = frame.columns[i];
        const QFontMetrics& fm = m_list->fontMetrics();
        const int w = std::max(c.width > 0 ? c.width : fm.horizontalAdvance(c.heading) + 24,
                               c.fits.isEmpty() ? 0 : fm.horizontalAdvance(c.fits) + 16);
        m_list->setColumnWidth(i, w);
        m_list->headerItem()->setTextAlignment(i, c.align | Qt::AlignVCenter);
        width += w;
    }

    m_top = new QVBoxLayout;
    m_form = new QVBoxLayout;
    m_bottom = new QHBoxLayout;
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(m_list, 1);
    if (frame.sideButtons) {
        m_side = new QVBoxLayout;
        listRow->addLayout(m_side);
    }
    QWidget* listBox = nullptr;
    if (!frame.listGroup.isEmpty()) {
        auto* group = new QGroupBox(frame.listGroup, this);
        group->setObjectName(QStringLiteral("listGroup"));
        group->setLayout(listRow);
        listBox = group;
    }

    if (!frame.counterLabel.isEmpty()) {
        m_counter = new QLabel(QStringLiteral("0"), this);
        m_counter->setObjectName(QStringLiteral("counter"));
        m_counter->setMinimumWidth(m_counter->fontMetrics().horizontalAdvance(QStringLiteral("00000")));
        m_bottom->addWidget(new QLabel(frame.counterLabel, this));
        m_bottom->addWidget(m_counter);
    }
    m_bottom->addStretch(1);

    for (unsigned bit = 0; bit < 6; ++bit) {
        if (!(frame.buttons & (1u << bit))) continue;
        QPushButton* b = MakeButton(QString::fromLatin1(kButtonTexts[bit]), kButtonNames[bit]);
        m_standard[bit] = b;
        const Button which = static_cast<Button>(1u << bit);
        const bool side = frame.sideButtons && which != kApply && which != kClose;
        if (side)
            m_side->addWidget(b);
        else
            m_bottom->addWidget(b);
        if (which != kClose) m_busy.push_back(b);
    }
    if (m_side) {
        // Refresh sits at the foot of the side column, the actions at its head.
        if (QPushButton* refresh = StandardButton(kRefresh)) {
            m_side->removeWidget(refresh);
            m_side->addStretch(1);
            m_side->addWidget(refresh);
        } else {
            m_side->addStretch(1);
        }
    }

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_top);
    if (listBox)
        layout->addWidget(listBox, 1);
    else
        layout->addLayout(listRow, 1);
    layout->addLayout(m_form);
    layout->addLayout(m_bottom);

    auto on = [this](Button which, void (CListFormDialog::*handler)()) {
        if (QPushButton* b = StandardButton(which)) connect(b, &QPushButton::clicked, this, handler);
    };
    on(kAdd, &CListFormDialog::OnAdd);
    on(kEdit, &CListFormDialog::OnEdit);
    on(kDelete, &CListFormDialog::OnDelete);
    on(kApply, &CListFormDialog::OnApply);
    on(kRefresh, &CListFormDialog::Refresh);
    if (QPushButton* close = StandardButton(kClose))
        connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item) OnLineSelected(item);
    });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] {
        QPushButton* edit = StandardButton(kEdit);
        if (edit && edit->isEnabled()) OnEdit();
    });

    resize(qBound(420, width, 1000), 420);
}

void TipCutCells(QTreeView* view) {
    view->viewport()->installEventFilter(new CutCellTips(view));
}

QPushButton* CListFormDialog::MakeButton(const QString& text, const char* objectName) {
    return DialogButton(text, objectName, this);
}

QPushButton* CListFormDialog::StandardButton(Button which) const {
    const int bit = std::countr_zero(static_cast<unsigned>(which));
    return bit < 6 ? m_standard[bit] : nullptr;
}

QPushButton* CListFormDialog::AddButton(const QString& text, const char* objectName, bool busy) {
    QPushButton* b = MakeButton(text, objectName);
    if (m_side) {
        m_side->insertWidget(
            m_ownButtons +
                [this] {
                    int n = 0;
                    for (Button w : {kAdd, kEdit, kDelete})
                        if (StandardButton(w)) ++n;
                    return n;
                }(),
            b);
    } else {
        QWidget* before = StandardButton(kApply)     ? StandardButton(kApply)
                          : StandardButton(kRefresh) ? StandardButton(kRefresh)
                                                     : StandardButton(kClose);
        const int at = before ? m_bottom->indexOf(before) : m_bottom->count();
        m_bottom->insertWidget(at, b);
    }
    ++m_ownButtons;
    if (busy) m_busy.push_back(b);
    return b;
}

std::vector<QWidget*> CListFormDialog::BusyButtons() const {
    return m_busy;
}

void CListFormDialog::DisableWithoutWriteAccess(const std::vector<QPushButton*>& buttons) {
    if (Settings().WriteAccess) return;
    for (QPushButton* b : buttons)
        if (b) b->setEnabled(false);
}

int CListFormDialog::LineCount() const {
    return m_list->topLevelItemCount();
}

void CListFormDialog::OnInitDialog() {
    Refresh();
}

void CListFormDialog::Refresh() {
    if (SessionsClosed()) return;
    ReadAll();
}

void CListFormDialog::ClearList() {
    m_list->clear();
    if (m_counter) m_counter->setText(QStringLiteral("0"));
}

QTreeWidgetItem* CListFormDialog::AddLine(const QStringList& texts) {
    auto* item = new QTreeWidgetItem(m_list, texts);
    for (int i = 0; i < texts.size(); ++i)
        item->setTextAlignment(i, Qt::Alignment(m_list->headerItem()->textAlignment(i)));
    if (m_counter) m_counter->setText(QString::number(LineCount()));
    return item;
}

void CListFormDialog::WalkList(CCommonSNMP& session, const std::vector<std::string>& columns,
                               WalkOptions options) {
    ClearList();
    StartWalk(
        session, columns,
        [this](const WalkRow& row) {
            if (std::optional<QStringList> texts = LineFromRow(row)) AddLine(*texts);
        },
        [this](int status) { OnListRead(status); }, m_busy, options);
}

QTreeWidgetItem* CListFormDialog::RequireSelection(const QString& emptyText,
                                                   const QString& noneSelectedText) {
    if (LineCount() == 0) {
        Inform(this, emptyText);
        return nullptr;
    }
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty()) {
        Inform(this, noneSelectedText.isEmpty() ? emptyText : noneSelectedText, PromptIcon::Information);
        return nullptr;
    }
    return selected.first();
}
