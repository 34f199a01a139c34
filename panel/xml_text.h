#pragma once

#include <pugixml.hpp>
#include <string>

// The text content of an element as the panel files mean it: every text below it, in document order,
// without surrounding blanks.
std::string NodeText(const pugi::xml_node& node);
