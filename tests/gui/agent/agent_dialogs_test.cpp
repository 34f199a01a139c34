// The eight dialogs of the switch's own SNMP agent against kms-sim. The switch starts with the agent
// enabled, engine ID 8000081c044653, every trap on but the fiber one; users kmssha (V3, WriteGroup,
// SHA), rdview (V1 and V2c, ReadGroup), wrview (V1 and V2c, WriteGroup), kmsshades (V3, WriteGroup,
// SHA/DES); groups ReadGroup (v1, v2c) and WriteGroup (v1, v2c, v3 AuthNoPriv and AuthPriv); views
// ReadView 1.3.6.1 and its excluded vendor subtree, WriteView 1.3.6.1 mask 01010101; communities
// rdcomm (rdview) and wrcomms (wrview); one host 192.168.0.100 V2c "trapcomm".

#include "dialogs/agent/snmp_community_table_dlg.h"
#include "dialogs/agent/snmp_engine_id_dlg.h"
#include "dialogs/agent/snmp_global_state_dlg.h"
#include "dialogs/agent/snmp_group_table_dlg.h"
#include "dialogs/agent/snmp_host_table_dlg.h"
#include "dialogs/agent/snmp_trap_config_dlg.h"
#include "dialogs/agent/snmp_user_table_dlg.h"
#include "dialogs/agent/snmp_view_table_dlg.h"
#include "tests/gui/common/gui_test_support.h"

using namespace kmsgui;

constexpr const char* kAgent = "1.3.6.1.4.1.32473.10.75.13.25.";

class AgentDialogsTest : public SimTest {
    Q_OBJECT

    // Clicks the button and waits for the reads it started; the journal and the prompt start empty.
    void Press(CModuleDialog& dlg, const char* button) {
        Forget();
        kmsgui::Press(dlg, button);
    }
    // The journal with each secret replaced by a placeholder, so no failing comparison prints one.
    QStringList Journal(const QStringList& secrets = {}) const {
        QStringList lines;
        for (const std::string& line : m_sim->Journal()) lines << QString::fromStdString(line);
        for (const QString& s : secrets) lines.replaceInStrings(s, QStringLiteral("<secret>"));
        return lines;
    }
    // Fills the user form; an empty version keeps the one chosen.
    void User(QWidget& dlg, const QString& name, const char* group, const char* version = "") {
        SetText(dlg, "userName", name);
        SetText(dlg, "groupName", group);
        if (*version) Choose(dlg, "snmpVersion", version);
    }

private slots:
    void globalStateShowsWhatTheSwitchHoldsAfterApply() {
        auto dlg = Open<CSnmpGlobalStateDlg>();
        QVERIFY(dlg);
        auto* enable = Find<QCheckBox>(*dlg, "enableSnmpGlobal");
        QVERIFY(enable->isChecked());
        enable->setChecked(false);
        Press(*dlg, "applyButton");
        QCOMPARE(Journal(), QStringList{".25.1.0=2"});
        QVERIFY(!enable->isChecked());
        Press(*dlg, "cancelButton");
        QVERIFY(!dlg->isVisible());
    }

    void engineIdIsCheckedPaddedAndReadBack() {
        auto dlg = Open<CSnmpEngineIdDlg>();
        QVERIFY(dlg);
        auto* edit = Find<QLineEdit>(*dlg, "engineId");
        QCOMPARE(edit->text(), QStringLiteral("8000081c044653"));
        const QString longest = QStringLiteral("01").repeated(32);
        const std::tuple<QString, QString, QString, QString> cases[] = {
            {"123456789", "ID length is 10-64", "", "123456789"},
            {QString(65, QLatin1Char('1')), "ID length is 10-64", "", QString(65, QLatin1Char('1'))},
            {"12345678g0", "the accepted character is from 0 to F", "", "12345678g0"},
            // Characters, not bytes: six accented letters are too short, ten are no digits.
            {QString(6, QChar(0xE9)), "ID length is 10-64", "", QString(6, QChar(0xE9))},
            {QString(10, QChar(0xE9)), "the accepted character is from 0 to F", "", QString(10, QChar(0xE9))},
            {"0102030405", "", ".25.7.0=0x0102030405", "0102030405"},
            {longest, "", ".25.7.0=0x" + longest, longest},
            {"1A2b3c4d5e6", "", ".25.7.0=0x01A2B3C4D5E6", "01a2b3c4d5e6"}};
        for (const auto& [text, message, line, shown] : cases) {
            edit->setText(text);
            Press(*dlg, "applyButton");
            QCOMPARE(Said(), message.isEmpty() ? QStringList() : QStringList{message});
            QCOMPARE(Journal(), line.isEmpty() ? QStringList() : QStringList{line});
            QCOMPARE(edit->text(), shown);
        }
        Press(*dlg, "defaultButton");
        QCOMPARE(Journal(), QStringList{".25.7.0=0x8000081C044653"});
        QCOMPARE(edit->text(), QStringLiteral("8000081c044653"));
    }

