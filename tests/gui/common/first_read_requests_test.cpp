// Every registered dialog opened on both models over SNMPv1: its title, the requests its first read sends
// (kms-sim's counters of gets and get-nexts) against a table, so a change that multiplies round trips fails
// here, and the sessions its closing names, in order. A dialog registered later fails until it joins the
// table. Each is also grabbed into a screenshot.

#include <cstdio>
#include <map>

#include "dialogs/common/dialog_registry.h"
#include "tests/gui/common/gui_test_support.h"

namespace {

struct Expected {
    const char* title;    // exactly, trailing blanks included
    long requests08 = 0;  // KMS-7300-08E
    long requests28 = 0;  // KMS-7300-28E
    // The sessions closed after the DestroyWindow line, in order, named without "m_cCommon" (null: not
    // checked).
    const char* closing = nullptr;
};

// By menu command. A table whose rows sit at consecutive instances (ports, trunks, interfaces, VLANs
// 1 and 10 aside) is read ahead, several rows a request: its rows' bytes over about 1200 a request, plus
// one for its end when no row bound stops it. Tables keyed by text or address go a row a request.
const std::map<int, Expected> kExpected = {
    // Port Configuration: trunks (1) beside 6 port columns (2 / 4)
    {32774, {"Port Configuration", 3, 5}},
    // Device Configure: reads on Refresh only
    {32775, {"Device Configure", 0, 0}},
    // 802.1X: one get
    {32792, {"802.1X Config Information", 1, 1, "SNMP SNMPSet SNMPEnable"}},
    // System Information: one get
    {32805, {"System Information", 1, 1}},
    // IP Table: two addresses, a row a request, and the end
    {32808, {"IP Table : 127.0.0.1", 3, 3}},
    // Interface Table: 10 / 30 interfaces
    {32809, {"Interface Table", 2, 3}},
    // Forwarding Table: the ageing time, 7 entries keyed by VLAN and address, the end
    {32810, {"Forwarding Table", 9, 9, "SNMP SNMPGetTime"}},
    // TCP: 4 endpoints keyed by address and the end
    {32811, {"TCP Service", 5, 5}},
    // UDP: 3 endpoints and the end
    {32812, {"UDP Service", 4, 4}},
    // STP: one get
    {32813, {" STP Configuration ", 1, 1}},
    // Trunk Configuration: a get and the 8 trunks
    {32818, {"Trunk Configuration", 2, 2}},
    // Time ranges: the two ranges, then their end
    {32819, {"Time Range Information", 2, 2}},
    // Firmware: nothing until a transfer
    {32823, {"Firmware and Configuration Upgrade/Backup", 0, 0}},
    // LLDP Global: one get
    {32825, {"LLDP Global Settings", 1, 1, "SNMP SNMPSet"}},
    // LLDP Remote: the state, 4 neighbours keyed port.index and the end
    {32826, {"LLDP Remote Port Information", 6, 6, "SNMPEnabled SNMP"}},
    // LLDP MED: the state and the ports
    {32827, {"LLDP MED Settings", 2, 2, "SNMPEnable SNMP SNMPSet"}},
    // DHCP screening: one get beside the trunks
    {32829, {"DHCP Server Screening Port Settings", 2, 2}},
    // Multicast: trunks beside the 8 / 28 ports
    {32830, {"Multicast Filtering Mode Configuration", 2, 3}},
    // Syslog: one get
    {32832, {"Syslog Host Configuration", 1, 1}},
    // ARP spoofing: one entry and the end
    {32833, {"ARP Spoofing Prevention Setting", 2, 2}},
    // VLAN: two gets, the PVIDs (1 / 2) and the two VLANs with their end (2)
    {32834,
     {"802.1Q VLAN Configuration", 5, 6, "SNMP SNMPTable SNMPVoiceVlan SNMPTableVlan SNMPTableVlanDelete"}},
    // SNMP global state: one get
    {32839, {"SNMP Global State Settings", 1, 1, "SNMP SNMPSet SNMPTable SNMPGetUse"}},
    // SNMP hosts: one and the end
    {32840, {"SNMP Host Table", 2, 2, "SNMP SNMPSet SNMPTable SNMPGetUse"}},
    // SNMP users: 6 keyed by name and the end
    {32841, {"SNMP User Table ", 7, 7, "SNMP SNMPSet SNMPTable SNMPGetUse"}},
    // SNMP groups: 6 and the end
    {32842, {"SNMP Group Table Info", 7, 7, "SNMP SNMPSet SNMPTable SNMPGetUse"}},
    // SNMP views: 3 and the end
    {32843, {"SNMP View Table Configuration", 4, 4, "SNMP SNMPSet SNMPTable SNMPGetUse"}},
    // SNMP communities (2 and the end), then the users (6 and the end)
    {32844, {"SNMP Community Table Configuration", 10, 10, "SNMP SNMPSet SNMPTable SNMPGetUse"}},
    // SNMP engine ID: one get
    {32845, {"SNMP Engine ID", 1, 1, "SNMP SNMPSet SNMPTable SNMPGetUse"}},
    // SNMP traps: one get
    {32846, {"SNMP Trap Configuration", 1, 1, "SNMP SNMPSet SNMPTable SNMPGetUse"}},
    // PoE: the time ranges (1), then 11 columns of 8 / 24 ports
    {32852, {"PoE Configuration", 4, 8, "SNMPTimeRang SNMP SNMPSet"}},
    // Surveillance VLAN: VLANs 1 and 10 and their end, a get, the OUI and its end
    {32854, {"Auto Surveillance VLAN Settings", 5, 5}},
    // Surveillance OUIs: the default OUI, keyed by address, and the end
    {32855, {"Auto Surveillance VLAN OUI Settings", 2, 2}},
};

}  // namespace

class FirstReadRequestsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        RegisterSwitchDialogs();
        RegisterAgentDialogs();
        RegisterMibDialogs();
    }

    void everyDialogOnBothModels() {
        QStringList wrong;
        for (const char* model : {"08E", "28E"}) {
            kmstest::KmsSimFixture sim(kmstest::KmsSimFixture::Options{.model = model});
            QVERIFY2(sim.Start(), sim.LastError().c_str());
            Settings() = sim.SettingsV1();
            RecordingPrompt prompt;
            for (int id : RegisteredCommands()) {
                QVERIFY(sim.ClearCounters());
                std::unique_ptr<QDialog> dialog = FindDialog(id)(nullptr);
                QVERIFY2(kmsgui::OpenFirstRead(*dialog).ended, qPrintable(QString::number(id)));
                // For a look by eye: screenshots/<model>_<command>.png
                kmsgui::Screenshot(*dialog, QStringLiteral("%1_%2").arg(model).arg(id));
                kmsgui::DebugCapture debug;
                dialog->reject();
                const long gets = sim.RequestCount(kmstest::RequestKind::Get);
                const long nexts = sim.RequestCount(kmstest::RequestKind::GetNext);
                auto it = kExpected.find(id);
                const Expected e = it == kExpected.end() ? Expected{"", -1, -1} : it->second;
                const long expected = std::string(model) == "08E" ? e.requests08 : e.requests28;
                const QString title = dialog->windowTitle();
                if (gets + nexts != expected || sim.RequestCount(kmstest::RequestKind::GetBulk) != 0)
                    wrong << QString::asprintf("%s %d (%s): %ld gets + %ld get-nexts, expected %ld", model,
                                               id, qPrintable(title), gets, nexts, expected);
                if (title != QString::fromLatin1(e.title))
                    wrong << QString::asprintf("%s %d: title \"%s\", expected \"%s\"", model, id,
                                               qPrintable(title), e.title);
                std::string want = "==================DestroyWindow===============\n", got;
                for (const QString& name : QString::fromLatin1(e.closing).split(' ', Qt::SkipEmptyParts))
                    want += "==================m_cCommon" + name.toStdString() + ".Close===============\n";
                for (const std::string& line : debug.ClosingLines()) got += line + "\n";
                if (e.closing && got != want)
                    wrong << QString::asprintf("%s %d closes:\n%s", model, id, got.c_str());
            }
        }
        for (const QString& line : wrong) std::fprintf(stderr, "%s\n", qPrintable(line));
        QVERIFY2(wrong.isEmpty(), "dialogs differ from the table (listed above)");
    }
};

QTEST_MAIN(FirstReadRequestsTest)
#include "first_read_requests_test.moc"
