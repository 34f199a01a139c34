#include "core/ini_reader.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "core/data_paths.h"

namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

std::string Trim(const std::string& s) {
    const char* ws = " \t\r\n";
    auto b = s.find_first_not_of(ws);
    if (b == std::string::npos) return {};
    auto e = s.find_last_not_of(ws);
    return s.substr(b, e - b + 1);
}

}  // namespace

IniReader::IniReader(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return;
    std::stringstream ss;
    ss << in.rdbuf();
    Parse(ss.str());
}

IniReader IniReader::FromText(const std::string& text) {
    IniReader r;
    r.Parse(text);
    return r;
}

void IniReader::Parse(const std::string& text) {
    std::istringstream in(text);
    std::string line;
    std::string section;
    bool haveSection = false;
    while (std::getline(in, line)) {
        std::string t = Trim(line);
        if (t.empty() || t[0] == ';') continue;
        if (t[0] == '[') {
            auto close = t.find(']');
            section = Lower(Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1)));
            haveSection = true;
            continue;
        }
        if (!haveSection) continue;
        auto eq = t.find('=');
        if (eq == std::string::npos) continue;
        std::string key = Lower(Trim(t.substr(0, eq)));
        std::string value = Trim(t.substr(eq + 1));
        // A value in matching quotes loses them, as the profile API does.
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        auto& keys = m_sections[section];
        keys.emplace(key, value);  // the first occurrence wins
    }
}

bool IniReader::HasKey(const std::string& section, const std::string& key) const {
    auto s = m_sections.find(Lower(section));
    return s != m_sections.end() && s->second.count(Lower(key));
}

std::string IniReader::GetString(const std::string& section, const std::string& key, const std::string& def,
                                 std::size_t bufferSize) const {
    std::string v = def;
    auto s = m_sections.find(Lower(section));
    if (s != m_sections.end()) {
        auto k = s->second.find(Lower(key));
        if (k != s->second.end()) v = k->second;
    }
    // The original read into a fixed buffer: longer values arrive cut.
    if (bufferSize > 0 && v.size() > bufferSize - 1) v.resize(bufferSize - 1);
    return v;
}

int IniReader::GetInt(const std::string& section, const std::string& key, int def) const {
    if (!HasKey(section, key)) return def;
    std::string v = GetString(section, key, "");
    if (v.empty()) return def;  // an empty DevicePortNum means the default, as the console writes it
    return static_cast<int>(std::strtol(v.c_str(), nullptr, 10));
}

std::string UserIniPath() {
    const std::string named = UserIniOverride();
    return named.empty() ? FindDataFile("User.ini") : named;
}
