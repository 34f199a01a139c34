#include "panel/panel_reader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>
#include <fstream>
#include <iterator>
#include <new>
#include <pugixml.hpp>
#include <sstream>

#include "core/debug_out.h"
#include "core/text_number.h"
#include "panel/my_bitmap_app.h"
#include "panel/xml_text.h"

namespace {

// Thrown inside the reader only, to leave a rejected file from any depth; never leaves this file.
struct RejectFile {
    std::string reason;
};

struct ReadContext {
    std::string name;    // file name for messages
    std::string buffer;  // the file's text, for line numbers
    std::string pictureDir;
    bool loadPictures = true;
    CMyBitmapApp::Positions positions{};
    int anonymousCount = 0;
    int elementsRead = 0;
    std::vector<pugi::xml_node> expanding;  // elements whose containers are being read, outermost first
};


int LineOf(const ReadContext& ctx, const pugi::xml_node& node) {
    const std::ptrdiff_t offset = node.offset_debug();
    if (offset < 0 || static_cast<std::size_t>(offset) > ctx.buffer.size()) return 0;
    return 1 + static_cast<int>(std::count(ctx.buffer.begin(), ctx.buffer.begin() + offset, '\n'));
}

std::string Where(const ReadContext& ctx, const pugi::xml_node& node) {
    std::ostringstream s;
    s << "the " << node.name() << " element";
    if (const int line = LineOf(ctx, node); line > 0) s << " on line " << line;
    return s.str();
}

// A required value element: its text, or the file is rejected.
std::string RequiredText(ReadContext& ctx, const pugi::xml_node& node, const char* name) {
    const pugi::xml_node child = node.child(name);
    if (!child) throw RejectFile{Where(ctx, node) + " has no " + name + " value"};
    return NodeText(child);
}

std::string PictureText(ReadContext& ctx, const pugi::xml_node& node, const char* name, bool required) {
    const pugi::xml_node child = node.child(name);
    if (!child) {
        if (required) throw RejectFile{Where(ctx, node) + " has no " + name + " value"};
        return {};
    }
    std::string text = NodeText(child);
    if (text.size() > CVirtualDev::kMaxPictureName) {
        throw RejectFile{"the picture name in " + std::string(name) + " of " + Where(ctx, node) +
                         " is longer than 99 characters"};
    }
    return text;
}

int StatusValue(const std::string& element, const std::string& keyword) {
    if (element == "LAMP") {
        if (keyword == "LAMPON") return kLampOn;
        if (keyword == "LAMP1G") return kLamp1G;
        if (keyword == "LAMPOFF") return kLampOff;
    } else if (element == "PORT") {
        if (keyword == "PORTLINK100") return kPortLink100;
        if (keyword == "PORTLINK10") return kPortLink10;
        if (keyword == "PORTDISABLED") return kPortDisabled;
        if (keyword == "PORTENABLE") return kPortEnabled;
        if (keyword == "PORTEMPTY") return kPortEmpty;
    }
    return -1;
}

int LampKindValue(const std::string& keyword) {
    if (keyword == "LINK") return kLampLink;
    if (keyword == "S100M") return kLampS100M;
    if (keyword == "POWER") return kLampPower;
    if (keyword == "CONSOLE") return kLampConsole;
    return -1;
}

void ReadElementValues(ReadContext& ctx, CVirtualDev& object, const pugi::xml_node& node,
                       const std::string& element) {
    const std::string id = RequiredText(ctx, node, "ID");
    const bool anonymous = id == "0";
    if (!anonymous) object.SetIdentifier(id);
    if (anonymous && ctx.anonymousCount >= CMyBitmapApp::kPositions)
        throw RejectFile{"more than 100 objects have the ID 0 (" + Where(ctx, node) + ")"};
    const int left = LeadingInt(RequiredText(ctx, node, "LEFT"));
    if (anonymous) ctx.positions[static_cast<std::size_t>(ctx.anonymousCount)].first.setX(left);
    const int top = LeadingInt(RequiredText(ctx, node, "TOP"));
    if (anonymous) ctx.positions[static_cast<std::size_t>(ctx.anonymousCount++)].first.setY(top);
    const int width = LeadingInt(RequiredText(ctx, node, "WIDTH"));
    const int height = LeadingInt(RequiredText(ctx, node, "HEIGHT"));
    object.SetRect(left, top, width, height);

    if (node.child("BMP")) object.SetPictureName(PictureText(ctx, node, "BMP", false));
    if (const pugi::xml_node status = node.child("STATUS");
        status && (element == "LAMP" || element == "PORT")) {
        const int value = StatusValue(element, NodeText(status));
        if (value >= 0) object.SetState(value);
    }
    if (const pugi::xml_node type = node.child("TYPE"); type && element == "LAMP") {
        const int kind = LampKindValue(NodeText(type));
        if (kind >= 0) object.SetType(kind);
    }
    if (const pugi::xml_node name = node.child("NAME")) object.SetName(NodeText(name));

    if (element == "PORT") {
        static const char* const kPortPictures[] = {"BMPLINK100", "BMPLINK10", "BMPDISABLE", "BMPENABLE",
                                                    "BMPEMPTY"};
        auto& port = static_cast<CPort&>(object);
        for (int i = 0; i < CPort::kStates; ++i) {
            const std::string text = PictureText(ctx, node, kPortPictures[i], true);
            if (!text.empty()) port.SetStatePictureName(i, text);
        }
    } else if (element == "LED") {
        auto& led = static_cast<CLed&>(object);
        for (int i = 0; i < CLed::kPictures; ++i) {
            const std::string tag = "BMP" + std::to_string(i);
            const std::string text = PictureText(ctx, node, tag.c_str(), true);
            if (!text.empty()) led.SetIndexPictureName(i, text);
        }
    }
}

std::unique_ptr<CVirtualDev> NewObject(const std::string& element) {
    if (element == "PANEL") return std::make_unique<CPanel>();
    if (element == "PORT") return std::make_unique<CPort>();
    if (element == "LAMP") return std::make_unique<CLamp>();
    if (element == "SLOT") return std::make_unique<CSlot>();
    if (element == "CONSOLE" || element == "MASTER" || element == "RPS" || element == "FAN")
        return std::make_unique<CCom>();
    if (element == "POWER") return std::make_unique<CPower>();
    if (element == "LED") return std::make_unique<CLed>();
    return nullptr;
}

CVirtualDev* CreatePanelObject(ReadContext& ctx, const pugi::xml_node& node, CVirtualDev* parent,
                               ModuleList& modules) {
    const std::string element = node.name();
    if (element == "DEVICEMODULE") return nullptr;
    if (element == "DEVICEPANEL") {
        // Reached with no object above it, a DEVICEPANEL has nothing to fill.
        if (!parent) return nullptr;
        ReadElementValues(ctx, *parent, node, element);
        parent->SetPictureDir(ctx.pictureDir);
        return parent;
    }
    if (parent) {
        if (std::unique_ptr<CVirtualDev> object = NewObject(element)) {
            ReadElementValues(ctx, *object, node, element);
            object->SetPictureDir(ctx.pictureDir);
            CVirtualDev* raw = object.get();
            parent->AddChild(std::move(object));
            if (ctx.loadPictures) raw->LoadPicture();
            if (element == "LAMP") SubscribeLamp(static_cast<CLamp&>(*raw), parent);
            return raw;
        }
    }
    if (element == "MODULE") {
        auto module = std::make_unique<CModule>();
        ReadElementValues(ctx, *module, node, element);
        module->SetPictureDir(ctx.pictureDir);
        CModule* raw = module.get();
        modules.push_back(std::move(module));
        if (ctx.loadPictures) raw->LoadPicture();
        return raw;
    }
    return nullptr;
}

// Selects the node named by an attribute's location path. False when the path is not valid XPath or
// does not give nodes.
bool SelectContainer(const pugi::xml_node& context, const char* path, pugi::xpath_node& selected) {
    try {
        pugi::xpath_query query(path);
        if (!query) return false;
        selected = query.evaluate_node(context);
        return true;
    } catch (const pugi::xpath_exception&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool ReadElementList(ReadContext& ctx, const std::vector<pugi::xml_node>& list, CVirtualDev* parent,
                     ModuleList& modules) {
    for (const pugi::xml_node& node : list) {
        if (node.type() != pugi::node_element) continue;
        if (++ctx.elementsRead > kMaxElementsRead)
            throw RejectFile{"its containers name each other in a loop (too many elements read)"};
        CVirtualDev* object = CreatePanelObject(ctx, node, parent, modules);
        if (!node.first_attribute()) continue;
        if (std::find(ctx.expanding.begin(), ctx.expanding.end(), node) != ctx.expanding.end())
            throw RejectFile{Where(ctx, node) + " names a container that holds it again (a loop)"};
        if (static_cast<int>(ctx.expanding.size()) >= kMaxNesting)
            throw RejectFile{"its containers nest more than " + std::to_string(kMaxNesting) + " deep"};
        for (pugi::xml_attribute attribute : node.attributes()) {
            pugi::xpath_node selected;
            if (!SelectContainer(node, attribute.value(), selected)) {
                DebugOut("panel description: \"" + std::string(attribute.value()) + "\" of " +
                         Where(ctx, node) + " is no location path; the rest of its list is not read");
                return false;
            }
            // An attribute node has no element children; the document node has its root element.
            if (!selected || selected.attribute()) continue;
            std::vector<pugi::xml_node> children;
            for (pugi::xml_node c = selected.node().first_child(); c; c = c.next_sibling())
                children.push_back(c);
            ctx.expanding.push_back(node);
            ReadElementList(ctx, children, object, modules);
            ctx.expanding.pop_back();
        }
    }
    return true;
}

void CollectByName(const pugi::xml_node& node, const char* name, std::vector<pugi::xml_node>& out) {
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) continue;
        if (std::strcmp(c.name(), name) == 0) out.push_back(c);
        CollectByName(c, name, out);
    }
}

bool ReadDocument(ReadContext& ctx, CDevModule& root, ModuleList& moduleList,
                  const PanelReadOptions& options) {
    CMyBitmapApp& painter = options.positions ? *options.positions : BitmapApp();
    ctx.positions = painter.AnonymousPositions();
    ctx.anonymousCount = std::clamp(painter.AnonymousCount(), 0, static_cast<int>(CMyBitmapApp::kPositions));
    ctx.loadPictures = options.loadPictures;

    pugi::xml_document doc;
    const pugi::xml_parse_result parsed = doc.load_buffer(ctx.buffer.data(), ctx.buffer.size());
    if (!parsed) {
        // A partly parsed document is no description at all.
        DebugOut("panel description " + ctx.name + " not read: " + parsed.description());
        doc.reset();
    }

    // Read into a scratch root so that a rejected file leaves the caller's objects as they were.
    CDevModule scratch;
    scratch.SetRect(root.Left(), root.Top(), root.Width(), root.Height());
    ModuleList modules;
    bool panelRead = false;
    try {
        for (const char* listName : {"DEVICEPANEL", "DEVICEMODULE"}) {
            std::vector<pugi::xml_node> list;
            CollectByName(doc, listName, list);
            DebugOut("node num = " + std::to_string(list.size()));
            if (!list.empty() && std::strcmp(listName, "DEVICEPANEL") == 0) panelRead = true;
            ReadElementList(ctx, list, &scratch, modules);
        }
    } catch (const RejectFile& reject) {
        const std::string message = "The panel description \"" + ctx.name +
                                    "\" cannot be used: " + reject.reason + ". The front panel is not shown.";
        DebugOut(message);
        if (options.reportError) options.reportError(message);
        return false;
    }

    if (panelRead) {
        root.SetIdentifier(scratch.GetIdentifier());
        root.SetName(scratch.GetName());
        root.SetRect(scratch.Left(), scratch.Top(), scratch.Width(), scratch.Height());
        root.SetPictureName(scratch.GetPictureName());
        root.SetPictureDir(scratch.GetPictureDir());
    }
    for (auto& child : scratch.TakeChildren()) root.AddChild(std::move(child));
    for (auto& module : modules) moduleList.push_back(std::move(module));
    painter.AnonymousPositions() = ctx.positions;
    painter.SetAnonymousCount(ctx.anonymousCount);
    return true;
}

}  // namespace

bool ReadPanelDescriptionFromBuffer(const char* data, std::size_t size, CDevModule& root,
                                    ModuleList& moduleList, const PanelReadOptions& options,
                                    const std::string& name) {
    ReadContext ctx;
    ctx.name = name;
    ctx.buffer.assign(data ? data : "", data ? size : 0);
    ctx.pictureDir = options.pictureDir;
    return ReadDocument(ctx, root, moduleList, options);
}

bool ReadPanelDescription(const std::string& fileName, CDevModule& root, ModuleList& moduleList,
                          const PanelReadOptions& options) {
    ReadContext ctx;
    ctx.name = fileName;
    const QFileInfo info(QString::fromStdString(fileName));
    if (info.isFile()) {
        QFile file(info.filePath());
        if (file.open(QIODevice::ReadOnly)) ctx.buffer = file.readAll().toStdString();
    } else {
        DebugOut("panel description " + fileName + " not found");
    }
    ctx.pictureDir = options.pictureDir.empty() ? info.absolutePath().toStdString() : options.pictureDir;
    return ReadDocument(ctx, root, moduleList, options);
}