    void trapsWriteNineFieldsOnAPoeModelAndSixOtherwise() {
        auto dlg = Open<CSnmpTrapConfigDlg>();
        QVERIFY(dlg);
        QVERIFY(Find<QCheckBox>(*dlg, "trapFiberLink")->isHidden());
        for (const char* box :
             {"trapAuthentication", "trapTwistedPairLink", "trapPoePower", "trapPowerBudget"})
            QVERIFY2(!Find<QCheckBox>(*dlg, box)->isHidden() && Find<QCheckBox>(*dlg, box)->isChecked(), box);
        Find<QCheckBox>(*dlg, "trapAuthentication")->setChecked(false);
        Press(*dlg, "applyButton");
        QCOMPARE(Journal(), QStringList{".25.8.1.0=2; .25.8.2.0=1; .25.8.3.0=2; .25.8.4.0=1; .25.8.5.0=1; "
                                        ".25.8.6.0=1; .25.8.7.0=1; .25.8.8.0=1; .25.8.9.0=1"});

        Settings().DeviceName = "KMS-7300-08";  // neither a "p" nor one of the E-models
        dlg = Open<CSnmpTrapConfigDlg>();
        QVERIFY(dlg);
        QVERIFY(!Find<QCheckBox>(*dlg, "trapAuthentication")->isChecked());
        for (const char* box : {"trapPoePower", "trapPoeError", "trapPowerBudget"})
            QVERIFY2(Find<QCheckBox>(*dlg, box)->isHidden(), box);
        Press(*dlg, "applyButton");
        QCOMPARE(Journal(),
                 QStringList{".25.8.1.0=2; .25.8.2.0=1; .25.8.3.0=2; .25.8.4.0=1; .25.8.5.0=1; .25.8.6.0=1"});
    }

