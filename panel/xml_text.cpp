#include "panel/xml_text.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Trim(const std::string& s) {
    const auto first = std::find_if_not(s.begin(), s.end(), [](unsigned char c) { return std::isspace(c); });
    const auto last = std::find_if_not(s.rbegin(), s.rend(), [](unsigned char c) { return std::isspace(c); });
    if (first >= last.base()) return {};
    return std::string(first, last.base());
}

void AppendText(const pugi::xml_node& node, std::string& out) {
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
        if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata)
            out += c.value();
        else if (c.type() == pugi::node_element)
            AppendText(c, out);
    }
}

}  // namespace

std::string NodeText(const pugi::xml_node& node) {
    std::string text;
    AppendText(node, text);
    return Trim(text);
}
