#include "tests/gui/mib/mib_test_support.h"

#include <gtest/gtest.h>

#include <QTreeWidget>
#include <QWidget>
#include <map>

void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
void PrintTo(const QStringList& l, std::ostream* os) {
    *os << "[" << l.join(" | ").toStdString() << "]";
}

namespace mibtest {

Rows ListRows(QWidget& dialog) {
    Rows rows;
    auto* list = dialog.findChild<QTreeWidget*>("list");
    if (!list) return rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list->topLevelItem(i);
        QStringList texts;
        for (int c = 0; c < list->columnCount(); ++c) texts << item->text(c);
        rows.push_back(texts);
    }
    return rows;
}

Rows WalkTable(const SnmpReader& reader, const std::vector<std::string>& columns,
               const std::function<std::string(int column, const SnmpReadValue&)>& map) {
    std::vector<std::string> order;
    std::map<std::string, std::vector<std::string>> cells;
    for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
        for (const SnmpReadValue& v : reader.Walk(columns[c])) {
            if (v.oid.compare(0, columns[c].size(), columns[c]) != 0) continue;
            const std::string suffix = v.oid.substr(columns[c].size());
            auto& row = cells[suffix];
            if (c == 0) order.push_back(suffix);
            if (static_cast<int>(row.size()) == c) row.push_back(map(c, v));
        }
    }
    Rows rows;
    for (const std::string& suffix : order) {
        const auto& row = cells[suffix];
        if (row.size() != columns.size()) continue;
        QStringList texts;
        for (const std::string& t : row) texts << QString::fromStdString(t);
        rows.push_back(texts);
    }
    return rows;
}

std::set<QStringList> AsSet(const Rows& rows) {
    return std::set<QStringList>(rows.begin(), rows.end());
}

std::string Describe(const Rows& rows) {
    std::string out;
    for (const QStringList& r : rows) out += "  [" + r.join(" | ").toStdString() + "]\n";
    return out;
}

void ExpectSameMoment(const Rows& shown, const Rows& before, const Rows& after) {
    const auto b = AsSet(before), a = AsSet(after), s = AsSet(shown);
    for (const QStringList& row : s)
        EXPECT_TRUE(b.count(row) || a.count(row))
            << "shown but never in the table: " << row.join(" | ").toStdString();
    for (const QStringList& row : b) {
        if (a.count(row)) {
            EXPECT_TRUE(s.count(row))
                << "in the table throughout but not shown: " << row.join(" | ").toStdString();
        }
    }
    EXPECT_EQ(s.size(), shown.size()) << "rows shown twice:\n" << Describe(shown);
}

}  // namespace mibtest
