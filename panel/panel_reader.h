#pragma once
// ReadPanelDescription: builds the panel object tree from the panel description XML.
//
// Object elements (DEVICEPANEL, PANEL, PORT, LAMP, ...) hold their values in child value elements (ID,
// LEFT, TOP, ...). Their object children are not their XML children: every attribute of an object
// element holds an XPath location path, evaluated with the element as context, and the children of the
// node it selects are read as object elements under this element's object.
//
// What a bad file does:
// - missing, unreadable or not XML: an empty tree, no message (a debug line only);
// - an attribute that is no valid XPath: ends the reading of the list that holds the element; what was
//   read stays;
// - rejected as a whole, with one message through PanelReadOptions::reportError and nothing of the file
//   kept (root values, children, modules, positions all as before the call): a required value element
//   missing, a picture name longer than 99 characters, more than 100 anonymous objects (ID "0"), and
//   containers that name each other in a loop or nest deeper than kMaxNesting.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "panel/virtual_dev.h"

class CMyBitmapApp;

using ModuleList = std::vector<std::unique_ptr<CModule>>;

struct PanelReadOptions {
    // Told once when the file is rejected, with a text for the user. Without one the text only goes to
    // the debug output.
    std::function<void(const std::string&)> reportError;
    // Where AnonymousPositions go; the process's painter when null.
    CMyBitmapApp* positions = nullptr;
    // Load the pictures the objects name (off for fuzzing).
    bool loadPictures = true;
    // Folder for relative picture names; the description file's folder when empty.
    std::string pictureDir;
};

// Nesting of containers beyond this is taken for a loop.
inline constexpr int kMaxNesting = 32;
// Elements read in all (a container named twice is read twice) beyond this is taken for a loop.
inline constexpr int kMaxElementsRead = 20000;

// True when both element lists could be obtained (always, with this XML library, unless the file was
// rejected).
bool ReadPanelDescription(const std::string& fileName, CDevModule& root, ModuleList& moduleList,
                          const PanelReadOptions& options = {});

// The same from a buffer in memory; `name` only names it in messages.
bool ReadPanelDescriptionFromBuffer(const char* data, std::size_t size, CDevModule& root,
                                    ModuleList& moduleList, const PanelReadOptions& options = {},
                                    const std::string& name = "panel description");


