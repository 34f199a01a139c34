#include "dialogs/switch/time_range_edit_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/text_number.h"
#include "dialogs/common/apply_sequence.h"
#include "dialogs/common/user_prompt.h"
#include "snmp/encodings.h"

namespace {

QComboBox* NumberList(QWidget* parent, const char* name, int first, int last) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    for (int n = first; n <= last; ++n) box->addItem(QString::number(n));
    return box;
}

int Number(const QComboBox* box) {
    return LeadingInt(box->currentText().toStdString());
}

QString Text(const std::string& bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<int>(bytes.size()));
}

}  // namespace

CTimeRangeEditDlg::CTimeRangeEditDlg(QWidget* parent, bool addMode, int index,
                                     const std::vector<TimeRangeRecord>& records)
    : CModuleDialog(parent),
      m_cCommonSNMP(AddSession("m_cCommonSNMP")),
      m_cCommonSNMPSet(AddSession("m_cCommonSNMPSet")),
      m_addMode(addMode),
      m_index(addMode ? 0 : index),
      m_records(records) {
    setObjectName(QStringLiteral("timeRangeEditDialog"));
    setWindowTitle(QStringLiteral("Time Based PoE Config"));

    auto* group = new QGroupBox(QStringLiteral("Time Range Setting"), this);
    group->setObjectName(QStringLiteral("rangeGroup"));
    m_name = new QLineEdit(group);
    m_name->setObjectName(QStringLiteral("rangeName"));
    m_name->setMaxLength(kMaxTimeRangeNameLength);
    m_name->setEnabled(m_addMode);
    m_useDate = new QCheckBox(QStringLiteral("Date"), group);
    m_useDate->setObjectName(QStringLiteral("useDate"));
    const char* const dateNames[] = {"fromYear", "fromMonth", "fromDay", "toYear", "toMonth", "toDay"};
    for (int i = 0; i < 6; ++i) {
        const int part = i % 3;
        m_dates[i] = NumberList(group, dateNames[i], part == 0 ? 2009 : 1,
                                part == 0   ? 2037
                                : part == 1 ? 12
                                            : 31);
        m_dates[i]->setEnabled(false);
    }
    auto* dates = new QGridLayout(group);
    dates->addWidget(new QLabel(QStringLiteral("Range Name"), group), 0, 0);
    dates->addWidget(m_name, 0, 1, 1, 3);
    dates->addWidget(m_useDate, 1, 0);
    for (int row = 0; row < 2; ++row) {
        dates->addWidget(
            new QLabel(row == 0 ? QStringLiteral("From Day ") : QStringLiteral("To Day "), group), 2 + row,
            0);
        for (int part = 0; part < 3; ++part) dates->addWidget(m_dates[row * 3 + part], 2 + row, 1 + part);
    }

    auto* hours = new QGroupBox(QStringLiteral("Hours(HH MM)"), group);
    hours->setObjectName(QStringLiteral("hoursGroup"));
    const char* const timeNames[] = {"startHour", "startMinute", "endHour", "endMinute"};
    for (int i = 0; i < 4; ++i) m_times[i] = NumberList(hours, timeNames[i], 0, i % 2 ? 59 : 23);
    auto* times = new QGridLayout(hours);
    times->addWidget(new QLabel(QStringLiteral("Start Time"), hours), 0, 0);
    times->addWidget(new QLabel(QStringLiteral("End Time"), hours), 1, 0);
    for (int i = 0; i < 4; ++i) times->addWidget(m_times[i], i / 2, 1 + i % 2);
    times->setColumnStretch(3, 1);
    dates->addWidget(hours, 4, 0, 1, 4);

    auto* weekdays = new QGroupBox(QStringLiteral("Weekdays"), group);
    weekdays->setObjectName(QStringLiteral("weekdaysGroup"));
    m_allDays = new QCheckBox(QStringLiteral("Select All Days"), weekdays);
    m_allDays->setObjectName(QStringLiteral("selectAllDays"));
    auto* dayRow = new QHBoxLayout;
    const char* const dayTexts[] = {"Mon ", "Tue", "Wed ", "Thu", "Fri ", "Sat", "Sun"};
    for (int d = 0; d < 7; ++d) {
        m_days[d] = new QCheckBox(QString::fromLatin1(dayTexts[d]), weekdays);
        m_days[d]->setObjectName(QStringLiteral("day%1").arg(d + 1));
        dayRow->addWidget(m_days[d]);
    }
    auto* days = new QVBoxLayout(weekdays);
    days->addWidget(m_allDays);
    days->addLayout(dayRow);
    dates->addWidget(weekdays, 5, 0, 1, 4);

    m_apply = new QPushButton(QStringLiteral("Apply"), this);
    m_apply->setObjectName(QStringLiteral("applyButton"));
    m_apply->setAutoDefault(false);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_apply);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);

    connect(m_useDate, &QCheckBox::toggled, this, [this](bool on) {
        for (QComboBox* box : m_dates) box->setEnabled(on);
    });
    connect(m_allDays, &QCheckBox::toggled, this, [this](bool on) {
        for (QCheckBox* day : m_days) day->setChecked(on);
    });
    connect(m_apply, &QPushButton::clicked, this, &CTimeRangeEditDlg::OnApply);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CTimeRangeEditDlg::OnInitDialog() {
    if (m_addMode) return;
    std::vector<std::string> oids;
    for (int c = kRangeIndexColumn; c <= kRangeStatusColumn; ++c)
        oids.push_back(TimeRangeOid::Instance(c, m_index));
    // Until the range is read, Apply would write blank fields over it; if it cannot be read, it stays
    // that way and only Cancel is left.
    StartGet(
        m_cCommonSNMP, oids, [this](const std::vector<SnmpBinding>& b) { ShowRange(b); },
        [this](int) { m_apply->setEnabled(false); }, {m_apply});
}

