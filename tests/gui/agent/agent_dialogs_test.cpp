// The eight dialogs of the switch's own SNMP agent against kms-sim. The switch starts with the agent
// enabled, engine ID 8000081c044653, every trap on but the fiber one; users kmssha (V3, WriteGroup,
// SHA), rdview (V1 and V2c, ReadGroup), wrview (V1 and V2c, WriteGroup), kmsshades (V3, WriteGroup,
// SHA/DES); groups ReadGroup (v1, v2c) and WriteGroup (v1, v2c, v3 AuthNoPriv and AuthPriv); views
// ReadView 1.3.6.1 and its excluded vendor subtree, WriteView 1.3.6.1 mask 01010101; communities
// rdcomm (rdview) and wrcomms (wrview); one host 192.168.0.100 V2c "trapcomm".

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <memory>

#include "dialogs/agent/snmp_community_table_dlg.h"
#include "dialogs/agent/snmp_engine_id_dlg.h"
#include "dialogs/agent/snmp_global_state_dlg.h"
#include "dialogs/agent/snmp_group_table_dlg.h"
#include "dialogs/agent/snmp_host_table_dlg.h"
#include "dialogs/agent/snmp_trap_config_dlg.h"
#include "dialogs/agent/snmp_user_table_dlg.h"
#include "dialogs/agent/snmp_view_table_dlg.h"
#include "dialogs/common/dialog_registry.h"
#include "dialogs/common/user_prompt.h"
#include "tests/gui/common/gui_test_support.h"

using kmsgui::Click;
using kmsgui::Find;

namespace {

constexpr const char* kAgent = "1.3.6.1.4.1.32473.10.75.13.25.";

QStringList Lines(QWidget& dlg) {
    QStringList lines;
    auto* list = Find<QTreeWidget>(dlg, "list");
    for (int i = 0; list && i < list->topLevelItemCount(); ++i) {
        QStringList texts;
        for (int c = 0; c < list->columnCount(); ++c) texts << list->topLevelItem(i)->text(c);
        lines << texts.join(QLatin1Char('|'));
    }
    return lines;
}

void Select(QWidget& dlg, const QString& line) {
    auto* list = Find<QTreeWidget>(dlg, "list");
    list->setCurrentItem(list->topLevelItem(static_cast<int>(Lines(dlg).indexOf(line))));
}

void Type(QWidget& dlg, const char* field, const QString& text) {
    Find<QLineEdit>(dlg, field)->setText(text);
}

void Choose(QWidget& dlg, const char* combo, const QString& text) {
    Find<QComboBox>(dlg, combo)->setCurrentText(text);
}

}  // namespace

class AgentDialogsTest : public QObject {
    Q_OBJECT
    kmstest::KmsSimFixture* m_sim = nullptr;
    std::unique_ptr<RecordingPrompt> m_prompt;

    template <class T>
    std::unique_ptr<T> Open() {
        auto dlg = std::make_unique<T>();
        if (!kmsgui::OpenAndWait(*dlg)) return nullptr;
        return dlg;
    }
    // Clicks the button and waits for the reads it started; the journal and the prompt start empty.
    void Press(CModuleDialog& dlg, const char* button) {
        m_sim->ClearJournal();
        m_prompt->Clear();
        Click(Find<QPushButton>(dlg, button));
        QVERIFY(kmsgui::WaitIdle(dlg));
    }
    // The journal with each secret replaced by a placeholder, so no failing comparison prints one.
    QStringList Journal(const QStringList& secrets = {}) const {
        QStringList lines;
        for (const std::string& line : m_sim->Journal()) {
            QString l = QString::fromStdString(line);
            for (const QString& s : secrets) l.replace(s, QStringLiteral("<secret>"));
            lines << l;
        }
        return lines;
    }
    QStringList Said() const { return m_prompt->texts; }
    // Adds `count` V1 users u00, u01... in one set request per eight, behind the dialogs' back.
    bool MakeUsers(int count) {
        for (int first = 0; first < count; first += 8) {
            std::vector<std::string> args{"snmpset", "-v2c", "-c", m_sim->WriteCommunity(),
                                          m_sim->Endpoint()};
            for (int n = first; n < std::min(count, first + 8); ++n) {
                const std::string index =
                    ".3.117." + std::to_string('0' + n / 10) + "." + std::to_string('0' + n % 10) + ".1";
                args.insert(args.end(), {kAgent + std::string("2.1.1.8") + index, "i", "4"});
                args.insert(args.end(), {kAgent + std::string("2.1.1.3") + index, "s", "ReadGroup"});
            }
            std::string out;
            if (m_sim->RunTool(args, &out) != 0) return false;
        }
        return true;
    }

private slots:
    void initTestCase() {
        QVERIFY(SnmpEngineInit());
        std::string error;
        m_sim = kmsgui::SharedSim(&error);
        QVERIFY2(m_sim, error.c_str());
    }
    void init() {
        QVERIFY(m_sim->Reset());
        kmsgui::UseSim(*m_sim);
        m_prompt = std::make_unique<RecordingPrompt>();
    }
    void cleanup() { m_prompt.reset(); }

