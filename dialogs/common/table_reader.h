#pragma once
// The shared readers of the dialogs: a whole table in one callback, the trunk membership, and the
// per-port settings snapshot that rules looking across ports (trunk members, 802.1X, port speeds) work
// on. Each runs on a dialog's session through its walk machinery, so stale answers after Close or a new
// read are dropped like those of any walk, and `done` runs once on the UI thread.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "dialogs/common/module_dialog.h"
#include "dialogs/common/trunk_membership.h"

// Most rows a table walk of the shared readers takes when the table has no bound of its own.
inline constexpr int kMaxTableRows = 1024;

// Walks `columns` and hands every row read to `done` with the walk's final status (-2: the table
// ended; 0: stopped at options.maxRows; -1: failure, with the rows read until then).
void ReadTable(CModuleDialog& dialog, CCommonSNMP& session, const std::vector<std::string>& columns,
               std::function<void(std::vector<WalkRow> rows, int status)> done,
               std::vector<QWidget*> busy = {}, WalkOptions options = {});

// Walks the trunk member lists (at most 8 trunks plus a margin) into a TrunkMembership of `portCount`
// ports. `status` is the walk's final status; on a failure the membership holds what was read.
void ReadTrunkMembership(CModuleDialog& dialog, CCommonSNMP& session, int portCount,
                         std::function<void(const TrunkMembership& trunks, int status)> done,
                         std::vector<QWidget*> busy = {});

// What a set of rules needs to read.
struct SettingsQuery {
    std::vector<std::string> portColumns;   // per-port columns: the value of port p is column.p (or .x.p)
    std::vector<std::string> scalars;       // full OIDs, instance .0 included
    std::vector<std::string> tableColumns;  // other tables' columns, walked whole
};

// A snapshot of the switch's settings as plain values, for pure rule functions.
struct PortSettings {
    int portCount = 0;
    bool complete = false;  // every item of the query was read
    // column -> one value per port (index port - 1), "" where none was read. The port is the last arc.
    std::map<std::string, std::vector<std::string>> ports;
    std::map<std::string, std::string> scalars;  // oid -> value ("" unread)
    // column -> the instance suffix (".5") and value of every row, in walk order.
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> tables;

    const std::string& PortValue(const std::string& column, int port) const;
    int PortInt(const std::string& column, int port) const;  // leading number, 0 when unread
    const std::string& Scalar(const std::string& oid) const;
    int ScalarInt(const std::string& oid) const;
    std::vector<std::string> TableValues(const std::string& column) const;
};

// Reads every item of `query` on `session`, one request after the other (per-port columns bounded by the
// port count, tables by kMaxTableRows), and calls `done` once with the snapshot; `complete` is false
// when any item failed (what was read is kept).
void ReadPortSettings(CModuleDialog& dialog, CCommonSNMP& session, int portCount, const SettingsQuery& query,
                      std::function<void(const PortSettings& settings)> done,
                      std::vector<QWidget*> busy = {});