void CTimeRangeEditDlg::ShowRange(const std::vector<SnmpBinding>& b) {
    if (b.size() < kRangeStatusColumn) {
        m_apply->setEnabled(false);
        return;
    }
    auto value = [&b](int column) { return Text(b[column - 1].value); };
    auto select = [](QComboBox* box, const QString& text) {
        const int at = box->findText(text);
        if (at >= 0) box->setCurrentIndex(at);
    };
    m_name->setText(value(kRangeNameColumn));
    m_useDate->setChecked(value(kRangeUseDateColumn) == QLatin1String("1"));
    const int dateColumns[] = {kRangeFromYearColumn, kRangeFromYearColumn + 1, kRangeFromYearColumn + 2,
                               kRangeToYearColumn,   kRangeToYearColumn + 1,   kRangeToYearColumn + 2};
    for (int i = 0; i < 6; ++i) select(m_dates[i], value(dateColumns[i]));
    const int timeColumns[] = {kRangeStartHourColumn, kRangeStartHourColumn + 1, kRangeEndHourColumn,
                               kRangeEndHourColumn + 1};
    for (int i = 0; i < 4; ++i) select(m_times[i], value(timeColumns[i]));
    for (int d = 0; d < 7; ++d) m_days[d]->setChecked(value(kRangeMondayColumn + d) == QLatin1String("1"));
}

TimeRangeSpan CTimeRangeEditDlg::Span() const {
    TimeRangeSpan s;
    s.useDate = m_useDate->isChecked();
    s.fromYear = Number(m_dates[0]);
    s.fromMonth = Number(m_dates[1]);
    s.fromDay = Number(m_dates[2]);
    s.toYear = Number(m_dates[3]);
    s.toMonth = Number(m_dates[4]);
    s.toDay = Number(m_dates[5]);
    s.startHour = Number(m_times[0]);
    s.startMinute = Number(m_times[1]);
    s.endHour = Number(m_times[2]);
    s.endMinute = Number(m_times[3]);
    return s;
}

std::vector<CModuleDialog::SetItem> CTimeRangeEditDlg::Values(int index, const std::string& name,
                                                              const TimeRangeSpan& s) const {
    std::vector<SetItem> items;
    auto add = [&](int column, int value) {
        items.push_back({TimeRangeOid::Instance(column, index), kBindInteger, std::to_string(value)});
    };
    items.push_back({TimeRangeOid::Instance(kRangeNameColumn, index), kBindOctets, name});
    add(kRangeUseDateColumn, kUseDateValues.Of(s.useDate));
    if (s.useDate) {
        for (int i = 0; i < 3; ++i)
            add(kRangeFromYearColumn + i, i == 0 ? s.fromYear : i == 1 ? s.fromMonth : s.fromDay);
        for (int i = 0; i < 3; ++i)
            add(kRangeToYearColumn + i, i == 0 ? s.toYear : i == 1 ? s.toMonth : s.toDay);
    }
    add(kRangeStartHourColumn, s.startHour);
    add(kRangeStartHourColumn + 1, s.startMinute);
    add(kRangeEndHourColumn, s.endHour);
    add(kRangeEndHourColumn + 1, s.endMinute);
    for (int d = 0; d < 7; ++d) add(kRangeMondayColumn + d, kWeekdayValues.Of(m_days[d]->isChecked()));
    return items;
}

int CTimeRangeEditDlg::Write(int index, const std::string& name, const TimeRangeSpan& span, bool* removed) {
    const std::string status = TimeRangeOid::Instance(kRangeStatusColumn, index);
    // An edit takes the old row away first. The switch keeps a range a port still uses; its values
    // are then written over the row in place.
    if (!m_addMode) *removed = SetNow(m_cCommonSNMPSet, {{status, kBindInteger, "6"}}) == 0;
    RowCreate row;
    row.statusOid = status;
    row.columns = Values(index, name, span);
    row.activeWithColumns = true;
    row.columnsAfterRefusedCreate = true;
    return CreateRow(*this, m_cCommonSNMPSet, row);
}

void CTimeRangeEditDlg::OnApply() {
    const TimeRangeSpan span = Span();
    // A new name without blanks around it (all blanks is empty); an existing range keeps its own.
    const QString typed = m_addMode ? m_name->text().trimmed() : m_name->text();
    const std::string name = ToUtf8(typed.toStdString(), kMaxTimeRangeNameBytes + 1);
    int index = m_index;
    bool full = false;
    bool removed = false;
    ApplyPlan plan;
    plan.check = [&] {
        if (m_addMode && !Refuse(this, CheckTimeRangeName(name, m_records))) return false;
        if (!Refuse(this, CheckTimeRangeSpan(span))) return false;
        if (m_addMode) {
            index = CountActiveRanges(m_records) >= kMaxTimeRanges ? 0 : FreeTimeRangeIndex(m_records);
            full = index == 0;
            if (full) return Refuse(this, std::string(TimeRangeText::kFull));
        }
        return true;
    };
    plan.write = [&] { return Write(index, name, span, &removed); };
    plan.failureTextOf = [&](int) {
        return QString::fromLatin1(removed ? TimeRangeText::kRemovedNotWritten : TimeRangeText::kNotWritten);
    };
    const int rc = RunApply(this, plan);
    if (rc == kApplyRefused) {
        if (full) reject();
        return;
    }
    // After a failure the dialog stays open with what the user entered, so the range can be written again.
    if (rc != 0) return;
    accept();
}