    void usersAreWrittenColumnByColumnUpToFiftyAndNoPasswordShows() {
        DebugCapture debug;
        auto dlg = Open<CSnmpUserTableDlg>();
        QVERIFY(dlg);
        QCOMPARE(ListLines(*dlg),
                 (QStringList{"kmssha|WriteGroup|V3|SHA|None", "rdview|ReadGroup|V1|None|None",
                              "rdview|ReadGroup|V2c|None|None", "wrview|WriteGroup|V1|None|None",
                              "wrview|WriteGroup|V2c|None|None", "kmsshades|WriteGroup|V3|SHA|DES_CBC"}));
        auto enabled = [&] {
            return Enabled(*dlg,
                           {"encrypted", "authProtocol", "authPassword", "privProtocol", "privPassword"});
        };
        QCOMPARE(enabled(), QStringLiteral("00000"));
        Choose(*dlg, "snmpVersion", "V3");
        QCOMPARE(enabled(), QStringLiteral("10000"));
        Find<QCheckBox>(*dlg, "encrypted")->setChecked(true);
        QCOMPARE(enabled(), QStringLiteral("11111"));
        Choose(*dlg, "privProtocol", "None");
        QCOMPARE(enabled(), QStringLiteral("11110"));

        // V1: only the group between the two row-status writes.
        User(*dlg, " bob ", "ReadGroup", "V1");
        Press(*dlg, "applyButton");
        QCOMPARE(Journal(),
                 (QStringList{".25.2.1.1.8.3.98.111.98.1=5", ".25.2.1.1.3.3.98.111.98.1=\"ReadGroup\"",
                              ".25.2.1.1.8.3.98.111.98.1=1"}));
        QCOMPARE(Find<QLineEdit>(*dlg, "userName")->text(), QString());

        // The same name as V3 is another row: protocols, then passwords.
        const QStringList secrets{"auth-Secret-1", "priv-Secret-2"};
        User(*dlg, "bob", "WriteGroup", "V3");
        Find<QCheckBox>(*dlg, "encrypted")->setChecked(true);
        Choose(*dlg, "authProtocol", "MD5");
        SetText(*dlg, "authPassword", secrets[0]);
        SetText(*dlg, "privPassword", secrets[1]);
        Press(*dlg, "applyButton");
        QCOMPARE(Said(), QStringList());
        QCOMPARE(Journal(secrets),
                 (QStringList{".25.2.1.1.8.3.98.111.98.3=5", ".25.2.1.1.3.3.98.111.98.3=\"WriteGroup\"",
                              ".25.2.1.1.4.3.98.111.98.3=2; .25.2.1.1.6.3.98.111.98.3=2",
                              ".25.2.1.1.5.3.98.111.98.3=\"<secret>\"; "
                              ".25.2.1.1.7.3.98.111.98.3=\"<secret>\"",
                              ".25.2.1.1.8.3.98.111.98.3=1"}));
        QVERIFY(ListLines(*dlg).contains("bob|ReadGroup|V1|None|None"));
        QVERIFY(ListLines(*dlg).contains("bob|WriteGroup|V3|MD5|DES_CBC"));

        // A V3 user without encryption sends its protocol as an empty number and an empty password.
        User(*dlg, "nia", "ReadGroup", "V3");
        Press(*dlg, "applyButton");
        QCOMPARE(Journal(),
                 (QStringList{".25.2.1.1.8.3.110.105.97.3=5", ".25.2.1.1.3.3.110.105.97.3=\"ReadGroup\"",
                              ".25.2.1.1.4.3.110.105.97.3=0", ".25.2.1.1.5.3.110.105.97.3=\"\"",
                              ".25.2.1.1.8.3.110.105.97.3=1"}));
        QVERIFY(ListLines(*dlg).contains("nia|ReadGroup|V3|None|None"));

        // A name beyond ASCII: its UTF-8 bytes in the index and the value, the same text listed.
        User(*dlg, QStringLiteral("j\u00fcrgen"), "ReadGroup", "V2c");
        Press(*dlg, "applyButton");
        QCOMPARE(Journal().value(0), QStringLiteral(".25.2.1.1.8.7.106.195.188.114.103.101.110.2=5"));
        QVERIFY(ListLines(*dlg).contains(QStringLiteral("j\u00fcrgen|ReadGroup|V2c|None|None")));

        // A refusal sends nothing and selects the password at fault (the rule's table has the others).
        const QString tooLong(41, QLatin1Char('s'));
        User(*dlg, "s41", "ReadGroup", "V3");
        Find<QCheckBox>(*dlg, "encrypted")->setChecked(true);
        Choose(*dlg, "authProtocol", "SHA");
        Choose(*dlg, "privProtocol", "None");
        SetText(*dlg, "authPassword", tooLong);
        Refused(*dlg, "applyButton", " SHA Max. Password length is 40.");
        QVERIFY(Find<QLineEdit>(*dlg, "authPassword")->selectedText() == tooLong);

        Find<QTreeWidget>(*dlg, "list")->clearSelection();
        Refused(*dlg, "deleteButton", "Please select the item would be delete!\n");
        SelectLine(ListOf(*dlg), "bob|ReadGroup|V1|None|None");
        Press(*dlg, "deleteButton");
        QCOMPARE(Journal(), QStringList{".25.2.1.1.8.3.98.111.98.1=6"});
        QVERIFY(!ListLines(*dlg).contains("bob|ReadGroup|V1|None|None"));

        // 41 V1 users u00, u01... beside the nine listed, eight users a request: the fiftieth is the last.
        std::vector<std::array<std::string, 3>> users;
        for (int n = 0; n < 41; ++n) {
            const std::string index =
                ".3.117." + std::to_string('0' + n / 10) + "." + std::to_string('0' + n % 10) + ".1";
            users.push_back({kAgent + std::string("2.1.1.8") + index, "i", "4"});
            users.push_back({kAgent + std::string("2.1.1.3") + index, "s", "ReadGroup"});
        }
        QVERIFY(SetMany(*m_sim, users, 16));
        Press(*dlg, "refreshButton");
        QCOMPARE(ListLines(*dlg).size(), 50);
        User(*dlg, "u51", "ReadGroup");
        Refused(*dlg, "applyButton", "Maximum number of User Entry is 50.");

        for (const std::string& line : debug.Lines()) QVERIFY(line.find("-Secret-") == std::string::npos);
    }

