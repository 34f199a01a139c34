#pragma once
// Secrets handed over off the command line, so that no other local user can read them in the process
// list. With KMS_CREDENTIALS=stdin the starter writes a block of lines NAME=VALUE on standard input,
// NAME one of ReadCommunity, WriteCommunity, AuthPassword, PrivPassword, VALUE percent-encoded (every
// byte outside A-Z a-z 0-9 - . _ ~ as %XX), ended by an empty line or the end of input. The block's
// values replace the command line's.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/module_settings.h"

// Every byte outside the unreserved set as %XX (upper-case hex).
std::string PercentEncode(std::string_view bytes);
// The bytes of a percent-encoded text; nullopt when it holds anything else than unreserved characters
// and %XX.
std::optional<std::string> PercentDecode(std::string_view text);

// The block for the four secrets of `s`, each line present (an empty value included), then the empty
// line that ends it.
std::string FormatCredentialBlock(const ModuleSettings& s);

// Takes the lines of `text` up to its first empty line into `s`. Returns the numbers (from 1) of the
// lines refused: no "=", a name not among the four, a value that is not percent-encoded.
std::vector<int> ParseCredentialBlock(std::string_view text, ModuleSettings& s);

// Reads a block from `fd` until an empty line, the end of input, or `timeoutMs` in all. On a time-out
// `timedOut` is set and an unfinished last line is dropped, so no value is taken cut short.
std::string ReadCredentialBlock(int fd, int timeoutMs, bool& timedOut);