    void eachMenuCommandOpensItsDialogWhichClosesItsFourSessions() {
        RegisterAgentDialogs();
        const std::pair<int, const char*> dialogs[] = {
            {32839, "SNMP Global State Settings"},
            {32845, "SNMP Engine ID"},
            {32846, "SNMP Trap Configuration"},
            {32841, "SNMP User Table "},
            {32842, "SNMP Group Table Info"},
            {32843, "SNMP View Table Configuration"},
            {32844, "SNMP Community Table Configuration"},
            {32840, "SNMP Host Table"},
        };
        const QStringList closing{"==================DestroyWindow===============",
                                  "==================m_cCommonSNMP.Close===============",
                                  "==================m_cCommonSNMPSet.Close===============",
                                  "==================m_cCommonSNMPTable.Close===============",
                                  "==================m_cCommonSNMPGetUse.Close==============="};
        for (const auto& [command, title] : dialogs) {
            DialogFactory factory = FindDialog(command);
            QVERIFY2(factory, title);
            std::unique_ptr<QDialog> dlg = factory(nullptr);
            auto* module = qobject_cast<CModuleDialog*>(dlg.get());
            QVERIFY(module);
            QCOMPARE(dlg->windowTitle(), QString::fromLatin1(title));
            QVERIFY(kmsgui::OpenAndWait(*module));
            QVERIFY(!kmsgui::Screenshot(*dlg, dlg->objectName()).isEmpty());
            kmsgui::DebugCapture debug;
            dlg->reject();
            QStringList lines;
            for (const std::string& l : debug.Lines())
                if (l.starts_with("=====")) lines << QString::fromStdString(l);
            QCOMPARE(lines, closing);
        }
        QCOMPARE(Said(), QStringList());
    }

    void globalStateShowsWhatTheSwitchHoldsAfterApply() {
        auto dlg = Open<CSnmpGlobalStateDlg>();
        QVERIFY(dlg);
        auto* enable = Find<QCheckBox>(*dlg, "enableSnmpGlobal");
        QVERIFY(enable->isChecked());
        enable->setChecked(false);
        Press(*dlg, "applyButton");
        QCOMPARE(Journal(), QStringList{".25.1.0=2"});
        QVERIFY(!enable->isChecked());
        QCOMPARE(m_sim->GetText(std::string(kAgent) + "1.0").value_or(""), std::string("2"));
        Press(*dlg, "cancelButton");
        QVERIFY(!dlg->isVisible());
    }

