#pragma once
// Helpers shared by the public MIB dialog tests: list contents, independent walks of a table's columns
// and the comparison of what a dialog shows with what the agent holds.

#include <QString>
#include <QStringList>
#include <functional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "tests/fixtures/snmp_reader.h"

class QTreeWidget;
class QWidget;

// Readable failure output.
void PrintTo(const QString& s, std::ostream* os);
void PrintTo(const QStringList& l, std::ostream* os);

namespace mibtest {

using Rows = std::vector<QStringList>;

// The texts of every row of the dialog's "list".
Rows ListRows(QWidget& dialog);

// One walk per column, joined by instance suffix in the order of the first column; rows missing from
// a later column are dropped. `map(column, value)` turns a value into the text the dialog shows.
Rows WalkTable(const SnmpReader& reader, const std::vector<std::string>& columns,
               const std::function<std::string(int column, const SnmpReadValue&)>& map);

// For tables that change while they are read: every row shown was in the table before or after, and
// every row that was there before and after is shown.
void ExpectSameMoment(const Rows& shown, const Rows& before, const Rows& after);

std::set<QStringList> AsSet(const Rows& rows);
std::string Describe(const Rows& rows);

}  // namespace mibtest
