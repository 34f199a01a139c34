#pragma once
// What the dialogs of the switch's own SNMP agent decide without a widget or a request: the objects,
// the user's messages, the engine-ID text, the row records read back from the walks, the row indexes,
// the Apply checks of the five tables and the column requests of a new row. The dialogs show the
// returned texts as they are.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/common/address_checks.h"
#include "dialogs/common/choices.h"
#include "snmp/snmp_answer.h"

namespace AgentOid {
inline constexpr const char* kGlobalState = "1.3.6.1.4.1.32473.10.75.13.25.1.0";
inline constexpr const char* kEngineId = "1.3.6.1.4.1.32473.10.75.13.25.7.0";
inline constexpr const char* kTrapBase = "1.3.6.1.4.1.32473.10.75.13.25.8.";  // + field + ".0"
inline constexpr const char* kUserColumn = "1.3.6.1.4.1.32473.10.75.13.25.2.1.1.";
inline constexpr const char* kGroupColumn = "1.3.6.1.4.1.32473.10.75.13.25.3.1.1.";
inline constexpr const char* kViewColumn = "1.3.6.1.4.1.32473.10.75.13.25.4.1.1.";
inline constexpr const char* kCommunityColumn = "1.3.6.1.4.1.32473.10.75.13.25.5.1.1.";
inline constexpr const char* kHostColumn = "1.3.6.1.4.1.32473.10.75.13.25.6.1.1.";
}  // namespace AgentOid

// What the dialogs write for their written choices: "Enable SNMP Global ", each trap box, the user's
// "SNMP Version" and the group's "Security Model" (arcs of their rows' indexes), the user's
// "Auth-Protocol" (column 4, when "encrypted") and "Priv-Protocol" (column 6; None, the switch's own
// default, is not written), the group's "Security Level" (the index's last arc), the view's "View
// Type" (column 4) and the host's "SNMP Version" (column 3).
inline constexpr CheckValues kGlobalStateValues{1, 2};
inline constexpr CheckValues kTrapValues{1, 2};
inline constexpr Choice kUserVersionChoices[] = {{"V1", 1}, {"V2c", 2}, {"V3", 3}};
inline constexpr Choice kSecurityModelChoices[] = {{"v1", 1}, {"v2c", 2}, {"v3", 3}};
inline constexpr Choice kAuthProtocolChoices[] = {{"MD5", 2}, {"SHA", 3}};
inline constexpr Choice kPrivProtocolChoices[] = {{"DES", 2}, {"None", 1}};
inline constexpr Choice kSecurityLevelChoices[] = {{"NoAuthNoPriv", 1}, {"AuthNoPriv", 2}, {"AuthPriv", 3}};
inline constexpr Choice kViewTypeChoices[] = {{"Included", 1}, {"Excluded", 2}};
inline constexpr Choice kHostVersionChoices[] = {
    {"V1", 1}, {"V2c", 2}, {"V3-NoAuthNoPriv", 3}, {"V3-AuthNoPriv", 4}, {"V3-AuthPriv", 5}};

// Column `column` of a table (`base` one of the AgentOid column prefixes), with an index (".2.97.98.1").
std::string AgentColumn(const char* base, int column, const std::string& index = "");

