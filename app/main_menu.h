#pragma once
// Menu resource 131 of the main window: four pop-ups with every item text and command id, and the few
// operations the window performs on it when it opens (delete by command, delete or replace by position).

#include <QString>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

// Command ids.
enum MenuCommand : int {
    kCmdPortConfiguration = 32774,
    kCmdDeviceConfiguration = 32775,  // last item of the Device Manager pop-up
    kCmdSnmpGlobalState = 32839,
    kCmdSnmpUserTable = 32841,
    kCmdSnmpGroupTable = 32842,
    kCmdSnmpViewTable = 32843,
    kCmdSnmpCommunityTable = 32844,
    kCmdSnmpHostTable = 32840,
    kCmdSnmpEngineId = 32845,
    kCmdSnmpTrapConfiguration = 32846,
    kCmdSyslogHost = 32832,
    kCmdVlanConfiguration = 32834,
    kCmdSurveillanceVlan = 32854,
    kCmdSurveillanceOui = 32855,  // not in the menu
    kCmdTrunkConfiguration = 32818,
    kCmdMulticastFiltering = 32830,
    kCmd8021X = 32792,
    kCmdArpSpoofing = 32833,
    kCmdDhcpScreening = 32829,
    kCmdFirmware = 32823,
    kCmdSaveConfiguration = 32815,
    kCmdReboot = 32797,
    kCmdPoePortConfig = 32852,
    kCmdTimeBasedPoe = 32819,
    kCmdLldpGlobal = 32825,
    kCmdLldpRemote = 32826,
    kCmdLldpMed = 32827,
    kCmdLldpUnused = 32828,  // deleted when the window opens; not in the resource
    kCmdSystemInformation = 32805,
    kCmdInterfaceTable = 32809,
    kCmdIpTable = 32808,
    kCmdForwardingTable = 32810,
    kCmdTcpService = 32811,
    kCmdUdpService = 32812,
    kCmdBridge8021D = 32813,
    kCmdTelnet = 32788,
    kCmdWeb = 32789,
    kCmdAbout = 57664,
    kCmdConsoleDotQVlan = 32790,  // console requests, not in the menu
    kCmdConsoleDeviceQos = 32783,
    kCmdConsolePortQos = 32781,
    kCmdSystemAbout = 16,  // system-menu About entry
};

// Builds the whole menu resource 131 into `bar`. Every item carries its command id as data.
void BuildMainMenu(QMenuBar* bar);

// Command id of an action (0 for separators and pop-ups).
int CommandOf(const QAction* action);

// The pop-up at position `index` of the bar (nullptr past the end).
QMenu* PopupAt(QMenuBar* bar, int index);

// The item of `menu` (searching its sub-pop-ups too) with command id `id`.
QAction* FindCommand(QMenu* menu, int id);
QAction* FindCommand(QMenuBar* bar, int id);

// Deletes the item with that command from `menu` or any of its sub-pop-ups; false when none.
bool DeleteCommand(QMenu* menu, int id);
// Deletes the item (pop-up, separator or command) at `position`; false past the end.
bool DeleteItemAt(QMenu* menu, int position);
// Replaces the item at `position` by a command item.
bool ReplaceItemAt(QMenu* menu, int position, int id, const QString& text);

// Every command id in the menu, in menu order (for tests and enabling).
std::vector<int> AllCommands(QMenuBar* bar);
