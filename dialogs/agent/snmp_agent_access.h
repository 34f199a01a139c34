#pragma once
// CSnmpAgentAccess: what the eight dialogs of the switch's own SNMP agent share. Each dialog owns one,
// built with it: four sessions declared on the dialog in their closing order (m_cCommonSNMP for the
// scalar reads and the trap writes, m_cCommonSNMPSet for every other write, m_cCommonSNMPTable for the
// engine ID and the group, view, community and host walks, m_cCommonSNMPGetUse for the user walk), so
// the dialog's teardown writes "==================DestroyWindow===============" and closes them in
// that order with their close lines. Every read is asynchronous: the answers are decoded on the SNMP
// worker into plain records and reach the dialog as copies on the UI thread (CModuleDialog's walk
// pattern); no worker ever waits for the UI thread. Every write is a synchronous set request.

#include <QString>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "dialogs/agent/snmp_agent_rules.h"
#include "dialogs/common/apply_sequence.h"
#include "dialogs/common/module_dialog.h"

// Nine texts, "1" enabled or "2" disabled, in field order (authentication, boot-up, fiber link,
// twisted-pair link, RSTP, firmware upgrade, PoE power on/off, PoE error, power budget).
using TrapSettings = std::array<std::string, 9>;

class CSnmpAgentAccess {
public:
    // `addSession` declares a session on the owner (CModuleDialog::AddSession); the owner passes a
    // lambda because only it may call its protected AddSession.
    using SessionMaker = std::function<CCommonSNMP&(const std::string& name)>;
    CSnmpAgentAccess(CModuleDialog& owner, const SessionMaker& addSession);
    CSnmpAgentAccess(const CSnmpAgentAccess&) = delete;
    CSnmpAgentAccess& operator=(const CSnmpAgentAccess&) = delete;

    // Row status "1", "5" or "6" on `oid`, sent and waited for; any other status shows
    // "error istatus value!" and sends nothing. The session's result (0 accepted).
    int WriteRowStatus(const std::string& oid, const std::string& status);

    // Global state: `onValue` gets the value as a number (the text is kept as LastScalarText).
    void ReadGlobalState(std::function<void(int)> onValue, std::vector<QWidget*> busy = {});
    bool WriteGlobalState(const std::string& value);
    const std::string& LastScalarText() const { return m_lastScalarText; }

    // Engine ID as lower-case hex text; the write sends the octets of EngineIdOctets.
    void ReadEngineId(std::function<void(const std::string&)> onHex, std::vector<QWidget*> busy = {});
    int WriteEngineId(const std::string& text, bool useDefault);

    // Fields 1 to 6, and 7 to 9 on a PoE model; the other fields stay empty when read.
    void ReadTrapSettings(bool poeModel, std::function<void(const TrapSettings&)> onRecord,
                          std::vector<QWidget*> busy = {});
    bool WriteTrapSettings(const TrapSettings& record, bool poeModel);

    // Table walks: one record per row (active or not), then `onEnd`.
    template <class Row>
    using RowHandler = std::function<void(const Row&)>;
    using EndHandler = std::function<void(int status)>;
    void ReadUserTable(RowHandler<AgentUserRow> onRow, EndHandler onEnd, std::vector<QWidget*> busy);
    void ReadGroupTable(RowHandler<AgentGroupRow> onRow, EndHandler onEnd, std::vector<QWidget*> busy);
    void ReadViewTable(RowHandler<AgentViewRow> onRow, EndHandler onEnd, std::vector<QWidget*> busy);
    // The community walk, then (from its end) the user walk; `onEnd` when the user walk ended.
    void ReadCommunityTable(RowHandler<AgentCommunityRow> onRow, RowHandler<AgentUserRow> onUser,
                            EndHandler onEnd, std::vector<QWidget*> busy);
    void ReadHostTable(RowHandler<AgentHostRow> onRow, EndHandler onEnd, std::vector<QWidget*> busy);

    // New rows: createAndWait, the column requests, active; a half-made row is destroyed again. 0 on
    // success, else the failing request's result; `made` tells which step failed and whether the
    // half-made row went again.
    int AddUser(const UserEntry& e, RowCreateResult* made);
    int AddGroup(const GroupEntry& e, RowCreateResult* made);
    int AddView(const std::string& name, const std::vector<std::uint32_t>& subtree,
                const std::string& maskOctets, int type, RowCreateResult* made);
    int AddCommunity(const std::string& name, const std::string& user, RowCreateResult* made);
    int AddHost(const std::string& name, const std::string& address, int versionCode, RowCreateResult* made);

private:
    template <class Row>
    void Walk(CCommonSNMP& session, std::vector<std::string> columns,
              std::function<std::optional<Row>(const WalkRow&)> decode, RowHandler<Row> onRow,
              EndHandler onEnd, std::vector<QWidget*> busy);
    int NewRow(const std::string& statusOid, std::vector<std::vector<CModuleDialog::SetItem>> requests,
               RowCreateResult* made);

    CModuleDialog& m_owner;
    std::string m_lastScalarText;

public:
    // Declared in closing order.
    CCommonSNMP& m_cCommonSNMP;
    CCommonSNMP& m_cCommonSNMPSet;
    CCommonSNMP& m_cCommonSNMPTable;
    CCommonSNMP& m_cCommonSNMPGetUse;
};