namespace AgentText {
inline constexpr const char* kBadRowStatus = "error istatus value!";
inline constexpr const char* kEngineIdLength = "ID length is 10-64";
inline constexpr const char* kEngineIdCharacter = "the accepted character is from 0 to F";
inline constexpr const char* kEngineIdNote =
    "Note: Engine ID length is 10-64, the accepted character is from 0 to F.";
inline constexpr const char* kDefaultEngineId = "8000081c044653";

inline constexpr const char* kSelectDelete = "Please select the item would be delete!\n";
inline constexpr const char* kSelecteDelete = "Please Selecte the Item you would delete";

inline constexpr const char* kUserNameEmpty = "Please enter valid User Name";
inline constexpr const char* kUserNameInvalid = "Invalid User Name .";
inline constexpr const char* kUserGroupEmpty = "Please enter valid Group Name";
inline constexpr const char* kGroupNameInvalid = "Invalid Group Name.";
inline constexpr const char* kUserExists = "This User Entry already exists.";
inline constexpr const char* kUserMax = "Maximum number of User Entry is 50.";
inline constexpr const char* kAuthEmpty = "Auth-Protocol Password can't be empty.";
inline constexpr const char* kMd5Length = " MD5 Max. Password length is 32.";
inline constexpr const char* kShaLength = " SHA Max. Password length is 40.";
inline constexpr const char* kPrivEmpty = "Priv-Protocol Password can't be empty.";
inline constexpr const char* kDesLength = " DES Max. Password length is 32.";

inline constexpr const char* kGroupNameEmpty = "Please enter valid group name!";
inline constexpr const char* kGroupExists = "This Group Entry already exists.";
inline constexpr const char* kGroupMax = "Maximum number of Group Entry is 50.";

inline constexpr const char* kViewNameEmpty = "Please enter valid view name.";
inline constexpr const char* kViewNameInvalid = "Invalid View Name.";
inline constexpr const char* kSubtreeCharacter = "Please enter valid subtree OID";
inline constexpr const char* kSubtreeEmptyPart = "Please enter valid subtree OID .";
inline constexpr const char* kMaskInvalid = "Please enter valid OID Mask.";
inline constexpr const char* kMaskLength = "Invalid  OID length";
inline constexpr const char* kViewExists = "This View Entry already exist.";
inline constexpr const char* kViewMax = "Maximum number of View Entry is 50.";

inline constexpr const char* kCommunityEmpty = "Please enter valid Community Name !";
inline constexpr const char* kCommunityInvalid = "Invalid Community Name.";
inline constexpr const char* kCommunityExists = "This Community Entry already exists.";
inline constexpr const char* kCommunityMax = "Maximum number of Community Entry is 10.";
// No V1/V2c user to give the community its view policy: the switch would refuse the row.
inline constexpr const char* kCommunityNoUser =
    "There is no active V1 or V2c user to choose. Please add one in the SNMP user table first.";

inline constexpr const char* kHostInvalid = "Invalid Host IP.";
inline constexpr const char* kHostUsed = "This IP Address has used,please enter other IP Address";
inline constexpr const char* kHostNameEmpty = "The Community String or SNMPv3 User Name can not be empty.";
inline constexpr const char* kHostNameInvalid = "Invalid Community String/SNMPv3 User Name.";
inline constexpr const char* kHostMax = "Maximum number of Host Entry is 10.";
}  // namespace AgentText

// Rows the user and view-based tables hold at most; communities and hosts.
inline constexpr int kMaxAgentRows = 50;
inline constexpr int kMaxCommunityHostRows = 10;
// Bound of every agent-table walk: well above what the switch holds, so a device that answers with
// endless rows cannot keep a dialog reading forever.
inline constexpr int kAgentWalkRowBound = 256;
// Names, views and host names are sent as UTF-8 of at most this many bytes.
inline constexpr std::size_t kAgentNameBytes = 127;

// ---- Engine ID -----------------------------------------------------------------------------------
// "" when the text may be sent, else the message (length first, then the first bad character).
std::string EngineIdRefusal(const std::string& text);
// The octets of the engine ID: the default ID when `useDefault`, an odd text with a "0" in front.
std::string EngineIdOctets(const std::string& text, bool useDefault);
// The octets as lower-case hex, two digits each.
std::string EngineIdText(const std::string& octets);

// ---- Traps ---------------------------------------------------------------------------------------
// The trap objects of one request: fields 1 to 6, and 7 to 9 on a PoE model.
std::vector<std::string> TrapOids(bool poeModel);

// ---- Row records (plain texts, as the walks decode them) ----------------------------------------
struct AgentUserRow {
    std::string name, group, version, authProtocol, privProtocol, rowStatus;
};
struct AgentGroupRow {
    std::string name, readView, writeView, notifyView, model, level, rowStatus;
};
struct AgentViewRow {
    std::string name, subtree, mask, type, rowStatus;
};
struct AgentCommunityRow {
    std::string name, user, rowStatus;
};
struct AgentHostRow {
    std::string address, version, name, rowStatus;
};

