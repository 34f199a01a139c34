#include "app/main_menu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

QAction* AddCommand(QMenu* menu, int id, const QString& text) {
    QAction* a = menu->addAction(text);
    a->setData(id);
    a->setObjectName(QStringLiteral("command%1").arg(id));
    return a;
}

void CollectCommands(QMenu* menu, std::vector<int>& out) {
    for (QAction* a : menu->actions()) {
        if (a->menu()) CollectCommands(a->menu(), out);
        else if (int id = CommandOf(a)) out.push_back(id);
    }
}

}  // namespace

void BuildMainMenu(QMenuBar* bar) {
    QMenu* device = bar->addMenu(QStringLiteral("&Device Manager   "));
    device->setObjectName(QStringLiteral("popupDeviceManager"));
    AddCommand(device, kCmdPortConfiguration, QStringLiteral("&Port Configuration..."));
    QMenu* snmp = device->addMenu(QStringLiteral("&SNMP Setting"));
    snmp->setObjectName(QStringLiteral("popupSnmpSetting"));
    AddCommand(snmp, kCmdSnmpGlobalState, QStringLiteral("SNMP Global State "));
    AddCommand(snmp, kCmdSnmpUserTable, QStringLiteral("SNMP User Table"));
    AddCommand(snmp, kCmdSnmpGroupTable, QStringLiteral("SNMP Group Table"));
    AddCommand(snmp, kCmdSnmpViewTable, QStringLiteral("SNMP View Table"));
    AddCommand(snmp, kCmdSnmpCommunityTable, QStringLiteral("SNMP Community Table "));
    AddCommand(snmp, kCmdSnmpHostTable, QStringLiteral("SNMP Host Table"));
    AddCommand(snmp, kCmdSnmpEngineId, QStringLiteral("SNMP Engine ID"));
    AddCommand(snmp, kCmdSnmpTrapConfiguration, QStringLiteral("SNMP Trap Configuration"));
    AddCommand(device, kCmdSyslogHost, QStringLiteral("&Syslog Host Configuration..."));
    device->addSeparator();
    AddCommand(device, kCmdVlanConfiguration, QStringLiteral("&VLAN Configuration..."));
    AddCommand(device, kCmdSurveillanceVlan, QStringLiteral("Auto Surveillance VLAN Setting "));
    AddCommand(device, kCmdTrunkConfiguration, QStringLiteral("&Trunk Configuration..."));
    AddCommand(device, kCmdMulticastFiltering, QStringLiteral("&Multicast Filtering Mode configuration..."));
    device->addSeparator();
    AddCommand(device, kCmd8021X, QStringLiteral("&802.1X Configuration..."));
    AddCommand(device, kCmdArpSpoofing, QStringLiteral("&ARP Spoofing Prevention Setting..."));
    AddCommand(device, kCmdDhcpScreening, QStringLiteral("&DHCP Server Screening Port Configuration..."));
    device->addSeparator();
    AddCommand(device, kCmdFirmware, QStringLiteral("&Firmware and Configuration Upgrade/Backup..."));
    AddCommand(device, kCmdSaveConfiguration, QStringLiteral("&Save Configuration..."));
    AddCommand(device, kCmdReboot, QStringLiteral("&Reboot"));
    device->addSeparator();
    AddCommand(device, kCmdPoePortConfig, QStringLiteral("&PoE Port Config"));
    AddCommand(device, kCmdTimeBasedPoe, QStringLiteral("&Time_Based PoE"));
    QMenu* lldp = device->addMenu(QStringLiteral("LLDP"));
    lldp->setObjectName(QStringLiteral("popupLldp"));
    AddCommand(lldp, kCmdLldpGlobal, QStringLiteral("&LLDP Global Setting"));
    AddCommand(lldp, kCmdLldpRemote, QStringLiteral("&LLDP Remote Port Information"));
    AddCommand(lldp, kCmdLldpMed, QStringLiteral("&LLDP MED Setting"));
    // Device Configure had no item; it goes last so the trimming by position above stays right.
    device->addSeparator();
    AddCommand(device, kCmdDeviceConfiguration, QStringLiteral("Device &Configure..."));

    QMenu* mib = bar->addMenu(QStringLiteral("&Public MIB   "));
    mib->setObjectName(QStringLiteral("popupPublicMib"));
    AddCommand(mib, kCmdSystemInformation, QStringLiteral("&System Information..."));
    AddCommand(mib, kCmdInterfaceTable, QStringLiteral("In&terface Table..."));
    AddCommand(mib, kCmdIpTable, QStringLiteral("&IP Table..."));
    AddCommand(mib, kCmdForwardingTable, QStringLiteral("Forwarding Table..."));
    AddCommand(mib, kCmdTcpService, QStringLiteral("&TCP Service..."));
    AddCommand(mib, kCmdUdpService, QStringLiteral("&UDP Service..."));
    AddCommand(mib, kCmdBridge8021D, QStringLiteral("802.1D..."));

    QMenu* tools = bar->addMenu(QStringLiteral("&Tools   "));
    tools->setObjectName(QStringLiteral("popupTools"));
    AddCommand(tools, kCmdTelnet, QStringLiteral("&Telnet..."));
    AddCommand(tools, kCmdWeb, QStringLiteral("&Web..."));

    QMenu* about = bar->addMenu(QStringLiteral("&About   "));
    about->setObjectName(QStringLiteral("popupAbout"));
    AddCommand(about, kCmdAbout, QStringLiteral("About KMS-7300-08E..."));
}