    void groupsWriteOnlyTheViewsTheyName() {
        auto dlg = Open<CSnmpGroupTableDlg>();
        QVERIFY(dlg);
        QCOMPARE(ListLines(*dlg), (QStringList{"ReadGroup|ReadView||ReadView|v1|NoAuthNoPriv",
                                               "ReadGroup|ReadView||ReadView|v2c|NoAuthNoPriv",
                                               "WriteGroup|WriteView|WriteView|WriteView|v1|NoAuthNoPriv",
                                               "WriteGroup|WriteView|WriteView|WriteView|v2c|NoAuthNoPriv",
                                               "WriteGroup|WriteView|WriteView|WriteView|v3|AuthNoPriv",
                                               "WriteGroup|WriteView|WriteView|WriteView|v3|AuthPriv"}));
        auto* level = Find<QComboBox>(*dlg, "securityLevel");
        QVERIFY(!level->isEnabled());
        Choose(*dlg, "securityModel", "v3");
        QVERIFY(level->isEnabled());

        SetText(*dlg, "groupName", "ops");
        SetText(*dlg, "readView", "ReadView");
        Choose(*dlg, "securityLevel", "AuthPriv");
        Press(*dlg, "applyButton");
        QCOMPARE(Journal(),
                 (QStringList{".25.3.1.1.7.3.111.112.115.3.3=5", ".25.3.1.1.4.3.111.112.115.3.3=\"ReadView\"",
                              ".25.3.1.1.7.3.111.112.115.3.3=1"}));
        QVERIFY(ListLines(*dlg).contains("ops|ReadView|||v3|AuthPriv"));
        QVERIFY(!level->isEnabled());

        SetText(*dlg, "groupName", "nov");
        Choose(*dlg, "securityModel", "v2c");
        Press(*dlg, "applyButton");
        QCOMPARE(Journal(),
                 (QStringList{".25.3.1.1.7.3.110.111.118.2.1=5", ".25.3.1.1.7.3.110.111.118.2.1=1"}));

        // One refusal shows the rule is asked with the rows listed; the rule's table has the others.
        SetText(*dlg, "groupName", " nov");
        Choose(*dlg, "securityModel", "v2c");
        Refused(*dlg, "applyButton", "This Group Entry already exists.");
        SelectLine(ListOf(*dlg), "ops|ReadView|||v3|AuthPriv");
        Press(*dlg, "deleteButton");
        QCOMPARE(Journal(), QStringList{".25.3.1.1.7.3.111.112.115.3.3=6"});
    }