// Decoders of one walk answer, bindings in the order of the walk's columns (users 1, 2, 3, 4, 6, 8;
// groups 1 to 7; views 1, 3, 4, 5 with the first binding's instance suffix; communities 1, 2, 3;
// hosts 2, 1, 3, 4). Nothing when the answer is short.
std::optional<AgentUserRow> UserRowFrom(const std::vector<SnmpBinding>& b);
std::optional<AgentGroupRow> GroupRowFrom(const std::vector<SnmpBinding>& b);
std::optional<AgentViewRow> ViewRowFrom(const std::vector<SnmpBinding>& b, const std::string& suffix);
std::optional<AgentCommunityRow> CommunityRowFrom(const std::vector<SnmpBinding>& b);
std::optional<AgentHostRow> HostRowFrom(const std::vector<SnmpBinding>& b);

// The subtree of a view row from its index ".n.<name bytes>.m.<subtree>", as "1.3.6.1"; "" when the
// index does not hold one.
std::string ViewSubtreeFromIndex(const std::string& suffix);
// Mask octets in decimal joined by "." (01 01 00 gives "1.1.0").
std::string MaskText(const std::string& octets);

// ---- Indexes -------------------------------------------------------------------------------------
// A group's row: NameIndex(name), its security model's arc, its security level's arc.
std::string GroupIndex(const std::string& name, const std::string& model, int levelPosition);
// A new user's row: NameIndex(name) and its version's arc.
std::string UserIndex(const std::string& name, const std::string& version);
// NameIndex(name) "." components "." subtree.
std::string ViewIndex(const std::string& name, const std::vector<std::uint32_t>& subtree);
// 0 "NoAuthNoPriv", 1 "AuthNoPriv", 2 "AuthPriv"; -1 for another text.
int LevelPosition(const std::string& levelText);

// ---- Checks ----------------------------------------------------------------------------------------
// Each returns "" when the entry may be written, else the first failing check's message.

// A new user as the form holds it (names trimmed; passwords as typed).
struct UserEntry {
    std::string name, group, version;  // "V1", "V2c", "V3"
    bool encrypted = false;
    std::string authProtocol;  // "MD5", "SHA"
    std::string authPassword;
    std::string privProtocol;  // "DES", "None"
    std::string privPassword;
};
enum class UserField { None, AuthPassword, PrivPassword };
std::string UserRefusal(const UserEntry& e, const std::vector<AgentUserRow>& listed, UserField* focus);

struct GroupEntry {
    std::string name, model;  // "v1", "v2c", "v3"
    int levelPosition = 0;
    std::string readView, writeView, notifyView;
};
std::string GroupRefusal(const GroupEntry& e, const std::vector<AgentGroupRow>& listed);

// The subtree's components, or the message for it.
std::string ParseSubtree(const std::string& text, std::vector<std::uint32_t>* components);
// The mask's octets (0x00 / 0x01 each), or the message for it; `subtreeLength` components at most.
std::string ParseMask(const std::string& text, std::size_t subtreeLength, std::string* octets);
struct ViewEntry {
    std::string name, subtree, mask;
    int type = 1;  // column 4 as written
};
// Also hands back the subtree components and mask octets that the write needs.
std::string ViewRefusal(const ViewEntry& e, const std::vector<AgentViewRow>& listed,
                        std::vector<std::uint32_t>* subtree, std::string* maskOctets);

std::string CommunityRefusal(const std::string& name, const std::vector<AgentCommunityRow>& listed);

// A usable host of address class A, B or C.
bool IsClassfulHost(std::uint32_t address);
std::string HostRefusal(const Ipv4Fields& address, const std::string& name,
                        const std::vector<AgentHostRow>& listed);
// 1 "V1" .. 5 "V3-AuthPriv"; the code itself for another.
std::string HostVersionText(const std::string& code);
