#pragma once
// "Time Based PoE Config": adds a PoE time range, or edits one (its name stays). An edit takes the old
// row away and writes the range again under the same index.

#include <vector>

#include "dialogs/common/module_dialog.h"
#include "dialogs/switch/time_range_rules.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

class CTimeRangeEditDlg : public CModuleDialog {
    Q_OBJECT
public:
    // `records`: every row the list read, in walk order. `index`: the range edited (edit mode).
    CTimeRangeEditDlg(QWidget* parent, bool addMode, int index, const std::vector<TimeRangeRecord>& records);

protected:
    void OnInitDialog() override;

private:
    void OnApply();
    void ShowRange(const std::vector<SnmpBinding>& bindings);
    TimeRangeSpan Span() const;
    std::vector<SetItem> Values(int index, const std::string& name, const TimeRangeSpan& span) const;
    // Destroy (edit only), create and the values with active; the values' result. `removed`: the
    // edit took the old row away.
    int Write(int index, const std::string& name, const TimeRangeSpan& span, bool* removed);

    CCommonSNMP& m_cCommonSNMP;     // the edited row's read
    CCommonSNMP& m_cCommonSNMPSet;  // writes

    bool m_addMode;
    int m_index;
    std::vector<TimeRangeRecord> m_records;

    QLineEdit* m_name = nullptr;
    QCheckBox* m_useDate = nullptr;
    // From year, month, day, to year, month, day.
    QComboBox* m_dates[6] = {};
    // Start hour, minute, end hour, minute.
    QComboBox* m_times[4] = {};
    QCheckBox* m_allDays = nullptr;
    QCheckBox* m_days[7] = {};
    QPushButton* m_apply = nullptr;
    QPushButton* m_cancel = nullptr;
};
