#include "core/credentials.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace {

struct Field {
    const char* name;
    std::string ModuleSettings::*member;
};
constexpr Field kFields[] = {{"ReadCommunity", &ModuleSettings::ReadCommunity},
                             {"WriteCommunity", &ModuleSettings::WriteCommunity},
                             {"AuthPassword", &ModuleSettings::AuthPassword},
                             {"PrivPassword", &ModuleSettings::PrivPassword}};

// A starter that died must not hold the module: whatever it wrote, the reader stops here.
constexpr std::size_t kMaxBlock = 64 * 1024;

bool Unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Calls `line` with each line of `text` ended by a newline (without it and a carriage return before it)
// and, when `withLast`, the unended rest, until `line` returns false.
template <typename F>
void ForEachLine(std::string_view text, bool withLast, F line) {
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos && !withLast) return;
        std::string_view l = text.substr(start, end == std::string_view::npos ? end : end - start);
        if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
        if (!line(l)) return;
        if (end == std::string_view::npos) return;
        start = end + 1;
    }
}

bool HasEmptyLine(std::string_view text) {
    bool found = false;
    ForEachLine(text, false, [&](std::string_view l) {
        found = l.empty();
        return !found;
    });
    return found;
}

}  // namespace

std::string PercentEncode(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        if (Unreserved(c)) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::optional<std::string> PercentDecode(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            if (!Unreserved(static_cast<unsigned char>(text[i]))) return std::nullopt;
            out += text[i];
            continue;
        }
        const int high = i + 2 < text.size() ? HexDigit(text[i + 1]) : -1;
        const int low = high < 0 ? -1 : HexDigit(text[i + 2]);
        if (low < 0) return std::nullopt;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

std::string FormatCredentialBlock(const ModuleSettings& s) {
    std::string block;
    for (const Field& f : kFields) block += std::string(f.name) + "=" + PercentEncode(s.*f.member) + "\n";
    return block + "\n";
}

std::vector<int> ParseCredentialBlock(std::string_view text, ModuleSettings& s) {
    std::vector<int> refused;
    int number = 0;
    ForEachLine(text, true, [&](std::string_view line) {
        ++number;
        if (line.empty()) return false;
        const std::size_t eq = line.find('=');
        const Field* field = nullptr;
        for (const Field& f : kFields)
            if (eq != std::string_view::npos && line.substr(0, eq) == f.name) field = &f;
        std::optional<std::string> value;
        if (field) value = PercentDecode(line.substr(eq + 1));
        if (value)
            s.*field->member = std::move(*value);
        else
            refused.push_back(number);
        return true;
    });
    return refused;
}

std::string ReadCredentialBlock(int fd, int timeoutMs, bool& timedOut) {
    timedOut = false;
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!HasEmptyLine(text) && text.size() < kMaxBlock) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())
                .count();
        pollfd p{fd, POLLIN, 0};
        const int ready = left > 0 ? ::poll(&p, 1, static_cast<int>(left)) : 0;
        if (ready < 0 && errno == EINTR) continue;
        if (ready == 0) {
            timedOut = true;
            text.erase(text.rfind('\n') == std::string::npos ? 0 : text.rfind('\n') + 1);
            break;
        }
        char buffer[4096];
        const ssize_t n = ready < 0 ? -1 : ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;  // the end of input (or a closed or unreadable descriptor) ends the block
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
}
