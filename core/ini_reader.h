#pragma once
// A small INI reader that answers like GetPrivateProfileString: section and key names compare without
// regard to case, the first matching key wins, values are trimmed, a missing file or key gives the
// default. The module never writes INI files.

#include <map>
#include <string>

class IniReader {
public:
    IniReader() = default;
    // Reads the file; a file that cannot be read leaves the reader empty.
    explicit IniReader(const std::string& path);
    static IniReader FromText(const std::string& text);

    std::string GetString(const std::string& section, const std::string& key, const std::string& def,
                          std::size_t bufferSize = 260) const;
    // Like GetPrivateProfileInt: the leading decimal number of the value, def when the key is absent.
    int GetInt(const std::string& section, const std::string& key, int def) const;
    bool HasKey(const std::string& section, const std::string& key) const;

private:
    void Parse(const std::string& text);
    std::map<std::string, std::map<std::string, std::string>> m_sections;  // lower-case names
};

// Path of User.ini: the file KMS_USER_INI names, else beside the executable, else in the user's
// configuration folder, else in the shared data folder (see data_paths.h).
std::string UserIniPath();
