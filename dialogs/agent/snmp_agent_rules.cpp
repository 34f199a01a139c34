#include "dialogs/agent/snmp_agent_rules.h"

#include <cstdio>

#include "core/text_number.h"
#include "snmp/encodings.h"

namespace {

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Characters, not bytes: what the user counts when told a length.
std::size_t Characters(const std::string& utf8) {
    std::size_t n = 0;
    for (unsigned char c : utf8)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

std::string Decoded(const SnmpBinding& b) {
    std::string text;
    FromUtf8(b.value, text);
    return text;
}

// The text of a code from `texts` (code 1 first); the number itself for a code the list lacks.
std::string CodeText(const std::string& code, std::initializer_list<const char*> texts) {
    const int n = LeadingInt(code);
    if (n >= 1 && n <= static_cast<int>(texts.size())) return *(texts.begin() + (n - 1));
    return code;
}

std::vector<std::string> Split(const std::string& text, char at) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t dot = text.find(at, start);
        parts.push_back(text.substr(start, dot - start));
        if (dot == std::string::npos) return parts;
        start = dot + 1;
    }
}

std::string Joined(const std::vector<std::uint32_t>& components) {
    std::string text;
    for (std::uint32_t c : components) text += (text.empty() ? "" : ".") + std::to_string(c);
    return text;
}

}  // namespace

std::string AgentColumn(const char* base, int column, const std::string& index) {
    return base + std::to_string(column) + index;
}

// ---- Engine ID ---------------------------------------------------------------------------------------

std::string EngineIdRefusal(const std::string& text) {
    // The length as the user counts it, so six accented letters are too short, not wrong digits.
    const std::size_t length = Utf8Characters(text);
    if (length < 10 || length > 64) return AgentText::kEngineIdLength;
    for (char c : text)
        if (!IsHexDigit(c)) return AgentText::kEngineIdCharacter;
    return "";
}

std::string EngineIdOctets(const std::string& text, bool useDefault) {
    std::string hex = useDefault ? AgentText::kDefaultEngineId : text;
    if (hex.size() % 2) hex = "0" + hex;
    const std::vector<unsigned char> bytes = HexToBytes(hex);
    return std::string(bytes.begin(), bytes.end());
}

std::string EngineIdText(const std::string& octets) {
    std::string text;
    char digits[3];
    for (unsigned char b : octets) {
        std::snprintf(digits, sizeof digits, "%02x", b);
        text += digits;
    }
    return text;
}

std::vector<std::string> TrapOids(bool poeModel) {
    std::vector<std::string> oids;
    for (int field = 1; field <= (poeModel ? 9 : 6); ++field)
        oids.push_back(AgentOid::kTrapBase + std::to_string(field) + ".0");
    return oids;
}

// ---- Row records -------------------------------------------------------------------------------------

std::optional<AgentUserRow> UserRowFrom(const std::vector<SnmpBinding>& b) {
    if (b.size() < 6) return std::nullopt;
    AgentUserRow r;
    r.name = Decoded(b[0]);
    r.version = CodeText(b[1].value, {"V1", "V2c", "V3"});
    r.group = Decoded(b[2]);
    r.authProtocol = CodeText(b[3].value, {"None", "MD5", "SHA"});
    r.privProtocol = CodeText(b[4].value, {"None", "DES_CBC"});
    r.rowStatus = b[5].value;
    return r;
}

std::optional<AgentGroupRow> GroupRowFrom(const std::vector<SnmpBinding>& b) {
    if (b.size() < 7) return std::nullopt;
    AgentGroupRow r;
    r.name = Decoded(b[0]);
    r.model = CodeText(b[1].value, {"v1", "v2c", "v3"});
    r.level = CodeText(b[2].value, {"NoAuthNoPriv", "AuthNoPriv", "AuthPriv"});
    r.readView = Decoded(b[3]);
    r.writeView = Decoded(b[4]);
    r.notifyView = Decoded(b[5]);
    r.rowStatus = b[6].value;
    return r;
}

std::optional<AgentViewRow> ViewRowFrom(const std::vector<SnmpBinding>& b, const std::string& suffix) {
    if (b.size() < 4) return std::nullopt;
    AgentViewRow r;
    r.name = Decoded(b[0]);
    r.subtree = ViewSubtreeFromIndex(suffix);
    r.mask = MaskText(b[1].value);
    r.type = b[2].value == "1" ? "Included" : b[2].value == "2" ? "Excluded" : b[2].value;
    r.rowStatus = b[3].value;
    return r;
}

