// Every registered dialog opened on both models over SNMPv1: the requests its first read sends (kms-sim's
// counters of gets and get-nexts) against a table, so a change that multiplies round trips fails here.
// A dialog registered later fails until its counts join the table. Each is also grabbed into a screenshot.

#include <cstdio>
#include <map>

#include "dialogs/common/dialog_registry.h"
#include "tests/gui/common/gui_test_support.h"

namespace {

struct Expected {
    long requests08 = 0;  // KMS-7300-08E
    long requests28 = 0;  // KMS-7300-28E
};

// By menu command. A table whose rows sit at consecutive instances (ports, trunks, interfaces, VLANs
// 1 and 10 aside) is read ahead, several rows a request: its rows' bytes over about 1200 a request, plus
// one for its end when no row bound stops it. Tables keyed by text or address go a row a request.
const std::map<int, Expected> kExpected = {
    {32774, {3, 5}},    // Port Configuration: trunks (1) beside 6 port columns (2 / 4)
    {32775, {0, 0}},    // Device Configure: reads on Refresh only
    {32792, {1, 1}},    // 802.1X: one get
    {32805, {1, 1}},    // System Information: one get
    {32808, {3, 3}},    // IP Table: two addresses, a row a request, and the end
    {32809, {2, 3}},    // Interface Table: 10 / 30 interfaces
    {32810, {9, 9}},    // Forwarding Table: the ageing time, 7 entries keyed by VLAN and address, the end
    {32811, {5, 5}},    // TCP: 4 endpoints keyed by address and the end
    {32812, {4, 4}},    // UDP: 3 endpoints and the end
    {32813, {1, 1}},    // STP: one get
    {32818, {2, 2}},    // Trunk Configuration: a get and the 8 trunks
    {32819, {2, 2}},    // Time ranges: the two ranges, then their end
    {32823, {0, 0}},    // Firmware: nothing until a transfer
    {32825, {1, 1}},    // LLDP Global: one get
    {32826, {6, 6}},    // LLDP Remote: the state, 4 neighbours keyed port.index and the end
    {32827, {2, 2}},    // LLDP MED: the state and the ports
    {32829, {2, 2}},    // DHCP screening: one get beside the trunks
    {32830, {2, 3}},    // Multicast: trunks beside the 8 / 28 ports
    {32832, {1, 1}},    // Syslog: one get
    {32833, {2, 2}},    // ARP spoofing: one entry and the end
    {32834, {5, 6}},    // VLAN: two gets, the PVIDs (1 / 2) and the two VLANs with their end (2)
    {32839, {1, 1}},    // SNMP global state: one get
    {32840, {2, 2}},    // SNMP hosts: one and the end
    {32841, {7, 7}},    // SNMP users: 6 keyed by name and the end
    {32842, {7, 7}},    // SNMP groups: 6 and the end
    {32843, {4, 4}},    // SNMP views: 3 and the end
    {32844, {10, 10}},  // SNMP communities (2 and the end), then the users (6 and the end)
    {32845, {1, 1}},    // SNMP engine ID: one get
    {32846, {1, 1}},    // SNMP traps: one get
    {32852, {4, 8}},    // PoE: the time ranges (1), then 11 columns of 8 / 24 ports
    {32854, {5, 5}},    // Surveillance VLAN: VLANs 1 and 10 and their end, a get, the OUI and its end
    {32855, {2, 2}},    // Surveillance OUIs: the default OUI, keyed by address, and the end
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
                dialog->reject();
                const long gets = sim.RequestCount(kmstest::RequestKind::Get);
                const long nexts = sim.RequestCount(kmstest::RequestKind::GetNext);
                auto it = kExpected.find(id);
                const long expected = it == kExpected.end()         ? -1
                                      : std::string(model) == "08E" ? it->second.requests08
                                                                    : it->second.requests28;
                if (gets + nexts != expected || sim.RequestCount(kmstest::RequestKind::GetBulk) != 0)
                    wrong << QString::asprintf("%s %d (%s): %ld gets + %ld get-nexts, expected %ld", model,
                                               id, qPrintable(dialog->windowTitle()), gets, nexts, expected);
            }
        }
        for (const QString& line : wrong) std::fprintf(stderr, "%s\n", qPrintable(line));
        QVERIFY2(wrong.isEmpty(), "request counts differ from the table (listed above)");
    }
};

QTEST_MAIN(FirstReadRequestsTest)
#include "first_read_requests_test.moc"
