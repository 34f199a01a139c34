#pragma once
// "Time Range Information": the switch's PoE time ranges (active rows only), with Add, Edit and Delete.
// Adding and editing open "Time Based PoE Config"; the list is read again whenever that closes.

#include <vector>

#include "dialogs/common/list_form_dialog.h"
#include "dialogs/switch/time_range_rules.h"

class CTimeRangeDlg : public CListFormDialog {
    Q_OBJECT
public:
    explicit CTimeRangeDlg(QWidget* parent = nullptr);

    // Every row of the last walk, in walk order, and the index of each listed line.
    const std::vector<TimeRangeRecord>& Records() const { return m_records; }
    const std::vector<int>& ListedIndexes() const { return m_listed; }

protected:
    void ReadAll() override;
    std::optional<QStringList> LineFromRow(const WalkRow& row) override;
    void OnAdd() override;
    void OnEdit() override;
    void OnDelete() override;

private:
    // The range index of the selected line, or 0 after the message that asks for a selection.
    int SelectedIndex(const char* message);
    void OpenEditor(bool addMode, int index);

    CCommonSNMP& m_cCommonSNMP;     // walk
    CCommonSNMP& m_cCommonSNMPSet;  // deletion

    std::vector<TimeRangeRecord> m_records;
    std::vector<int> m_listed;
};
