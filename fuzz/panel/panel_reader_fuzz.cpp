// Feeds arbitrary bytes to the panel description reader (and the configuration command file reader),
// then walks the tree the way the window does. Pictures are not loaded: their names come from the input.

#include <cstddef>
#include <cstdint>
#include <string>

#include "panel/device_config_file.h"
#include "panel/my_bitmap_app.h"
#include "panel/panel_reader.h"

namespace {

class NullHost : public CPanelHost {
public:
    QRect PanelClientRect() const override { return {0, 0, 640, 140}; }
    void InvalidatePanelRect(const QRect&) override {}
    void SetPanelCursor(PanelCursor) override {}
    void PortClicked(CPort&) override {}
    void ComClicked(CCom&) override {}
};

void Walk(CVirtualDev& node, int depth) {
    if (depth > 64) return;
    (void)node.GetRect();
    (void)node.HitTest(node.Left() / 2 + 3, node.Top() / 2 + 3);
    (void)node.ScaledRect();
    for (int i = 0; i < node.ChildCount(); ++i) Walk(*node.GetChild(i), depth + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    CDevModule root;
    ModuleList modules;
    CMyBitmapApp painter;
    PanelReadOptions options;
    options.positions = &painter;
    options.loadPictures = false;
    std::string message;
    options.reportError = [&message](const std::string& m) { message = m; };
    ReadPanelDescriptionFromBuffer(text, size, root, modules, options);

    NullHost host;
    root.Attach(&host);
    Walk(root, 0);
    for (int n = 0; root.FindChildByClass("CPort", n); ++n) root.FindChildByClass("CPort", n)->GetChild(2);
    root.OnMouseMove(10, 10);
    for (auto& module : modules) Walk(*module, 0);

    CDeviceConfigFile cfg;
    if (cfg.OpenBuffer("DEVCFG", std::string(text, size))) {
        std::string item;
        while (cfg.Next(item)) (void)cfg.Desc(item);
        (void)cfg.ItemOids("0");
    }
    return 0;
}
