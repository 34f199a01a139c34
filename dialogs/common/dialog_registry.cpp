#include "dialogs/common/dialog_registry.h"

#include <map>

namespace {
std::map<int, DialogFactory>& Registry() {
    static std::map<int, DialogFactory> registry;
    return registry;
}
int g_selectedPort = 0;
}  // namespace

void SetSelectedPort(int port) {
    g_selectedPort = port;
}
int SelectedPort() {
    return g_selectedPort;
}

void RegisterDialog(int commandId, DialogFactory factory) {
    Registry()[commandId] = std::move(factory);
}

std::vector<int> RegisteredCommands() {
    std::vector<int> ids;
    for (const auto& entry : Registry()) ids.push_back(entry.first);
    return ids;
}

DialogFactory FindDialog(int commandId) {
    auto it = Registry().find(commandId);
    return it == Registry().end() ? DialogFactory() : it->second;
}
