#pragma once
// Reader of the device configuration command file "TRV6420_CFG.XML" used by the Device Configure dialog:
//   <MIB> <DEVINFO> <item><NAME>1.3.6...</NAME><DESC>label</DESC><VALUE><On>1</On>...</VALUE></item>...
//   </DEVINFO> <DEVCFG>...</DEVCFG> </MIB>
// A section is the first child of MIB with that name; every child element of a section is one item.

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace pugi {
class xml_document;
}

class CDeviceConfigFile {
public:
    static constexpr const char* kDefaultFileName = "TRV6420_CFG.XML";

    struct Item {
        std::string name;   // NAME: the object identifier without instance
        std::string desc;   // DESC
        std::string value;  // VALUE's whole text
        std::vector<std::pair<std::string, std::string>> pairs;  // VALUE's (label, value) pairs
        std::string firstChildText;                              // the text of the item's first child element
    };

    CDeviceConfigFile();
    ~CDeviceConfigFile();

    // Loads the file and finds the section ("DEVINFO", "DEVCFG"); false when the file cannot be loaded
    // or has no such section.
    bool Open(const std::string& section, const std::string& fileName = kDefaultFileName);
    bool OpenBuffer(const std::string& section, const std::string& text);

    const std::vector<Item>& Items() const { return m_items; }
    // Every item's NAME, with ".suffix" added when a suffix is given: the get bindings of a request.
    std::vector<std::string> ItemOids(const std::string& suffix = {}) const;
    // DESC / VALUE text of the first item whose NAME equals `name`; empty when none.
    std::string Desc(const std::string& name) const;
    std::string Value(const std::string& name) const;
    std::vector<std::pair<std::string, std::string>> ValuePairs(const std::string& name) const;

    // Cursor over the items: the text of each item's first child element, in order.
    void ResetCursor() { m_cursor = 0; }
    bool Next(std::string& firstChildText);

private:
    bool Load(const std::string& section, bool loaded);
    const Item* Find(const std::string& name) const;

    std::unique_ptr<pugi::xml_document> m_doc;
    std::vector<Item> m_items;
    std::size_t m_cursor = 0;
};
