#include "snmp/encodings.h"

#include <cstdlib>

namespace {

const char kLowerHex[] = "0123456789abcdef";
const char kUpperHex[] = "0123456789ABCDEF";

// Zero digits that pad a port list to the length the device expects for its port count.
std::size_t PaddingDigits(std::size_t portCount) {
    switch (portCount) {
        case 8:
            return 6;
        case 10:
            return 5;
        case 16:
            return 4;
        case 24:
            return 2;
        case 28:
            return 1;
        case 48:
            return 4;
        case 52:
            return 3;
        default:
            return 0;
    }
}

void AppendPort(std::string& text, int port, int& count) {
    text += std::to_string(port);
    text += ',';
    ++count;
}

// Drops the trailing comma and reports the count.
std::string FinishPortText(std::string text, int found, int* count) {
    if (found > 0) text.pop_back();
    if (count) *count = found;
    return text;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one well-formed UTF-8 sequence (no overlongs, no surrogates, at most U+10FFFF) at `pos`.
// Returns its length, or 0 when the bytes there do not start a valid sequence.
std::size_t DecodeUtf8(const std::string& s, std::size_t pos, char32_t& cp) {
    const auto b0 = static_cast<unsigned char>(s[pos]);
    std::size_t len;
    char32_t min;
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        len = 2, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4, cp = b0 & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (pos + len > s.size()) return 0;
    for (std::size_t i = 1; i < len; ++i) {
        const auto b = static_cast<unsigned char>(s[pos + i]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

constexpr std::size_t kMaxCoderChars = 256;

}  // namespace

std::string PortFlagsToHex(const std::vector<int>& flags) {
    std::string hex;
    for (std::size_t i = 0; i < flags.size(); i += 4) {
        int digit = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            // A flag past the end counts as a non-member: the last group is padded with zeros.
            const bool member = i + k < flags.size() && flags[i + k] != 0;
            if (member) digit |= 8 >> k;
        }
        hex += kLowerHex[digit];
    }
    hex.append(PaddingDigits(flags.size()), '0');
    return hex;
}

std::size_t HexToBytes(const std::string& hex, unsigned char* out, std::size_t capacity) {
    std::size_t stored = 0;
    for (std::size_t i = 0; i < hex.size() && stored < capacity; i += 2) {
        const int hi = HexDigitValue(hex[i]);
        const int lo = i + 1 < hex.size() ? HexDigitValue(hex[i + 1]) : 0;  // odd text: trailing "0"
        out[stored++] = static_cast<unsigned char>(hi * 16 + lo);
    }
    return stored;
}

std::vector<unsigned char> HexToBytes(const std::string& hex) {
    std::vector<unsigned char> bytes((hex.size() + 1) / 2);
    bytes.resize(HexToBytes(hex, bytes.data(), bytes.size()));
    return bytes;
}

std::string PortListToText(const std::string& octets, int portCount, int* count) {
    std::string text;
    int found = 0;
    const std::size_t examined = portCount > 0 ? (static_cast<std::size_t>(portCount) + 7) / 8 : 0;
    for (std::size_t i = 0; i < examined && i < octets.size(); ++i) {
        const auto octet = static_cast<unsigned char>(octets[i]);
        for (int j = 0; j < 8; ++j) {
            if (octet & (0x80 >> j)) AppendPort(text, static_cast<int>(8 * i) + j + 1, found);
        }
    }
    return FinishPortText(std::move(text), found, count);
}

std::string HexToPortText(const std::string& hex, int* count) {
    std::string text;
    int found = 0;
    for (std::size_t k = 0; k < hex.size(); ++k) {
        const int digit = HexDigitValue(hex[k]);
        for (int b = 0; b < 4; ++b) {
            if (digit & (8 >> b)) AppendPort(text, static_cast<int>(4 * k) + b + 1, found);
        }
    }
    return FinishPortText(std::move(text), found, count);
}

std::vector<int> PortTextToFlags(const std::string& text, int portCount) {
    std::vector<int> flags(portCount > 0 ? static_cast<std::size_t>(portCount) : 0, 0);
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = text.find(',', start);
        if (comma == std::string::npos) comma = text.size();
        const int port = std::atoi(text.substr(start, comma - start).c_str());
        if (port >= 1 && port <= portCount) flags[static_cast<std::size_t>(port - 1)] = 1;
        start = comma + 1;
    }
    return flags;
}

std::string BytesToHex(const std::string& bytes) {
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (unsigned char b : bytes) {
        hex += kUpperHex[b >> 4];
        hex += kUpperHex[b & 0x0F];
    }
    return hex;
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0;
}

bool IsValidName(const std::string& name) {
    static const std::string kRefused = "~`!@#$%^&*{}[]|\\:;\"'<>,.?/";
    return name.find_first_of(kRefused) == std::string::npos;
}

std::size_t Utf8Characters(const std::string& text) {
    std::size_t characters = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++characters;
    return characters;
}

std::string NameIndex(const std::string& key) {
    std::string index = "." + std::to_string(key.size());
    for (unsigned char b : key) index += "." + std::to_string(b);
    return index;
}

std::string NameVersionIndex(const std::string& key, const std::string& version) {
    std::string index = NameIndex(key);
    if (version == "v1" || version == "V1")
        index += ".1";
    else if (version == "v2c" || version == "V2c")
        index += ".2";
    else if (version == "v3" || version == "V3")
        index += ".3";
    return index;
}

std::string ToUtf8(const std::string& text, std::size_t size) {
    std::string out;
    if (size == 0) return out;
    std::size_t chars = 0;
    for (std::size_t pos = 0; pos < text.size() && chars < kMaxCoderChars;) {
        char32_t cp;
        std::size_t len = DecodeUtf8(text, pos, cp);
        if (len == 0) {
            // Not UTF-8: take the byte as a Latin-1 character, the code page such texts come from.
            cp = static_cast<unsigned char>(text[pos]);
            len = 1;
        }
        std::string seq;
        AppendUtf8(seq, cp);
        if (out.size() + seq.size() > size - 1) break;  // room for the terminating zero of the buffer
        out += seq;
        pos += len;
        ++chars;
    }
    return out;
}

bool FromUtf8(const std::string& bytes, std::string& text) {
    text.clear();
    // The device pads some names with zero bytes: the text ends at the first one.
    const std::string input = bytes.substr(0, bytes.find('\0'));
    if (input.empty()) return false;
    std::size_t chars = 0;
    for (std::size_t pos = 0; pos < input.size() && chars < kMaxCoderChars; ++chars) {
        char32_t cp;
        std::size_t len = DecodeUtf8(input, pos, cp);
        if (len == 0) {
            cp = 0xFFFD;  // a broken sequence shows as the replacement character
            len = 1;
        }
        AppendUtf8(text, cp);
        pos += len;
    }
    return true;
}
