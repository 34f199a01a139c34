#include "dialogs/agent/snmp_agent_access.h"

#include "core/text_number.h"
#include "dialogs/common/user_prompt.h"
#include "snmp/encodings.h"

namespace {

using SetItem = CModuleDialog::SetItem;

std::vector<std::string> Columns(const char* base, std::initializer_list<int> columns) {
    std::vector<std::string> oids;
    for (int c : columns) oids.push_back(AgentColumn(base, c));
    return oids;
}

SetItem NameColumn(const char* base, int column, const std::string& index, const std::string& name) {
    return {AgentColumn(base, column, index), kBindOctets, ToUtf8(name, kAgentNameBytes + 1)};
}

}  // namespace

CSnmpAgentAccess::CSnmpAgentAccess(CModuleDialog& owner, const SessionMaker& addSession)
    : m_owner(owner),
      m_cCommonSNMP(addSession("m_cCommonSNMP")),
      m_cCommonSNMPSet(addSession("m_cCommonSNMPSet")),
      m_cCommonSNMPTable(addSession("m_cCommonSNMPTable")),
      m_cCommonSNMPGetUse(addSession("m_cCommonSNMPGetUse")) {}

int CSnmpAgentAccess::WriteRowStatus(const std::string& oid, const std::string& status) {
    if (status != "1" && status != "5" && status != "6") {
        Inform(&m_owner, QString::fromLatin1(AgentText::kBadRowStatus));
        return kSnmpFailed;
    }
    return m_owner.SetNow(m_cCommonSNMPSet, {{oid, kBindInteger, status}});
}

// ---- Scalars -----------------------------------------------------------------------------------------

void CSnmpAgentAccess::ReadGlobalState(std::function<void(int)> onValue, std::vector<QWidget*> busy) {
    m_owner.StartGet(
        m_cCommonSNMP, {AgentOid::kGlobalState},
        [this, onValue = std::move(onValue)](const std::vector<SnmpBinding>& b) {
            m_lastScalarText = b.empty() ? std::string() : b[0].value;
            onValue(LeadingInt(m_lastScalarText));
        },
        {}, std::move(busy));
}

bool CSnmpAgentAccess::WriteGlobalState(const std::string& value) {
    return m_owner.SetNow(m_cCommonSNMPSet,
                          {{AgentOid::kGlobalState, kBindInteger, value == "1" ? "1" : "2"}}) == 0;
}

void CSnmpAgentAccess::ReadEngineId(std::function<void(const std::string&)> onHex,
                                    std::vector<QWidget*> busy) {
    m_owner.StartGet(
        m_cCommonSNMPTable, {AgentOid::kEngineId},
        [onHex = std::move(onHex)](const std::vector<SnmpBinding>& b) {
            if (!b.empty()) onHex(EngineIdText(b[0].value));
        },
        {}, std::move(busy));
}

int CSnmpAgentAccess::WriteEngineId(const std::string& text, bool useDefault) {
    return m_owner.SetNow(m_cCommonSNMPSet,
                          {{AgentOid::kEngineId, kBindOctets, EngineIdOctets(text, useDefault)}});
}

void CSnmpAgentAccess::ReadTrapSettings(bool poeModel, std::function<void(const TrapSettings&)> onRecord,
                                        std::vector<QWidget*> busy) {
    m_owner.StartGet(
        m_cCommonSNMP, TrapOids(poeModel),
        [onRecord = std::move(onRecord)](const std::vector<SnmpBinding>& b) {
            TrapSettings record;
            for (size_t i = 0; i < b.size() && i < record.size(); ++i) record[i] = b[i].value;
            onRecord(record);
        },
        {}, std::move(busy));
}