std::optional<AgentCommunityRow> CommunityRowFrom(const std::vector<SnmpBinding>& b) {
    if (b.size() < 3) return std::nullopt;
    return AgentCommunityRow{Decoded(b[0]), Decoded(b[1]), b[2].value};
}

std::optional<AgentHostRow> HostRowFrom(const std::vector<SnmpBinding>& b) {
    if (b.size() < 4) return std::nullopt;
    return AgentHostRow{b[1].value, HostVersionText(b[2].value), Decoded(b[0]), b[3].value};
}

std::string ViewSubtreeFromIndex(const std::string& suffix) {
    if (suffix.empty() || suffix[0] != '.') return "";
    const std::vector<std::string> parts = Split(suffix.substr(1), '.');
    const int nameLength = LeadingInt(parts[0]);
    if (nameLength < 0 || static_cast<std::size_t>(nameLength) + 1 >= parts.size()) return "";
    const std::size_t at = static_cast<std::size_t>(nameLength) + 1;
    const int components = LeadingInt(parts[at]);
    if (components <= 0 || parts.size() - at - 1 != static_cast<std::size_t>(components)) return "";
    std::string subtree;
    for (std::size_t i = at + 1; i < parts.size(); ++i) subtree += (subtree.empty() ? "" : ".") + parts[i];
    return subtree;
}

std::string MaskText(const std::string& octets) {
    std::string text;
    for (unsigned char b : octets) text += (text.empty() ? "" : ".") + std::to_string(b);
    return text;
}

// ---- Indexes -----------------------------------------------------------------------------------------

std::string GroupIndex(const std::string& name, const std::string& model, int levelPosition) {
    // A model the list does not know (read from a row) adds no arc, as NameVersionIndex does.
    const int item = ChoiceItemNamed(kSecurityModelChoices, model);
    return NameIndex(name) + (item < 0 ? "" : "." + ValueText(kSecurityModelChoices[item].value)) + "." +
           ValueText(ChoiceValue(kSecurityLevelChoices, levelPosition));
}

std::string UserIndex(const std::string& name, const std::string& version) {
    return NameIndex(name) + "." + ValueText(ChoiceValueOf(kUserVersionChoices, version));
}

std::string ViewIndex(const std::string& name, const std::vector<std::uint32_t>& subtree) {
    std::string index = NameIndex(name) + "." + std::to_string(subtree.size());
    for (std::uint32_t c : subtree) index += "." + std::to_string(c);
    return index;
}

int LevelPosition(const std::string& levelText) {
    return ChoiceItemNamed(kSecurityLevelChoices, levelText);
}

// ---- Checks ------------------------------------------------------------------------------------------

std::string UserRefusal(const UserEntry& e, const std::vector<AgentUserRow>& listed, UserField* focus) {
    if (focus) *focus = UserField::None;
    if (e.name.empty()) return AgentText::kUserNameEmpty;
    if (!IsValidName(e.name)) return AgentText::kUserNameInvalid;
    if (e.group.empty()) return AgentText::kUserGroupEmpty;
    if (!IsValidName(e.group)) return AgentText::kGroupNameInvalid;
    for (const AgentUserRow& r : listed)
        if (r.name == e.name && r.version == e.version) return AgentText::kUserExists;
    if (listed.size() >= static_cast<std::size_t>(kMaxAgentRows)) return AgentText::kUserMax;
    if (!e.encrypted) return "";
    auto tooLong = [focus](UserField field, const char* message) {
        if (focus) *focus = field;
        return std::string(message);
    };
    if (Trimmed(e.authPassword).empty()) return AgentText::kAuthEmpty;
    const std::size_t auth = Characters(e.authPassword);
    if (e.authProtocol == "MD5" && auth > 32) return tooLong(UserField::AuthPassword, AgentText::kMd5Length);
    if (e.authProtocol == "SHA" && auth > 40) return tooLong(UserField::AuthPassword, AgentText::kShaLength);
    if (e.privProtocol == "DES") {
        if (Trimmed(e.privPassword).empty()) return AgentText::kPrivEmpty;
        if (Characters(e.privPassword) > 32) return tooLong(UserField::PrivPassword, AgentText::kDesLength);
    }
    return "";
}

std::string GroupRefusal(const GroupEntry& e, const std::vector<AgentGroupRow>& listed) {
    if (e.name.empty()) return AgentText::kGroupNameEmpty;
    if (!IsValidName(e.name)) return AgentText::kGroupNameInvalid;
    for (const AgentGroupRow& r : listed)
        if (r.name == e.name && r.model == e.model) return AgentText::kGroupExists;
    if (listed.size() >= static_cast<std::size_t>(kMaxAgentRows)) return AgentText::kGroupMax;
    return "";
}

