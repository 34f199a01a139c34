#pragma once
// CAgentTableDlg: the frame of the five table dialogs of the switch's own SNMP agent (users, groups,
// views, communities, hosts). Their pattern is one: the list shows the rows read from the switch (those
// not active marked); Apply checks the form and makes a new row (createAndWait, columns, active), Delete
// destroys the selected row without a question, Cancel resets the form; each reads the list again afterwards,
// so it always shows what the switch holds. A dialog adds its columns, form, checks and writes.

#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

#include "dialogs/agent/snmp_agent_access.h"
#include "dialogs/common/list_form_dialog.h"

class QGridLayout;
class QGroupBox;
class QPushButton;

// Follows the first column of a listed row that is not active on the switch.
inline constexpr const char* kNotActiveMark = " (not active)";

class CAgentTableDlg : public CListFormDialog {
    Q_OBJECT
protected:
    CAgentTableDlg(const Frame& frame, QWidget* parent);

    CSnmpAgentAccess& Access() { return m_access; }
    // Empties the list and `rows`; the handler it returns keeps each row of the walk in `rows` and lists
    // it with the texts of `line`. A row that is not active (a creation that failed half-way and could
    // not be taken away again) is listed too, marked as such, so the user can delete it.
    template <class Row, class Line>
    std::function<void(const Row&)> ListRows(std::vector<Row>& rows, Line line) {
        ClearList();
        rows.clear();
        return [this, &rows, line = std::move(line)](const Row& r) {
            rows.push_back(r);
            QStringList texts = line(r);
            if (r.rowStatus != "1" && !texts.isEmpty()) texts[0] += QString::fromLatin1(kNotActiveMark);
            AddLine(texts);
        };
    }
    // The form group below the list, a grid of labels and fields in one or two columns.
    QGridLayout* FormGrid(const QString& title);
    // A label and its field in the next row of the form's first (0) or second (1) column.
    void AddField(const QString& label, QWidget* field, int column = 0);

    // Apply of a new row: `check` shows its own message and returns false to stop with nothing sent;
    // `add` writes the row (the access object's AddXxx). On success the form is reset; the list is read
    // again either way, and a row the switch did not take is reported as `entry` ("user", "group"...).
    void ApplyNewRow(const std::function<bool()>& check, const QString& entry,
                     const std::function<int(RowCreateResult*)>& add, int pauseMs = 0);
    // Delete: the selected line's index in the list, or -1 after `noneText` was shown.
    int SelectedLine(const QString& noneText);
    // Destroys the row whose status object is `statusOid`, then reads the list again.
    void DestroyRow(const std::string& statusOid);

    // The form back to its first state (names cleared, combo boxes on their first entry).
    virtual void ResetForm() = 0;

    QPushButton* m_cancel = nullptr;

private:
    void OnCancel();

    CSnmpAgentAccess m_access;
    QGridLayout* m_grid = nullptr;
    int m_gridRows[2] = {0, 0};
};
