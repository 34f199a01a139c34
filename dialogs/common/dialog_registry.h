#pragma once
// Menu commands find their dialogs here. Each dialog library registers its dialogs under the menu
// command ids in one function (RegisterSwitchDialogs, RegisterAgentDialogs, RegisterMibDialogs) that the
// main window calls once; commands without a registered dialog stay disabled in the menu.

#include <QDialog>
#include <functional>
#include <memory>
#include <vector>

using DialogFactory = std::function<std::unique_ptr<QDialog>(QWidget* parent)>;

void RegisterDialog(int commandId, DialogFactory factory);
// Empty function when nothing is registered for the id.
DialogFactory FindDialog(int commandId);
// The command ids with a registered dialog, in increasing order.
std::vector<int> RegisteredCommands();

void RegisterSwitchDialogs();  // dialogs/switch
void RegisterAgentDialogs();   // dialogs/agent
void RegisterMibDialogs();     // dialogs/mib