std::string ParseSubtree(const std::string& text, std::vector<std::uint32_t>* components) {
    components->clear();
    for (char c : text)
        if (c != '.' && (c < '0' || c > '9')) return AgentText::kSubtreeCharacter;
    if (text.empty()) return AgentText::kSubtreeEmptyPart;
    for (const std::string& part : Split(text, '.')) {
        if (part.empty()) return AgentText::kSubtreeEmptyPart;
        // A sub-identifier must fit 32 bits, or the index cannot be sent at all.
        const std::string digits = part.substr(std::min(part.find_first_not_of('0'), part.size() - 1));
        if (digits.size() > 10 || std::stoull(digits) > 0xFFFFFFFFull) return AgentText::kSubtreeCharacter;
        components->push_back(static_cast<std::uint32_t>(std::stoull(digits)));
    }
    return "";
}

std::string ParseMask(const std::string& text, std::size_t subtreeLength, std::string* octets) {
    octets->clear();
    const std::string mask = Trimmed(text);
    if (mask.empty()) return AgentText::kMaskInvalid;
    std::string hex;
    const std::vector<std::string> parts = Split(mask, '.');
    for (const std::string& part : parts) {
        if (part == "0" || part == "1")
            hex += "0" + part;
        else if (part == "00" || part == "01")
            hex += part;
        else
            return AgentText::kMaskInvalid;
    }
    if (parts.size() > subtreeLength) return AgentText::kMaskLength;
    const std::vector<unsigned char> bytes = HexToBytes(hex);
    octets->assign(bytes.begin(), bytes.end());
    return "";
}

std::string ViewRefusal(const ViewEntry& e, const std::vector<AgentViewRow>& listed,
                        std::vector<std::uint32_t>* subtree, std::string* maskOctets) {
    if (e.name.empty()) return AgentText::kViewNameEmpty;
    if (!IsValidName(e.name)) return AgentText::kViewNameInvalid;
    if (std::string refusal = ParseSubtree(e.subtree, subtree); !refusal.empty()) return refusal;
    if (std::string refusal = ParseMask(e.mask, subtree->size(), maskOctets); !refusal.empty())
        return refusal;
    // The listed subtree comes from the row's index: compare numbers, not what was typed ("01.3").
    const std::string typed = Joined(*subtree);
    for (const AgentViewRow& r : listed)
        if (r.name == e.name && r.subtree == typed) return AgentText::kViewExists;
    if (listed.size() >= static_cast<std::size_t>(kMaxAgentRows)) return AgentText::kViewMax;
    return "";
}

std::string CommunityRefusal(const std::string& name, const std::vector<AgentCommunityRow>& listed) {
    if (name.empty()) return AgentText::kCommunityEmpty;
    if (!IsValidName(name)) return AgentText::kCommunityInvalid;
    for (const AgentCommunityRow& r : listed)
        if (r.name == name) return AgentText::kCommunityExists;
    if (listed.size() >= static_cast<std::size_t>(kMaxCommunityHostRows)) return AgentText::kCommunityMax;
    return "";
}

bool IsClassfulHost(std::uint32_t address) {
    const std::uint32_t first = address >> 24;
    if (first <= 127) {
        const std::uint32_t host = address & 0xFFFFFFu;
        return first != 0 && first != 127 && host != 0 && host != 0xFFFFFFu;
    }
    if (first <= 191) return (address & 0xFFFFu) != 0 && (address & 0xFFFFu) != 0xFFFFu;
    if (first <= 223) return (address & 0xFFu) != 0 && (address & 0xFFu) != 0xFFu;
    return false;
}

std::string HostRefusal(const Ipv4Fields& address, const std::string& name,
                        const std::vector<AgentHostRow>& listed) {
    if (!address.Complete() || address.AllZero() || address.FirstIs0Or255() || address.LastIs0Or255() ||
        !IsClassfulHost(address.Value()))
        return AgentText::kHostInvalid;
    for (const AgentHostRow& r : listed)
        if (r.address == address.Text()) return AgentText::kHostUsed;
    if (name.empty()) return AgentText::kHostNameEmpty;
    if (!IsValidName(name)) return AgentText::kHostNameInvalid;
    if (listed.size() >= static_cast<std::size_t>(kMaxCommunityHostRows)) return AgentText::kHostMax;
    return "";
}

std::string HostVersionText(const std::string& code) {
    return CodeText(code, {"V1", "V2c", "V3-NoAuthNoPriv", "V3-AuthNoPriv", "V3-AuthPriv"});
}