    void viewsCheckSubtreeAndMaskAndListTheSubtreeOfTheIndex() {
        auto dlg = Open<CSnmpViewTableDlg>();
        QVERIFY(dlg);
        QCOMPARE(ListLines(*dlg), (QStringList{"ReadView|1.3.6.1||Included",
                                               "ReadView|1.3.6.1.4.1.32473.10.75.13.25||Excluded",
                                               "WriteView|1.3.6.1|1.1.1.1|Included"}));
        // One refusal shows the rule is asked with the rows listed; the rule's table has the others.
        SetText(*dlg, "viewName", "ReadView");
        SetText(*dlg, "subtreeOid", "1.3.6.1");
        SetText(*dlg, "oidMask", "1");
        Refused(*dlg, "applyButton", "This View Entry already exist.");
        SetText(*dlg, "viewName", "lab");
        SetText(*dlg, "oidMask", "1.1.0");
        Choose(*dlg, "viewType", "Excluded");
        Press(*dlg, "applyButton");
        const QString index = QStringLiteral(".3.108.97.98.4.1.3.6.1");
        QCOMPARE(Journal(), (QStringList{".25.4.1.1.5" + index + "=5",
                                         ".25.4.1.1.3" + index + "=0x010100; .25.4.1.1.4" + index + "=2",
                                         ".25.4.1.1.5" + index + "=1"}));
        QVERIFY(ListLines(*dlg).contains("lab|1.3.6.1|1.1.0|Excluded"));

        SetText(*dlg, "viewName", "lab");
        SetText(*dlg, "subtreeOid", "1.3.6.1.2");
        SetText(*dlg, "oidMask", "1.1");  // shorter than the subtree
        Press(*dlg, "applyButton");
        QCOMPARE(Said(), QStringList());
        QVERIFY(ListLines(*dlg).contains("lab|1.3.6.1.2|1.1|Included"));

        SelectLine(ListOf(*dlg), "lab|1.3.6.1|1.1.0|Excluded");
        Press(*dlg, "deleteButton");
        QCOMPARE(Journal(), QStringList{".25.4.1.1.5" + index + "=6"});
    }

    void communitiesTakeAnActiveV1OrV2cUser() {
        Settings().SnmpTimeoutText = "300";  // requests are dropped on purpose below
        auto dlg = Open<CSnmpCommunityTableDlg>();
        QVERIFY(dlg);
        QCOMPARE(ListLines(*dlg), (QStringList{"rdcomm|rdview", "wrcomms|wrview"}));
        auto* users = Find<QComboBox>(*dlg, "userName");
        QCOMPARE(users->count(), 2);  // each V1/V2c user once, the V3 users not at all
        QCOMPARE(users->itemText(0) + "," + users->itemText(1), QStringLiteral("rdview,wrview"));

        SetText(*dlg, "communityName", "rdcomm");
        Refused(*dlg, "applyButton", "This Community Entry already exists.");
        SetText(*dlg, "communityName", "lab");
        Choose(*dlg, "userName", "wrview");
        Press(*dlg, "applyButton");
        QCOMPARE(Journal(), (QStringList{".25.5.1.1.3.3.108.97.98=5", ".25.5.1.1.2.3.108.97.98=\"wrview\"",
                                         ".25.5.1.1.3.3.108.97.98=1"}));
        QCOMPARE(ListLines(*dlg), (QStringList{"lab|wrview", "rdcomm|rdview", "wrcomms|wrview"}));

        // The user went away since the list was read: the switch refuses, the half-made row goes again.
        for (const char* version : {"1", "2"})
            QVERIFY(
                m_sim->Set(std::string(kAgent) + "2.1.1.8.6.114.100.118.105.101.119." + version, 'i', "6"));
        SetText(*dlg, "communityName", "lab2");
        Choose(*dlg, "userName", "rdview");
        Press(*dlg, "applyButton");
        QCOMPARE(Said(),
                 QStringList{"The switch did not accept the settings of the new community entry, so it "
                             "was removed again."});
        QCOMPARE(Journal(), (QStringList{".25.5.1.1.3.4.108.97.98.50=5",
                                         ".25.5.1.1.2.4.108.97.98.50=\"rdview\" => error 12 (binding 1)",
                                         ".25.5.1.1.3.4.108.97.98.50=6"}));
        QCOMPARE(Find<QLineEdit>(*dlg, "communityName")->text(), QStringLiteral("lab2"));
        QCOMPARE(users->count(), 1);

        // Its removal goes unanswered as well: the row stays, listed as not active, until Delete.
        QVERIFY(m_sim->RefuseWritesUnder(std::string(kAgent) + "5.1.1.2") && m_sim->SetDropEvery(3));
        Press(*dlg, "applyButton");
        QVERIFY(m_sim->SetDropEvery(0) && m_sim->RefuseWritesUnder(""));
        QCOMPARE(Said(), QStringList{"The switch did not accept the settings of the new community entry, and "
                                     "removing it failed too. Press Refresh to see what the switch holds."});
        QCOMPARE(Journal(), (QStringList{".25.5.1.1.3.4.108.97.98.50=5",
                                         ".25.5.1.1.2.4.108.97.98.50=\"wrview\" => error 5 (binding 1)"}));
        SelectLine(ListOf(*dlg), "lab2 (not active)|");
        Press(*dlg, "deleteButton");
        QCOMPARE(Journal(), QStringList{".25.5.1.1.3.4.108.97.98.50=6"});

        SelectLine(ListOf(*dlg), "lab|wrview");
        Press(*dlg, "deleteButton");
        QCOMPARE(Journal(), QStringList{".25.5.1.1.3.3.108.97.98=6"});
    }

