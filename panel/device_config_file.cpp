#include "panel/device_config_file.h"

#include "panel/xml_text.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <pugixml.hpp>

namespace {


// The element name without a namespace prefix.
std::string BaseName(const char* name) {
    const char* colon = std::strrchr(name, ':');
    return colon ? std::string(colon + 1) : std::string(name);
}

}  // namespace

CDeviceConfigFile::CDeviceConfigFile() : m_doc(std::make_unique<pugi::xml_document>()) {}
CDeviceConfigFile::~CDeviceConfigFile() = default;

bool CDeviceConfigFile::Open(const std::string& section, const std::string& fileName) {
    m_doc->reset();
    return Load(section, static_cast<bool>(m_doc->load_file(fileName.c_str())));
}

bool CDeviceConfigFile::OpenBuffer(const std::string& section, const std::string& text) {
    m_doc->reset();
    return Load(section, static_cast<bool>(m_doc->load_buffer(text.data(), text.size())));
}

bool CDeviceConfigFile::Load(const std::string& section, bool loaded) {
    m_items.clear();
    m_cursor = 0;
    if (!loaded) return false;
    const pugi::xml_node mib = m_doc->child("MIB");
    const pugi::xml_node sec = mib.child(section.c_str());
    if (!sec) return false;
    for (pugi::xml_node itemNode : sec.children()) {
        if (itemNode.type() != pugi::node_element) continue;
        Item item;
        item.name = NodeText(itemNode.child("NAME"));
        item.desc = NodeText(itemNode.child("DESC"));
        const pugi::xml_node value = itemNode.child("VALUE");
        item.value = NodeText(value);
        for (pugi::xml_node pair : value.children()) {
            if (pair.type() == pugi::node_element) item.pairs.emplace_back(BaseName(pair.name()), NodeText(pair));
        }
        for (pugi::xml_node c : itemNode.children()) {
            if (c.type() == pugi::node_element) {
                item.firstChildText = NodeText(c);
                break;
            }
        }
        m_items.push_back(std::move(item));
    }
    return true;
}

std::vector<std::string> CDeviceConfigFile::ItemOids(const std::string& suffix) const {
    std::vector<std::string> oids;
    for (const Item& item : m_items) oids.push_back(suffix.empty() ? item.name : item.name + "." + suffix);
    return oids;
}

const CDeviceConfigFile::Item* CDeviceConfigFile::Find(const std::string& name) const {
    for (const Item& item : m_items) {
        if (item.name == name) return &item;
    }
    return nullptr;
}

std::string CDeviceConfigFile::Desc(const std::string& name) const {
    const Item* item = Find(name);
    return item ? item->desc : std::string();
}

std::string CDeviceConfigFile::Value(const std::string& name) const {
    const Item* item = Find(name);
    return item ? item->value : std::string();
}

std::vector<std::pair<std::string, std::string>> CDeviceConfigFile::ValuePairs(
    const std::string& name) const {
    const Item* item = Find(name);
    return item ? item->pairs : std::vector<std::pair<std::string, std::string>>();
}

bool CDeviceConfigFile::Next(std::string& firstChildText) {
    if (m_cursor >= m_items.size()) return false;
    firstChildText = m_items[m_cursor++].firstChildText;
    return true;
}