bool CSnmpAgentAccess::WriteTrapSettings(const TrapSettings& record, bool poeModel) {
    std::vector<SetItem> items;
    const std::vector<std::string> oids = TrapOids(poeModel);
    for (size_t i = 0; i < oids.size(); ++i)
        items.push_back({oids[i], kBindInteger, record[i] == "1" ? "1" : "2"});
    return m_owner.SetNow(m_cCommonSNMP, items) == 0;
}

// ---- Walks -------------------------------------------------------------------------------------------

template <class Row>
void CSnmpAgentAccess::Walk(CCommonSNMP& session, std::vector<std::string> columns,
                            std::function<std::optional<Row>(const WalkRow&)> decode, RowHandler<Row> onRow,
                            EndHandler onEnd, std::vector<QWidget*> busy) {
    const int width = static_cast<int>(columns.size());
    m_owner.StartWalk(
        session, columns,
        [decode = std::move(decode), onRow = std::move(onRow)](const WalkRow& row) {
            if (std::optional<Row> r = decode(row)) onRow(*r);
        },
        std::move(onEnd), std::move(busy), WalkOptions{width, kAgentWalkRowBound, 0});
}

void CSnmpAgentAccess::ReadUserTable(RowHandler<AgentUserRow> onRow, EndHandler onEnd,
                                     std::vector<QWidget*> busy) {
    // The password columns stay on the switch: nothing shows them, and a walk would carry them over the
    // wire at every refresh (in clear text with SNMPv1).
    Walk<AgentUserRow>(
        m_cCommonSNMPGetUse, Columns(AgentOid::kUserColumn, {1, 2, 3, 4, 6, 8}),
        [](const WalkRow& r) { return UserRowFrom(r.bindings); }, std::move(onRow), std::move(onEnd),
        std::move(busy));
}

void CSnmpAgentAccess::ReadGroupTable(RowHandler<AgentGroupRow> onRow, EndHandler onEnd,
                                      std::vector<QWidget*> busy) {
    Walk<AgentGroupRow>(
        m_cCommonSNMPTable, Columns(AgentOid::kGroupColumn, {1, 2, 3, 4, 5, 6, 7}),
        [](const WalkRow& r) { return GroupRowFrom(r.bindings); }, std::move(onRow), std::move(onEnd),
        std::move(busy));
}

void CSnmpAgentAccess::ReadViewTable(RowHandler<AgentViewRow> onRow, EndHandler onEnd,
                                     std::vector<QWidget*> busy) {
    Walk<AgentViewRow>(
        m_cCommonSNMPTable, Columns(AgentOid::kViewColumn, {1, 3, 4, 5}),
        [](const WalkRow& r) { return ViewRowFrom(r.bindings, r.suffixes.empty() ? "" : r.suffixes[0]); },
        std::move(onRow), std::move(onEnd), std::move(busy));
}

void CSnmpAgentAccess::ReadCommunityTable(RowHandler<AgentCommunityRow> onRow,
                                          RowHandler<AgentUserRow> onUser, EndHandler onEnd,
                                          std::vector<QWidget*> busy) {
    Walk<AgentCommunityRow>(
        m_cCommonSNMPTable, Columns(AgentOid::kCommunityColumn, {1, 2, 3}),
        [](const WalkRow& r) { return CommunityRowFrom(r.bindings); }, std::move(onRow),
        [this, onUser = std::move(onUser), onEnd = std::move(onEnd), busy](int) {
            ReadUserTable(onUser, onEnd, busy);
        },
        busy);
}

void CSnmpAgentAccess::ReadHostTable(RowHandler<AgentHostRow> onRow, EndHandler onEnd,
                                     std::vector<QWidget*> busy) {
    Walk<AgentHostRow>(
        m_cCommonSNMPTable, Columns(AgentOid::kHostColumn, {2, 1, 3, 4}),
        [](const WalkRow& r) { return HostRowFrom(r.bindings); }, std::move(onRow), std::move(onEnd),
        std::move(busy));
}

// ---- New rows ----------------------------------------------------------------------------------------