    void debugLinesOfAMisbehavingCommunityWalkHoldNoCommunity() {
        // The same row again, and rows past the end: the walk ends, and its debug line names no index.
        for (const char* knob : {kmssim::ctl::kRepeatOid, kmssim::ctl::kEndlessColumns}) {
            QVERIFY(m_sim->SetKnob(knob, 1));
            DebugCapture debug;
            QVERIFY(Open<CSnmpCommunityTableDlg>());
            QVERIFY(m_sim->SetKnob(knob, 0));
            int walkLines = 0;
            for (const std::string& line : debug.Lines()) {
                walkLines += line.find("not increasing") != std::string::npos ||
                             line.find("bound") != std::string::npos;
                // rdcomm and wrcomms as index arcs (the line itself is not printed: it would hold them)
                QVERIFY(line.find("114.100.99.111.109.109") == std::string::npos);
                QVERIFY(line.find("119.114.99.111.109.109.115") == std::string::npos);
            }
            QVERIFY(walkLines > 0);
        }
    }

    void hostsCheckTheAddressAndShowTheirVersion() {
        auto dlg = Open<CSnmpHostTableDlg>();
        QVERIFY(dlg);
        QCOMPARE(ListLines(*dlg), QStringList{"192.168.0.100|V2c|trapcomm"});
        // One refusal shows the rule is asked with the rows listed; the rule's table has the others.
        SetText(*dlg, "hostAddress", "192.168.0.100");
        Refused(*dlg, "applyButton", "This IP Address has used,please enter other IP Address");
        const QStringList hosts = {"10.0.0.1", "172.16.255.1", "10.0.0.3", "10.0.0.4", "10.0.0.5"};
        const QStringList versions = {"V1", "V2c", "V3-NoAuthNoPriv", "V3-AuthNoPriv", "V3-AuthPriv"};
        for (int i = 0; i < hosts.size(); ++i) {
            SetText(*dlg, "hostAddress", hosts[i]);
            Choose(*dlg, "snmpVersion", versions[i]);
            SetText(*dlg, "hostName", "pub");
            Press(*dlg, "applyButton");
            QCOMPARE(Said(), QStringList());
        }
        QCOMPARE(Journal(), (QStringList{".25.6.1.1.4.10.0.0.5=5",
                                         ".25.6.1.1.2.10.0.0.5=\"pub\"; .25.6.1.1.3.10.0.0.5=5",
                                         ".25.6.1.1.4.10.0.0.5=1"}));
        QCOMPARE(ListLines(*dlg), (QStringList{"10.0.0.1|V1|pub", "10.0.0.3|V3-NoAuthNoPriv|pub",
                                               "10.0.0.4|V3-AuthNoPriv|pub", "10.0.0.5|V3-AuthPriv|pub",
                                               "172.16.255.1|V2c|pub", "192.168.0.100|V2c|trapcomm"}));
        Find<QTreeWidget>(*dlg, "list")->clearSelection();
        Refused(*dlg, "deleteButton", "Please Selecte the Item you would delete");
        SelectLine(ListOf(*dlg), "10.0.0.1|V1|pub");
        Press(*dlg, "deleteButton");
        QCOMPARE(Journal(), QStringList{".25.6.1.1.4.10.0.0.1=6"});
        QCOMPARE(ListLines(*dlg).size(), 5);
    }
};

QTEST_MAIN(AgentDialogsTest)
#include "agent_dialogs_test.moc"
