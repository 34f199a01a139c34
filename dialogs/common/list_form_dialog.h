#pragma once
// CListFormDialog: the frame of the table dialogs. A list with its columns (optionally in a titled
// group), a top area and a form area for the dialog's own fields, and the standard buttons in one order
// (Add, Edit, Delete, the dialog's own, Apply, Refresh, Close). Reading the table clears the list, walks
// it and adds one line per row the dialog maps; while it runs every button but Close is disabled (a slow
// device never traps the user), and the optional counter shows the number of lines. A new table dialog
// is its columns, its row mapping, its checks and its writes.

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "dialogs/common/module_dialog.h"

class QGroupBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class QVBoxLayout;

class QTreeView;
// Hovering a cell whose text the view cuts short shows the whole text as a tooltip.
void TipCutCells(QTreeView* view);

class CListFormDialog : public CModuleDialog {
    Q_OBJECT
public:
    enum Button : unsigned { kAdd = 1, kEdit = 2, kDelete = 4, kApply = 8, kRefresh = 16, kClose = 32 };
    struct Column {
        QString heading;  // shown exactly, trailing blanks included
        int width = 0;    // pixels; 0: the heading's width plus a margin
        Qt::Alignment align = Qt::AlignLeft;
        // The column's usual longest content ("02-11-22-33-44-56"): the column is made wide enough for
        // it. Longer cells show their whole text as a tooltip.
        QString fits{};
    };
    struct Frame {
        QString title;
        QString objectName;
        QString listGroup;  // title of the group around the list; empty: no group
        std::vector<Column> columns;
        unsigned buttons = kRefresh | kClose;
        QString counterLabel;      // e.g. "Entries:"; empty: no counter
        bool sideButtons = false;  // Add, Edit, Delete, Refresh (and own buttons) beside the list
    };

    // Reads everything again (the dialog's ReadAll).
    void Refresh();

    QTreeWidget* List() const { return m_list; }
    // A standard button, or null when the frame has none of that kind.
    QPushButton* StandardButton(Button which) const;
    // Lines now in the list.
    int LineCount() const;

protected:
    CListFormDialog(const Frame& frame, QWidget* parent);

    // What Refresh reads: walks, gets (through WalkList for the list itself).
    virtual void ReadAll() = 0;
    // The texts of one list line made from a walk answer; nothing leaves the answer out.
    virtual std::optional<QStringList> LineFromRow(const WalkRow& row) {
        Q_UNUSED(row);
        return std::nullopt;
    }
    // The standard buttons' handlers (Close ends the dialog, Refresh calls Refresh).
    virtual void OnAdd() {}
    virtual void OnEdit() {}
    virtual void OnDelete() {}
    virtual void OnApply() {}
    // A line was selected (clicked or moved to with the keys).
    virtual void OnLineSelected(QTreeWidgetItem* item) { Q_UNUSED(item); }
    // The list walk ended with `status` (-2 end, 0 bound reached, -1 failure).
    virtual void OnListRead(int status) { Q_UNUSED(status); }

    void OnInitDialog() override;

    // Clears the list (counter "0") and walks `columns` on `session`, one line per row LineFromRow maps.
    void WalkList(CCommonSNMP& session, const std::vector<std::string>& columns, WalkOptions options = {});
    // Adds a line (also for lists filled without a walk) and updates the counter.
    QTreeWidgetItem* AddLine(const QStringList& texts);
    void ClearList();

    // The selected line; with an empty list shows `emptyText`, with no line selected the same or
    // `noneSelectedText` with the information icon, and returns null.
    QTreeWidgetItem* RequireSelection(const QString& emptyText, const QString& noneSelectedText);

    QVBoxLayout* TopArea() const { return m_top; }    // above the list
    QVBoxLayout* FormArea() const { return m_form; }  // below the list
    // A button of the dialog's own before Apply/Refresh (or at the end of the side buttons); `busy`
    // buttons are disabled while a walk runs.
    QPushButton* AddButton(const QString& text, const char* objectName, bool busy = true);
    // A control the dialog lays out itself that a running walk disables as well.
    void AddBusy(QWidget* widget) { m_busy.push_back(widget); }
    // The buttons that a running walk disables (every button but Close).
    std::vector<QWidget*> BusyButtons() const;
    // Disables these buttons for good when the module was started without write access.
    void DisableWithoutWriteAccess(const std::vector<QPushButton*>& buttons);

private:
    QPushButton* MakeButton(const QString& text, const char* objectName);

    QTreeWidget* m_list = nullptr;
    QLabel* m_counter = nullptr;
    QVBoxLayout* m_top = nullptr;
    QVBoxLayout* m_form = nullptr;
    QVBoxLayout* m_side = nullptr;
    QHBoxLayout* m_bottom = nullptr;
    std::vector<QPushButton*> m_standard;  // indexed by bit position
    std::vector<QWidget*> m_busy;
    int m_ownButtons = 0;
};