    void engineIdIsCheckedPaddedAndReadBack() {
        auto dlg = Open<CSnmpEngineIdDlg>();
        QVERIFY(dlg);
        auto* edit = Find<QLineEdit>(*dlg, "engineId");
        QCOMPARE(edit->text(), QStringLiteral("8000081c044653"));
        const std::pair<QString, QString> refused[] = {
            {"123456789", "ID length is 10-64"},
            {QString(65, QLatin1Char('1')), "ID length is 10-64"},
            {"12345678g0", "the accepted character is from 0 to F"},
        };
        for (const auto& [text, message] : refused) {
            edit->setText(text);
            Press(*dlg, "applyButton");
            QCOMPARE(Said(), QStringList{message});
            QCOMPARE(Journal(), QStringList());
        }
        const QString longest = QStringLiteral("01").repeated(32);
        const std::tuple<QString, QString, QString> accepted[] = {
            {"0102030405", ".25.7.0=0x0102030405", "0102030405"},
            {longest, ".25.7.0=0x" + longest, longest},
            {"1A2b3c4d5e6", ".25.7.0=0x01A2B3C4D5E6", "01a2b3c4d5e6"},
        };
        for (const auto& [text, line, shown] : accepted) {
            edit->setText(text);
            Press(*dlg, "applyButton");
            QCOMPARE(Said(), QStringList());
            QCOMPARE(Journal(), QStringList{line});
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
             {"trapAuthentication", "trapTwistedPairLink", "trapPoePower", "trapPowerBudget"}) {
            QVERIFY2(!Find<QCheckBox>(*dlg, box)->isHidden(), box);
            QVERIFY2(Find<QCheckBox>(*dlg, box)->isChecked(), box);
        }
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

    void usersAreWrittenColumnByColumnAndNoPasswordShows() {
        kmsgui::DebugCapture debug;
        auto dlg = Open<CSnmpUserTableDlg>();
        QVERIFY(dlg);
        QCOMPARE(Lines(*dlg),
                 (QStringList{"kmssha|WriteGroup|V3|SHA|None", "rdview|ReadGroup|V1|None|None",
                              "rdview|ReadGroup|V2c|None|None", "wrview|WriteGroup|V1|None|None",
                              "wrview|WriteGroup|V2c|None|None", "kmsshades|WriteGroup|V3|SHA|DES_CBC"}));
        auto enabled = [&] {
            QString e;
            for (const char* w :
                 {"encrypted", "authProtocol", "authPassword", "privProtocol", "privPassword"})
                e += dlg->findChild<QWidget*>(QLatin1String(w))->isEnabled() ? '1' : '0';
            return e;
        };
        QCOMPARE(enabled(), QStringLiteral("00000"));
        Choose(*dlg, "snmpVersion", "V3");
        QCOMPARE(enabled(), QStringLiteral("10000"));
        Find<QCheckBox>(*dlg, "encrypted")->setChecked(true);
        QCOMPARE(enabled(), QStringLiteral("11111"));
        Choose(*dlg, "privProtocol", "None");
        QCOMPARE(enabled(), QStringLiteral("11110"));

        // V1: only the group between the two row-status writes.
        Choose(*dlg, "snmpVersion", "V1");
        Type(*dlg, "userName", " bob ");
        Type(*dlg, "groupName", "ReadGroup");
        Press(*dlg, "applyButton");
        QCOMPARE(Journal(),
                 (QStringList{".25.2.1.1.8.3.98.111.98.1=5", ".25.2.1.1.3.3.98.111.98.1=\"ReadGroup\"",
                              ".25.2.1.1.8.3.98.111.98.1=1"}));
        QCOMPARE(Find<QLineEdit>(*dlg, "userName")->text(), QString());

        // The same name as V3 is another row: protocols, then passwords.
        const QStringList secrets{"auth-Secret-1", "priv-Secret-2"};
        Type(*dlg, "userName", "bob");
        Type(*dlg, "groupName", "WriteGroup");
        Choose(*dlg, "snmpVersion", "V3");
        Find<QCheckBox>(*dlg, "encrypted")->setChecked(true);
        Choose(*dlg, "authProtocol", "MD5");
        Type(*dlg, "authPassword", secrets[0]);
        Type(*dlg, "privPassword", secrets[1]);
        Press(*dlg, "applyButton");
        QCOMPARE(Said(), QStringList());
        QCOMPARE(Journal(secrets),
                 (QStringList{".25.2.1.1.8.3.98.111.98.3=5", ".25.2.1.1.3.3.98.111.98.3=\"WriteGroup\"",
                              ".25.2.1.1.4.3.98.111.98.3=2; .25.2.1.1.6.3.98.111.98.3=2",
                              ".25.2.1.1.5.3.98.111.98.3=\"<secret>\"; "
                              ".25.2.1.1.7.3.98.111.98.3=\"<secret>\"",
                              ".25.2.1.1.8.3.98.111.98.3=1"}));
        QVERIFY(Lines(*dlg).contains("bob|ReadGroup|V1|None|None"));
        QVERIFY(Lines(*dlg).contains("bob|WriteGroup|V3|MD5|DES_CBC"));

        // A V3 user without encryption sends its protocol as an empty number and an empty password.
        Type(*dlg, "userName", "nia");
        Type(*dlg, "groupName", "ReadGroup");
        Choose(*dlg, "snmpVersion", "V3");
        Press(*dlg, "applyButton");
        QCOMPARE(Journal(),
                 (QStringList{".25.2.1.1.8.3.110.105.97.3=5", ".25.2.1.1.3.3.110.105.97.3=\"ReadGroup\"",
                              ".25.2.1.1.4.3.110.105.97.3=0", ".25.2.1.1.5.3.110.105.97.3=\"\"",
                              ".25.2.1.1.8.3.110.105.97.3=1"}));
        QVERIFY(Lines(*dlg).contains("nia|ReadGroup|V3|None|None"));

        // A name beyond ASCII: its UTF-8 bytes in the index and the value, the same text listed.
        Type(*dlg, "userName", QStringLiteral("j\u00fcrgen"));
        Type(*dlg, "groupName", "ReadGroup");
        Choose(*dlg, "snmpVersion", "V2c");
        Press(*dlg, "applyButton");
        QCOMPARE(Journal().value(0), QStringLiteral(".25.2.1.1.8.7.106.195.188.114.103.101.110.2=5"));
        QVERIFY(Lines(*dlg).contains(QStringLiteral("j\u00fcrgen|ReadGroup|V2c|None|None")));

        // Password lengths: 32 for MD5, 40 for SHA; a refusal sends nothing and selects the password.
        const std::tuple<const char*, const char*, int, const char*> lengths[] = {
            {"m32", "MD5", 32, ""},
            {"m33", "MD5", 33, " MD5 Max. Password length is 32."},
            {"s40", "SHA", 40, ""},
            {"s41", "SHA", 41, " SHA Max. Password length is 40."}};
        for (const auto& [name, protocol, length, message] : lengths) {
            const QString password(length, QLatin1Char(name[0]));
            Type(*dlg, "userName", name);
            Type(*dlg, "groupName", "ReadGroup");
            Choose(*dlg, "snmpVersion", "V3");
            Find<QCheckBox>(*dlg, "encrypted")->setChecked(true);
            Choose(*dlg, "authProtocol", protocol);
            Choose(*dlg, "privProtocol", "None");
            Type(*dlg, "authPassword", password);
            Press(*dlg, "applyButton");
            QCOMPARE(Said(), *message ? QStringList{message} : QStringList());
            QCOMPARE(Journal({password}).size(), *message ? 0 : 5);
            if (*message) QVERIFY(Find<QLineEdit>(*dlg, "authPassword")->selectedText() == password);
            Press(*dlg, "cancelButton");
        }

        Type(*dlg, "userName", "bob");
        Type(*dlg, "groupName", "ReadGroup");
        Press(*dlg, "applyButton");
        QCOMPARE(Said(), QStringList{"This User Entry already exists."});
        QCOMPARE(Journal(), QStringList());

        Find<QTreeWidget>(*dlg, "list")->clearSelection();
        Press(*dlg, "deleteButton");
        QCOMPARE(Said(), QStringList{"Please select the item would be delete!\n"});
        Select(*dlg, "bob|ReadGroup|V1|None|None");
        Press(*dlg, "deleteButton");
        QCOMPARE(Journal(), QStringList{".25.2.1.1.8.3.98.111.98.1=6"});
        QVERIFY(!Lines(*dlg).contains("bob|ReadGroup|V1|None|None"));

        bool clean = true;
        for (const std::string& line : debug.Lines())
            for (const QString& s : secrets) clean = clean && line.find(s.toStdString()) == std::string::npos;
        QVERIFY(clean);
    }

    void theFiftiethUserIsTheLast() {
        QVERIFY(MakeUsers(43));
        auto dlg = Open<CSnmpUserTableDlg>();
        QVERIFY(dlg);
        QCOMPARE(Lines(*dlg).size(), 49);
        for (const char* name : {"u50", "u51"}) {
            Type(*dlg, "userName", name);
            Type(*dlg, "groupName", "ReadGroup");
            Press(*dlg, "applyButton");
        }
        QCOMPARE(Lines(*dlg).size(), 50);
        QCOMPARE(Said(), QStringList{"Maximum number of User Entry is 50."});
        QCOMPARE(Journal(), QStringList());
    }

    void groupsWriteOnlyTheViewsTheyName() {
        auto dlg = Open<CSnmpGroupTableDlg>();
        QVERIFY(dlg);
        QCOMPARE(Lines(*dlg), (QStringList{"ReadGroup|ReadView||ReadView|v1|NoAuthNoPriv",
                                           "ReadGroup|ReadView||ReadView|v2c|NoAuthNoPriv",
                                           "WriteGroup|WriteView|WriteView|WriteView|v1|NoAuthNoPriv",
                                           "WriteGroup|WriteView|WriteView|WriteView|v2c|NoAuthNoPriv",
                                           "WriteGroup|WriteView|WriteView|WriteView|v3|AuthNoPriv",
                                           "WriteGroup|WriteView|WriteView|WriteView|v3|AuthPriv"}));
        auto* level = Find<QComboBox>(*dlg, "securityLevel");
        QVERIFY(!level->isEnabled());
        Choose(*dlg, "securityModel", "v3");
        QVERIFY(level->isEnabled());

        Type(*dlg, "groupName", "ops");
        Type(*dlg, "readView", "ReadView");
        Choose(*dlg, "securityLevel", "AuthPriv");
        Press(*dlg, "applyButton");
        QCOMPARE(Journal(),
                 (QStringList{".25.3.1.1.7.3.111.112.115.3.3=5", ".25.3.1.1.4.3.111.112.115.3.3=\"ReadView\"",
                              ".25.3.1.1.7.3.111.112.115.3.3=1"}));
        QVERIFY(Lines(*dlg).contains("ops|ReadView|||v3|AuthPriv"));
        QVERIFY(!level->isEnabled());

        Type(*dlg, "groupName", "nov");
        Choose(*dlg, "securityModel", "v2c");
        Press(*dlg, "applyButton");
        QCOMPARE(Journal(),
                 (QStringList{".25.3.1.1.7.3.110.111.118.2.1=5", ".25.3.1.1.7.3.110.111.118.2.1=1"}));

        const std::pair<const char*, const char*> refused[] = {{" ", "Please enter valid group name!"},
                                                               {"a.b", "Invalid Group Name."},
                                                               {"nov", "This Group Entry already exists."}};
        for (const auto& [name, message] : refused) {
            Type(*dlg, "groupName", name);
            Choose(*dlg, "securityModel", "v2c");
            Press(*dlg, "applyButton");
            QCOMPARE(Said(), QStringList{message});
            QCOMPARE(Journal(), QStringList());
        }
        Select(*dlg, "ops|ReadView|||v3|AuthPriv");
        Press(*dlg, "deleteButton");
        QCOMPARE(Journal(), QStringList{".25.3.1.1.7.3.111.112.115.3.3=6"});
    }

    void viewsCheckSubtreeAndMaskAndListTheSubtreeOfTheIndex() {
        auto dlg = Open<CSnmpViewTableDlg>();
        QVERIFY(dlg);
        QCOMPARE(Lines(*dlg), (QStringList{"ReadView|1.3.6.1||Included",
                                           "ReadView|1.3.6.1.4.1.32473.10.75.13.25||Excluded",
                                           "WriteView|1.3.6.1|1.1.1.1|Included"}));
        const std::tuple<const char*, const char*, const char*, const char*> refused[] = {
            {"", "1.3", "1", "Please enter valid view name."},
            {"lab", ".1.3", "1", "Please enter valid subtree OID ."},
            {"lab", "1..3", "1", "Please enter valid subtree OID ."},
            {"lab", "1.3.", "1", "Please enter valid subtree OID ."},
            {"lab", "1.3.a", "1", "Please enter valid subtree OID"},
            {"lab", "1.3.6.1", "1.2", "Please enter valid OID Mask."},
            {"lab", "1.3.6.1", "1.1.1.1.1", "Invalid  OID length"},
            {"ReadView", "1.3.6.1", "1", "This View Entry already exist."},
        };
        for (const auto& [name, subtree, mask, message] : refused) {
            Type(*dlg, "viewName", name);
            Type(*dlg, "subtreeOid", subtree);
            Type(*dlg, "oidMask", mask);
            Press(*dlg, "applyButton");
            QCOMPARE(Said(), QStringList{message});
            QCOMPARE(Journal(), QStringList());
        }
        Type(*dlg, "subtreeOid", "1.3.6.1");
        Type(*dlg, "viewName", "lab");
        Type(*dlg, "oidMask", "1.1.0");
        Choose(*dlg, "viewType", "Excluded");
        Press(*dlg, "applyButton");
        const QString index = QStringLiteral(".3.108.97.98.4.1.3.6.1");
        QCOMPARE(Journal(), (QStringList{".25.4.1.1.5" + index + "=5",
                                         ".25.4.1.1.3" + index + "=0x010100; .25.4.1.1.4" + index + "=2",
                                         ".25.4.1.1.5" + index + "=1"}));
        QVERIFY(Lines(*dlg).contains("lab|1.3.6.1|1.1.0|Excluded"));

        Type(*dlg, "viewName", "lab");
        Type(*dlg, "subtreeOid", "1.3.6.1.2");
        Type(*dlg, "oidMask", "1.1");  // shorter than the subtree
        Press(*dlg, "applyButton");
        QCOMPARE(Said(), QStringList());
        QVERIFY(Lines(*dlg).contains("lab|1.3.6.1.2|1.1|Included"));

        Select(*dlg, "lab|1.3.6.1|1.1.0|Excluded");
        Press(*dlg, "deleteButton");
        QCOMPARE(Journal(), QStringList{".25.4.1.1.5" + index + "=6"});
    }

    void communitiesTakeAnActiveV1OrV2cUser() {
        auto dlg = Open<CSnmpCommunityTableDlg>();
        QVERIFY(dlg);
        QCOMPARE(Lines(*dlg), (QStringList{"rdcomm|rdview", "wrcomms|wrview"}));
        auto* users = Find<QComboBox>(*dlg, "userName");
        QCOMPARE(users->count(), 2);  // each V1/V2c user once, the V3 users not at all
        QCOMPARE(users->itemText(0) + "," + users->itemText(1), QStringLiteral("rdview,wrview"));

        for (const auto& [name, message] : {std::pair{"a,b", "Invalid Community Name."},
                                            std::pair{"rdcomm", "This Community Entry already exists."}}) {
            Type(*dlg, "communityName", name);
            Press(*dlg, "applyButton");
            QCOMPARE(Said(), QStringList{message});
            QCOMPARE(Journal(), QStringList());
        }
        Type(*dlg, "communityName", "lab");
        Choose(*dlg, "userName", "wrview");
        Press(*dlg, "applyButton");
        QCOMPARE(Journal(), (QStringList{".25.5.1.1.3.3.108.97.98=5", ".25.5.1.1.2.3.108.97.98=\"wrview\"",
                                         ".25.5.1.1.3.3.108.97.98=1"}));
        QCOMPARE(Lines(*dlg), (QStringList{"lab|wrview", "rdcomm|rdview", "wrcomms|wrview"}));

        // The user went away since the list was read: the switch refuses, the half-made row goes again.
        for (const char* version : {"1", "2"})
            QVERIFY(
                m_sim->Set(std::string(kAgent) + "2.1.1.8.6.114.100.118.105.101.119." + version, 'i', "6"));
        Type(*dlg, "communityName", "lab2");
        Choose(*dlg, "userName", "rdview");
        Press(*dlg, "applyButton");
        QCOMPARE(Said(), QStringList{"The switch refused the settings of the community entry. The entry was "
                                     "removed again."});
        QCOMPARE(Journal(), (QStringList{".25.5.1.1.3.4.108.97.98.50=5",
                                         ".25.5.1.1.2.4.108.97.98.50=\"rdview\" => error 12 (binding 1)",
                                         ".25.5.1.1.3.4.108.97.98.50=6"}));
        QCOMPARE(Find<QLineEdit>(*dlg, "communityName")->text(), QStringLiteral("lab2"));
        QCOMPARE(users->count(), 1);

        Select(*dlg, "lab|wrview");
        Press(*dlg, "deleteButton");
        QCOMPARE(Journal(), QStringList{".25.5.1.1.3.3.108.97.98=6"});
    }

    void hostsCheckTheAddressAndShowTheirVersion() {
        auto dlg = Open<CSnmpHostTableDlg>();
        QVERIFY(dlg);
        QCOMPARE(Lines(*dlg), QStringList{"192.168.0.100|V2c|trapcomm"});
        const std::pair<const char*, const char*> refused[] = {
            {"10.0.0.0", "Invalid Host IP."},
            {"10.255.255.255", "Invalid Host IP."},
            {"127.0.0.1", "Invalid Host IP."},
            {"172.16.0.0", "Invalid Host IP."},
            {"192.168.1.255", "Invalid Host IP."},
            {"224.0.0.1", "Invalid Host IP."},
            {"10.0..1", "Invalid Host IP."},
            {"192.168.0.100", "This IP Address has used,please enter other IP Address"},
            {"10.0.0.1", "The Community String or SNMPv3 User Name can not be empty."},
        };
        for (const auto& [address, message] : refused) {
            Type(*dlg, "hostAddress", address);
            Press(*dlg, "applyButton");
            QCOMPARE(Said(), QStringList{message});
            QCOMPARE(Journal(), QStringList());
        }
        const std::pair<const char*, const char*> hosts[] = {{"10.0.0.1", "V1"},
                                                             {"172.16.255.1", "V2c"},
                                                             {"10.0.0.3", "V3-NoAuthNoPriv"},
                                                             {"10.0.0.4", "V3-AuthNoPriv"},
                                                             {"10.0.0.5", "V3-AuthPriv"}};
        for (const auto& [address, version] : hosts) {
            Type(*dlg, "hostAddress", address);
            Choose(*dlg, "snmpVersion", version);
            Type(*dlg, "hostName", "pub");
            Press(*dlg, "applyButton");
            QCOMPARE(Said(), QStringList());
        }
        QCOMPARE(Journal(), (QStringList{".25.6.1.1.4.10.0.0.5=5",
                                         ".25.6.1.1.2.10.0.0.5=\"pub\"; .25.6.1.1.3.10.0.0.5=5",
                                         ".25.6.1.1.4.10.0.0.5=1"}));
        QCOMPARE(Lines(*dlg), (QStringList{"10.0.0.1|V1|pub", "10.0.0.3|V3-NoAuthNoPriv|pub",
                                           "10.0.0.4|V3-AuthNoPriv|pub", "10.0.0.5|V3-AuthPriv|pub",
                                           "172.16.255.1|V2c|pub", "192.168.0.100|V2c|trapcomm"}));
        Find<QTreeWidget>(*dlg, "list")->clearSelection();
        Press(*dlg, "deleteButton");
        QCOMPARE(Said(), QStringList{"Please Selecte the Item you would delete"});
        Select(*dlg, "10.0.0.1|V1|pub");
        Press(*dlg, "deleteButton");
        QCOMPARE(Journal(), QStringList{".25.6.1.1.4.10.0.0.1=6"});
        QCOMPARE(Lines(*dlg).size(), 5);
    }
};

QTEST_MAIN(AgentDialogsTest)
#include "agent_dialogs_test.moc"