int CommandOf(const QAction* action) {
    if (!action || action->isSeparator() || action->menu()) return 0;
    bool ok = false;
    int id = action->data().toInt(&ok);
    return ok ? id : 0;
}

QMenu* PopupAt(QMenuBar* bar, int index) {
    const auto actions = bar->actions();
    if (index < 0 || index >= actions.size()) return nullptr;
    return actions[index]->menu();
}

QAction* FindCommand(QMenu* menu, int id) {
    for (QAction* a : menu->actions()) {
        if (a->menu()) {
            if (QAction* found = FindCommand(a->menu(), id)) return found;
        } else if (CommandOf(a) == id) {
            return a;
        }
    }
    return nullptr;
}

QAction* FindCommand(QMenuBar* bar, int id) {
    for (QAction* a : bar->actions())
        if (a->menu())
            if (QAction* found = FindCommand(a->menu(), id)) return found;
    return nullptr;
}

bool DeleteCommand(QMenu* menu, int id) {
    for (QAction* a : menu->actions()) {
        if (a->menu()) {
            if (DeleteCommand(a->menu(), id)) return true;
        } else if (CommandOf(a) == id) {
            menu->removeAction(a);
            delete a;
            return true;
        }
    }
    return false;
}

bool DeleteItemAt(QMenu* menu, int position) {
    const auto actions = menu->actions();
    if (position < 0 || position >= actions.size()) return false;
    QAction* a = actions[position];
    menu->removeAction(a);
    if (QMenu* sub = a->menu()) {
        // A sub-pop-up is owned by the menu it hangs in; its action goes with it.
        delete sub;
    } else {
        delete a;
    }
    return true;
}

bool ReplaceItemAt(QMenu* menu, int position, int id, const QString& text) {
    const auto actions = menu->actions();
    if (position < 0 || position >= actions.size()) return false;
    QAction* old = actions[position];
    QAction* a = new QAction(text, menu);
    a->setData(id);
    a->setObjectName(QStringLiteral("command%1").arg(id));
    menu->insertAction(old, a);
    DeleteItemAt(menu, position + 1);
    return true;
}

std::vector<int> AllCommands(QMenuBar* bar) {
    std::vector<int> out;
    for (QAction* a : bar->actions())
        if (a->menu()) CollectCommands(a->menu(), out);
    return out;
}
