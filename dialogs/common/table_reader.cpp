#include "dialogs/common/table_reader.h"

#include <algorithm>
#include <memory>

#include "core/text_number.h"

namespace {

// Per-port tables are indexed by the port number as the last arc (".p" or ".unit.p").
int LastArc(const std::string& oid) {
    const std::size_t dot = oid.rfind('.');
    return LeadingInt(dot == std::string::npos ? oid : oid.substr(dot + 1));
}

const std::string& Empty() {
    static const std::string empty;
    return empty;
}

}  // namespace

void ReadTable(CModuleDialog& dialog, CCommonSNMP& session, const std::vector<std::string>& columns,
               std::function<void(std::vector<WalkRow> rows, int status)> done, std::vector<QWidget*> busy,
               WalkOptions options) {
    auto rows = std::make_shared<std::vector<WalkRow>>();
    if (options.maxRows < 0) options.maxRows = kMaxTableRows;
    dialog.StartWalk(
        session, columns, [rows](const WalkRow& row) { rows->push_back(row); },
        [rows, done = std::move(done)](int status) { done(std::move(*rows), status); }, std::move(busy),
        options);
}

void ReadTrunkMembership(CModuleDialog& dialog, CCommonSNMP& session, int portCount,
                         std::function<void(const TrunkMembership& trunks, int status)> done,
                         std::vector<QWidget*> busy) {
    ReadTable(
        dialog, session, {kTrunkMemberListOid},
        [portCount, done = std::move(done)](std::vector<WalkRow> rows, int status) {
            TrunkMembership trunks(portCount);
            for (const WalkRow& row : rows)
                if (!row.bindings.empty() && !row.suffixes.empty())
                    trunks.AddRow(row.suffixes[0], row.bindings[0].value);
            done(trunks, status);
        },
        std::move(busy), WalkOptions{1, 16, 0});
}

const std::string& PortSettings::PortValue(const std::string& column, int port) const {
    auto it = ports.find(column);
    if (it == ports.end() || port < 1 || port > static_cast<int>(it->second.size())) return Empty();
    return it->second[port - 1];
}

int PortSettings::PortInt(const std::string& column, int port) const {
    return LeadingInt(PortValue(column, port));
}

const std::string& PortSettings::Scalar(const std::string& oid) const {
    auto it = scalars.find(oid);
    return it == scalars.end() ? Empty() : it->second;
}

int PortSettings::ScalarInt(const std::string& oid) const {
    return LeadingInt(Scalar(oid));
}

std::vector<std::string> PortSettings::TableValues(const std::string& column) const {
    std::vector<std::string> values;
    auto it = tables.find(column);
    if (it != tables.end())
        for (const auto& row : it->second) values.push_back(row.second);
    return values;
}

namespace {

// One reading of the snapshot: the items go out one after the other, each from the end handler of
// the one before, so one session serves them all.
// Per-port columns walked side by side, a few per request: one get-next step then reads a row of
// several columns, and a request stays well under the 484 octets every SNMP agent must take.
constexpr std::size_t kColumnsPerWalk = 8;

bool InColumn(const std::string& oid, const std::string& column) {
    return oid.size() > column.size() && oid.compare(0, column.size(), column) == 0 &&
           oid[column.size()] == '.';
}

struct SettingsRead {
    CModuleDialog* dialog;
    CCommonSNMP* session;
    SettingsQuery query;
    std::vector<QWidget*> busy;
    std::function<void(const PortSettings&)> done;
    PortSettings result;
    std::size_t step = 0;
    bool scalarsTogether = true;

    static void Next(const std::shared_ptr<SettingsRead>& self) {
        SettingsRead& r = *self;
        const std::size_t nColumns = r.query.portColumns.size(), nScalars = r.query.scalars.size();
        const std::size_t nWalks = (nColumns + kColumnsPerWalk - 1) / kColumnsPerWalk;  // walks
        const std::size_t i = r.step++;
        const int n = r.result.portCount;
        if (!r.result.complete && r.query.stopAtFailure) {
            r.done(r.result);
        } else if (i < nWalks) {
            const auto first = r.query.portColumns.begin() + static_cast<long>(i * kColumnsPerWalk);
            const std::vector<std::string> columns(
                first, first + static_cast<long>(std::min(kColumnsPerWalk, nColumns - i * kColumnsPerWalk)));
            for (const std::string& column : columns)
                r.result.ports[column].assign(static_cast<std::size_t>(n), std::string());
            ReadTable(
                *r.dialog, *r.session, columns,
                [self, columns, n](std::vector<WalkRow> rows, int status) {
                    for (const WalkRow& row : rows)
                        for (const SnmpBinding& b : row.bindings) {
                            // A column that ends early leaves the answers; the others stay in order.
                            const int port = LastArc(b.oid);
                            for (const std::string& column : columns)
                                if (port >= 1 && port <= n && InColumn(b.oid, column))
                                    self->result.ports[column][port - 1] = b.value;
                        }
                    if (status == kSnmpFailed) self->result.complete = false;
                    Next(self);
                },
                r.busy, WalkOptions{1, n, 0});
        } else if (i == nWalks && nScalars > 1 && r.scalarsTogether) {
            // Every scalar in one get; should the agent refuse one of them, each is asked alone.
            r.scalarsTogether = false;
            r.step = nWalks + nScalars;
            r.dialog->StartGet(
                *r.session, r.query.scalars,
                [self](const std::vector<SnmpBinding>& b) {
                    for (std::size_t k = 0; k < self->query.scalars.size(); ++k)
                        self->result.scalars[self->query.scalars[k]] =
                            k < b.size() ? b[k].value : std::string();
                    Next(self);
                },
                [self, nWalks](int status) {
                    if (status == kSnmpFailed)
                        self->result.complete = false;  // no answer: asking each would wait as long again
                    else
                        self->step = nWalks;
                    Next(self);
                },
                r.busy);
        } else if (i < nWalks + nScalars) {
            const std::string oid = r.query.scalars[i - nWalks];
            r.dialog->StartGet(
                *r.session, {oid},
                [self, oid](const std::vector<SnmpBinding>& b) {
                    self->result.scalars[oid] = b.empty() ? std::string() : b[0].value;
                    Next(self);
                },
                [self](int) {
                    self->result.complete = false;
                    Next(self);
                },
                r.busy);
        } else if (i < nWalks + nScalars + r.query.tableColumns.size()) {
            const std::string column = r.query.tableColumns[i - nWalks - nScalars];
            ReadTable(
                *r.dialog, *r.session, {column},
                [self, column](std::vector<WalkRow> rows, int status) {
                    auto& values = self->result.tables[column];
                    for (const WalkRow& row : rows)
                        values.emplace_back(row.suffixes.empty() ? std::string() : row.suffixes[0],
                                            row.bindings[0].value);
                    if (status == kSnmpFailed) self->result.complete = false;
                    Next(self);
                },
                r.busy, WalkOptions{1, kMaxTableRows, 0});
        } else {
            r.done(r.result);
        }
    }
};

}  // namespace

void ReadPortSettings(CModuleDialog& dialog, CCommonSNMP& session, int portCount, const SettingsQuery& query,
                      std::function<void(const PortSettings& settings)> done, std::vector<QWidget*> busy) {
    auto read = std::make_shared<SettingsRead>(
        SettingsRead{&dialog, &session, query, std::move(busy), std::move(done), {}, 0});
    read->result.portCount = portCount > 0 ? portCount : 0;
    read->result.complete = true;
    SettingsRead::Next(read);
}