int CSnmpAgentAccess::NewRow(const std::string& statusOid, std::vector<std::vector<SetItem>> requests,
                             RowCreateResult* made) {
    RowCreate row;
    row.statusOid = statusOid;
    if (!requests.empty()) {
        row.columns = std::move(requests.front());
        row.laterColumns.assign(std::make_move_iterator(requests.begin() + 1),
                                std::make_move_iterator(requests.end()));
    }
    const RowCreateResult result = CreateRowReporting(m_owner, m_cCommonSNMPSet, row);
    if (made) *made = result;
    return result.rc;
}

int CSnmpAgentAccess::AddUser(const UserEntry& e, RowCreateResult* made) {
    const std::string index = UserIndex(e.name, e.version);
    const char* base = AgentOid::kUserColumn;
    std::vector<std::vector<SetItem>> requests{{NameColumn(base, 3, index, e.group)}};
    if (e.version == "V3") {
        // Without encryption the protocol goes as an empty number (0), which the switch takes as none.
        const int priv = ChoiceValueOf(kPrivProtocolChoices, e.privProtocol);
        const bool des = e.encrypted && priv != ChoiceValueOf(kPrivProtocolChoices, "None");
        std::vector<SetItem> protocols{
            {AgentColumn(base, 4, index), kBindInteger,
             e.encrypted ? ValueText(ChoiceValueOf(kAuthProtocolChoices, e.authProtocol)) : "0"}};
        if (des) protocols.push_back({AgentColumn(base, 6, index), kBindInteger, ValueText(priv)});
        std::vector<SetItem> passwords{
            {AgentColumn(base, 5, index), kBindOctets, e.encrypted ? e.authPassword : std::string()}};
        if (des) passwords.push_back({AgentColumn(base, 7, index), kBindOctets, e.privPassword});
        requests.push_back(std::move(protocols));
        requests.push_back(std::move(passwords));
    }
    return NewRow(AgentColumn(base, 8, index), std::move(requests), made);
}

int CSnmpAgentAccess::AddGroup(const GroupEntry& e, RowCreateResult* made) {
    const std::string index = GroupIndex(e.name, e.model, e.levelPosition);
    std::vector<SetItem> views;
    int column = 4;
    for (const std::string* view : {&e.readView, &e.writeView, &e.notifyView}) {
        if (!view->empty()) views.push_back(NameColumn(AgentOid::kGroupColumn, column, index, *view));
        ++column;
    }
    return NewRow(AgentColumn(AgentOid::kGroupColumn, 7, index), {std::move(views)}, made);
}

int CSnmpAgentAccess::AddView(const std::string& name, const std::vector<std::uint32_t>& subtree,
                              const std::string& maskOctets, int type, RowCreateResult* made) {
    const std::string index = ViewIndex(name, subtree);
    return NewRow(AgentColumn(AgentOid::kViewColumn, 5, index),
                  {{{AgentColumn(AgentOid::kViewColumn, 3, index), kBindOctets, maskOctets},
                    {AgentColumn(AgentOid::kViewColumn, 4, index), kBindInteger, ValueText(type)}}},
                  made);
}

int CSnmpAgentAccess::AddCommunity(const std::string& name, const std::string& user, RowCreateResult* made) {
    const std::string index = NameIndex(name);
    return NewRow(AgentColumn(AgentOid::kCommunityColumn, 3, index),
                  {{NameColumn(AgentOid::kCommunityColumn, 2, index, user)}}, made);
}

int CSnmpAgentAccess::AddHost(const std::string& name, const std::string& address, int versionCode,
                              RowCreateResult* made) {
    const std::string index = "." + address;
    return NewRow(
        AgentColumn(AgentOid::kHostColumn, 4, index),
        {{NameColumn(AgentOid::kHostColumn, 2, index, name),
          {AgentColumn(AgentOid::kHostColumn, 3, index), kBindInteger, std::to_string(versionCode)}}},
        made);
}
