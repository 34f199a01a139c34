#pragma once
// The console's positional command line: "/" + letter + value items, taken by position.

#include <string>
#include <vector>

#include "core/module_settings.h"

// Fills `settings` from the argument text (the text after the program name). Values not on the line
// keep whatever `settings` held (the defaults). Never fails.
void ParseCommandLine(const std::string& text, ModuleSettings& settings);

// The length of the text's leading part that holds no secret: the first item and the address. The
// communities and passwords come after it.
std::size_t PublicPrefixLength(const std::string& text);

// On Linux the argument text is the program's arguments joined with single blanks.
std::string JoinArguments(const std::vector<std::string>& args);
