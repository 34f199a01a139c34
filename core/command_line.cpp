#include "core/command_line.h"

namespace {

// A cursor over the argument text. Reading a value appends every non-blank character up to the next
// slash or the end, leaving the cursor on that slash or end.
class Cursor {
public:
    explicit Cursor(const std::string& text) : m_text(text) {}
    bool AtEnd() const { return m_pos >= m_text.size(); }
    void Advance(std::size_t n) { m_pos = std::min(m_text.size(), m_pos + n); }
    std::string Read() {
        std::string value;
        while (m_pos < m_text.size() && m_text[m_pos] != '/') {
            if (m_text[m_pos] != ' ') value += m_text[m_pos];
            ++m_pos;
        }
        return value;
    }
    // Advance over the slash and letter, then read.
    std::string Next() {
        Advance(2);
        return Read();
    }
    std::size_t Position() const { return m_pos; }

private:
    const std::string& m_text;
    std::size_t m_pos = 0;
};

}  // namespace

void ParseCommandLine(const std::string& text, ModuleSettings& s) {
    Cursor c(text);
    c.Advance(2);  // the first two characters are taken to be the first item's slash and letter
    s.FirstParameter = c.Read();
    if (c.AtEnd()) return;
    if (text.find("/I") == std::string::npos) return;

    s.DeviceAddress = c.Next();
    if (s.DeviceAddress.empty()) return;

    auto takeIfNotEmpty = [&](std::string& field) {
        if (c.AtEnd()) return false;
        std::string v = c.Next();
        if (!v.empty()) field = v;
        return true;
    };
    if (!takeIfNotEmpty(s.ReadCommunity)) return;
    if (!takeIfNotEmpty(s.WriteCommunity)) return;

    if (c.AtEnd()) return;
    std::string access = c.Next();
    s.WriteAccess = access == "TRUE" || access == "true";

    if (!takeIfNotEmpty(s.SnmpVersion)) return;
    if (!takeIfNotEmpty(s.SnmpPort)) return;

    if (c.AtEnd()) return;
    if (s.SnmpVersion == "1") return;  // SNMPv1 lines carry nothing further that the module uses

    for (int skipped = 0; skipped < 2; ++skipped) {
        c.Next();
        if (c.AtEnd()) return;
    }

    for (std::string* field : {&s.TenthParameter, &s.SecurityLevel, &s.UserName, &s.AuthPassword,
                               &s.PrivPassword, &s.AuthProtocol, &s.PrivProtocol}) {
        if (!takeIfNotEmpty(*field)) return;
    }
}

std::size_t PublicPrefixLength(const std::string& text) {
    Cursor c(text);
    c.Advance(2);
    c.Read();
    if (!c.AtEnd() && text.find("/I") != std::string::npos) c.Next();
    return c.Position();
}

std::string JoinArguments(const std::vector<std::string>& args) {
    std::string text;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i) text += ' ';
        text += args[i];
    }
    return text;
}
