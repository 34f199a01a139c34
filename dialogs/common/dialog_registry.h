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

// The port a dialog opens for. A click on port n of the panel opens the Port Configuration dialog
// (command 32774) through FindDialog with SelectedPort() == n (1-based) while its factory runs and the
// dialog is open; opened from the menu, SelectedPort() is 0. User-interface thread only.
void SetSelectedPort(int port);
int SelectedPort();

void RegisterSwitchDialogs();  // dialogs/switch
void RegisterAgentDialogs();   // dialogs/agent
void RegisterMibDialogs();     // dialogs/mib
