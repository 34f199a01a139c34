#pragma once
// Value encodings shared by the dialogs: port lists, hexadecimal text, names and text-key indexes, and
// the UTF-8 coder.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Port flags (one int per port, 1 member) to lower-case hex text, zero digits appended by port count
// (8, 10, 16, 24, 28 ports -> 8 digits; 48, 52 -> 16 digits; other counts none).
std::string PortFlagsToHex(const std::vector<int>& flags);
// Two hex digits per byte from the left; an odd text gets a trailing "0". Stores at most `capacity`
// bytes and returns the number stored.
std::size_t HexToBytes(const std::string& hex, unsigned char* out, std::size_t capacity);
std::vector<unsigned char> HexToBytes(const std::string& hex);
// The first ceil(portCount / 8) octets of a port list as "1,3,4"; `count` gets the number of ports.
std::string PortListToText(const std::string& octets, int portCount, int* count = nullptr);
// Hex port text ("81") to port text ("1,8"); `count` gets the number of ports.
std::string HexToPortText(const std::string& hex, int* count = nullptr);
// "1,3,4" to flags for `portCount` ports; numbers outside 1..portCount are ignored.
std::vector<int> PortTextToFlags(const std::string& text, int portCount);
// Each byte as two upper-case digits, no separator.
std::string BytesToHex(const std::string& bytes);
// 0-9, A-F, a-f give 0..15; anything else 0.
int HexDigitValue(char c);
// None of the 26 refused punctuation characters.
bool IsValidName(const std::string& name);
// Characters (code points) of a UTF-8 text, as the user counts them: its bytes but continuation bytes.
std::size_t Utf8Characters(const std::string& text);
// "." + length + "." + each byte as unsigned decimal; "" gives ".0".
std::string NameIndex(const std::string& key);
// NameIndex + ".1" for v1/V1, ".2" for v2c/V2c, ".3" for v3/V3, nothing otherwise.
std::string NameVersionIndex(const std::string& key, const std::string& version);

// UTF-8 coder. The module's texts are UTF-8 already on Linux, so ToUtf8 validates and bounds rather than
// converts: it returns at most 256 characters and never more than size - 1 bytes, never cutting a
// multi-byte sequence. FromUtf8 decodes at most 256 characters; empty input gives "" and false.
std::string ToUtf8(const std::string& text, std::size_t size);
bool FromUtf8(const std::string& bytes, std::string& text);
