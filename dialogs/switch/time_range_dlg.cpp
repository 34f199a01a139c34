#include "dialogs/switch/time_range_dlg.h"

#include <QTreeWidget>

#include "dialogs/common/apply_sequence.h"
#include "dialogs/switch/time_range_edit_dlg.h"

namespace {

// The switch holds 8 ranges; a walk that goes on past this many rows is a misbehaving agent.
constexpr int kTimeRangeWalkRows = 64;

CListFormDialog::Frame TimeRangeFrame() {
    CListFormDialog::Frame f;
    f.title = QStringLiteral("Time Range Information");
    f.objectName = QStringLiteral("timeRangeDialog");
    f.listGroup = QStringLiteral("Time Range Information");
    // Names are up to 20 characters long.
    f.columns = {{QStringLiteral("Rang Name"), 80, Qt::AlignLeft, QStringLiteral("Weekdays 0800 to 1800")},
                 {QStringLiteral("Weekdays"), 200},
                 {QStringLiteral("From Day"), 80, Qt::AlignHCenter},
                 {QStringLiteral("To Day"), 80, Qt::AlignHCenter},
                 {QStringLiteral("Start Time"), 70, Qt::AlignHCenter},
                 {QStringLiteral("End Time"), 70, Qt::AlignHCenter}};
    f.buttons = CListFormDialog::kAdd | CListFormDialog::kEdit | CListFormDialog::kDelete |
                CListFormDialog::kRefresh | CListFormDialog::kClose;
    return f;
}

}  // namespace

CTimeRangeDlg::CTimeRangeDlg(QWidget* parent)
    : CListFormDialog(TimeRangeFrame(), parent),
      m_cCommonSNMP(AddSession("m_cCommonSNMP")),
      m_cCommonSNMPSet(AddSession("m_cCommonSNMPSet")) {
    resize(std::max(680, width()), 340);  // at least as wide as the frame made it for the columns
}

void CTimeRangeDlg::ReadAll() {
    m_records.clear();
    m_listed.clear();
    std::vector<std::string> columns;
    for (int c = kRangeIndexColumn; c <= kRangeStatusColumn; ++c) columns.push_back(TimeRangeOid::Column(c));
    WalkList(m_cCommonSNMP, columns, WalkOptions{kRangeStatusColumn, kTimeRangeWalkRows, 0});
}

std::optional<QStringList> CTimeRangeDlg::LineFromRow(const WalkRow& row) {
    TimeRangeLine line;
    if (!TimeRangeLineFromRow(row.bindings, line)) return std::nullopt;
    m_records.push_back(line.record);
    if (!line.listed) return std::nullopt;
    m_listed.push_back(line.record.index);
    QStringList texts;
    for (const std::string& t : line.texts) texts << QString::fromUtf8(t.data(), static_cast<int>(t.size()));
    return texts;
}

int CTimeRangeDlg::SelectedIndex(const char* message) {
    QTreeWidgetItem* item = RequireSelection(QString::fromLatin1(message), QString::fromLatin1(message));
    if (!item) return 0;
    const int line = List()->indexOfTopLevelItem(item);
    return line >= 0 && line < static_cast<int>(m_listed.size()) ? m_listed[line] : 0;
}

void CTimeRangeDlg::OpenEditor(bool addMode, int index) {
    CTimeRangeEditDlg editor(this, addMode, index, m_records);
    editor.exec();
    // Whatever happened there, the list shows what the switch holds now.
    Refresh();
}

void CTimeRangeDlg::OnAdd() {
    OpenEditor(true, 0);
}

void CTimeRangeDlg::OnEdit() {
    if (const int index = SelectedIndex(TimeRangeText::kSelectEdit)) OpenEditor(false, index);
}

void CTimeRangeDlg::OnDelete() {
    const int index = SelectedIndex(TimeRangeText::kSelectDelete);
    if (!index) return;
    ApplyPlan plan;
    plan.write = [this, index] {
        return SetNow(m_cCommonSNMPSet,
                      {{TimeRangeOid::Instance(kRangeStatusColumn, index), kBindInteger, "6"}});
    };
    plan.reread = [this] { Refresh(); };
    RunApply(this, plan);
}
