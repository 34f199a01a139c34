// Firmware and configuration transfer, and the syslog host, against kms-sim. The transfer's periods
// run at a fiftieth of their length (kms-sim's transfer phases are shortened to match); writes are read
// from kms-sim's journal, texts are the user's messages written out.

#include <QProgressBar>
#include <QSignalSpy>

#include "dialogs/common/ip_address_edit.h"
#include "dialogs/switch/firmware_dlg.h"
#include "dialogs/switch/syslog_dlg.h"
#include "sim/control_oids.h"
#include "tests/gui/common/gui_test_support.h"

using namespace kmsgui;

constexpr double kScale = 0.02;
const QString kUpgradeQuestion =
    "The connection will be disconnected.\nPlease do not apply other changes when uploading.\nReconnect to "
    "the device later when uploading completes.";

struct Transfer {
    const char *fileType, *operation, *server;
};

class TransferSyslogTest : public SimTest {
    Q_OBJECT

    // A transfer dialog, shown (it reads nothing when it opens); the user's texts so far are forgotten.
    std::unique_ptr<CFirmwareDlg> Show() {
        m_prompt->Clear();
        auto dlg = std::make_unique<CFirmwareDlg>();
        dlg->SetTimeScale(kScale);
        dlg->setWindowModality(Qt::NonModal);
        dlg->show();
        return dlg;
    }
    void Fill(CFirmwareDlg& dlg, const Transfer& t, const QString& file = "image.bin") {
        Find<CIpAddressEdit>(dlg, "tftpServer")->setText(t.server);
        SetText(dlg, "fileName", file);
        Choose(dlg, "fileType", t.fileType);
        Choose(dlg, "operationType", t.operation);
    }
    // Starts a transfer and waits for its end (Apply back); false when it did not end.
    bool RunTransfer(CFirmwareDlg& dlg, const Transfer& t) {
        Fill(dlg, t, " image.bin  ");  // the blanks around it are not sent
        Click(Find<QPushButton>(dlg, "applyButton"));
        return QTest::qWaitFor([&] { return Find<QPushButton>(dlg, "applyButton")->isEnabled(); }, 15000);
    }

private slots:
    void init() {
        SimTest::init();
        // Started for 100 ms, in progress for no whole second: a transfer takes a few polls.
        QVERIFY(m_sim->Set(kmssim::ctl::kTftpStartedMs, 'i', "100") && m_sim->SetTftpBusySeconds(0));
    }

    void transfersEndWithTheirMessagesAndGiveTheControlsBack() {
        // The transfer; what the user is told, what is written.
        const std::tuple<Transfer, QStringList, Lines> cases[] = {
            {{"Firmware", "Upgrade", "10.0.0.5"},
             {kUpgradeQuestion, "Success !"},
             {".3.1.0=a10.0.0.5; .3.2.0=\"image.bin\"", ".3.3.0=1"}},
            {{"Configuration", "Backup", "10.0.0.5"},
             {"Success !"},
             {".3.5.0=a10.0.0.5; .3.6.0=\"image.bin\"", ".3.7.0=2"}},
            // Servers in 192.0.2.0/24 cannot be reached.
            {{"Configuration", "Backup", "192.0.2.7"},
             {"Config Restore Fail !"},
             {".3.5.0=a192.0.2.7; .3.6.0=\"image.bin\"", ".3.7.0=2"}},
        };
        for (const auto& [t, texts, journal] : cases) {
            QVERIFY(m_sim->Set(kmssim::ctl::kTftpStartedCode, 'i',
                               t.server[0] == '1' && t.server[1] == '0' ? "3" : "4"));
            auto dlg = Show();
            m_sim->ClearJournal();
            QVERIFY(RunTransfer(*dlg, t));
            QCOMPARE(Said(), texts);
            QCOMPARE(Journal(), journal);
            QCOMPARE(Find<QProgressBar>(*dlg, "progress")->value() == 99, texts.last() == "Success !");
            QCOMPARE(Enabled(*dlg, {"tftpServer", "fileName", "operationType", "fileType", "applyButton"}),
                     QStringLiteral("11111"));
        }
    }

    void aStatusThatFallsSilentEndsWithTheOverallTimeOut() {
        const QString timeOut = "Time out! Please check TFTP Server IP and network.";
        // The status falls silent after the switch reported the start, or (configuration, which counts
        // as started at once) answers no poll at all.
        for (const auto& [type, silentFromStart] :
             {std::pair{"Firmware", false}, std::pair{"Configuration", false},
              std::pair{"Configuration", true}}) {
            QVERIFY(m_sim->Reset());
            QVERIFY(m_sim->Set(kmssim::ctl::kTftpStartedMs, 'i', "60000"));  // "started" for a minute
            if (silentFromStart) QVERIFY(m_sim->Set(kmssim::ctl::kTftpStatusSilent, 'i', "1"));
            auto dlg = Show();
            Fill(*dlg, {type, "Backup", "10.0.0.5"});
            QVERIFY(m_sim->ClearCounters());
            Click(Find<QPushButton>(*dlg, "applyButton"));
            QVERIFY(Find<QPushButton>(*dlg, "closeButton")->isEnabled());  // the user may always leave
            // The first status poll is answered "started" (the switch answers in order), then the status
            // falls silent: whenever the poll came, however slow the machine.
            QVERIFY(
                QTest::qWaitFor([&] { return m_sim->RequestCount(kmstest::RequestKind::Get) >= 1; }, 5000));
            QVERIFY(m_sim->Set(kmssim::ctl::kTftpStatusSilent, 'i', "1"));
            QVERIFY(m_sim->ClearCounters());
            QVERIFY(
                QTest::qWaitFor([&] { return Find<QPushButton>(*dlg, "applyButton")->isEnabled(); }, 15000));
            QCOMPARE(Said(),
                     QStringList{type[0] == 'F' ? timeOut
                                                : timeOut + "\n You may close the current device Kestrum "
                                                            "Module and implement 'Device Discovery'to "
                                                            "restart it"});
            QVERIFY(m_sim->RequestCount(kmstest::RequestKind::Get) >= 2);  // a timed-out poll was repeated
        }
    }

    void theMachineEndsEveryPathWithOneMessage() {
        // Answers the machine's requests as a switch would: file set, operation set, then each status
        // poll in turn (-1 standing for no answer in time).
        using Kind = CTransferMachine::Kind;
        const std::vector<std::pair<int, std::string>> silent(4, {-1, ""});
        struct Case {
            Kind kind;
            int fileSet, operationSet;
            std::vector<std::pair<int, std::string>> polls;
            QString message;
            int pollsAsked;
        } cases[] = {{Kind::Firmware, 0, 0, {{0, "1"}}, "Firmware Upgrade Fail !", 1},
                     {Kind::Firmware, -1, 0, {}, "Setting file name TimeOut !", 0},
                     {Kind::Firmware, 0, -1, {}, "Setting operation TimeOut !", 0},
                     // Not started and silent: asked again three times, then given up.
                     {Kind::Firmware, 0, 0, silent, "Get Firmware BackUp/Upgrade status Time Out !", 4},
                     {Kind::Configuration, 0, 0, {{-1, ""}, {0, "2"}, {-2, ""}}, "Get Info Fail !", 3},
                     {Kind::Configuration, 0, 0, {{0, "4"}, {0, "7"}}, "Get Info Fail !", 2}};
        for (const Case& c : cases) {
            CTransferMachine m;
            // Scaled so that the overall time-out stays far behind the polls on a loaded machine.
            m.SetTimeScale(0.01);
            std::size_t asked = 0;
            QStringList messages;
            connect(&m, &CTransferMachine::SendFileSet, this, [&] { m.FileSetDone(c.fileSet); });
            connect(&m, &CTransferMachine::SendOperationSet, this,
                    [&] { m.OperationSetDone(c.operationSet); });
            connect(&m, &CTransferMachine::SendStatusGet, this, [&] {
                const auto answer =
                    asked < c.polls.size() ? c.polls[asked] : std::make_pair(0, std::string("2"));
                ++asked;
                m.StatusAnswer(answer.first, answer.second);
            });
            connect(&m, &CTransferMachine::Finished, this, [&](const QString& text) { messages << text; });
            QSignalSpy enabled(&m, &CTransferMachine::ControlsEnabled);
            m.Start(c.kind);
            QVERIFY(QTest::qWaitFor([&] { return enabled.count() == 2; }, 5000));
            QTest::qWait(50);
            QCOMPARE(messages, QStringList{c.message});
            QCOMPARE(int(asked), c.pollsAsked);
        }
    }

    void refusalsSendNothing() {
        auto dlg = Show();
        m_prompt->answers = {false};  // Cancel at the Upgrade question
        Fill(*dlg, {"Firmware", "Upgrade", "10.0.0.5"});
        Click(Find<QPushButton>(*dlg, "applyButton"));
        for (const char* server : {"0.0.0.0", "10.0.0", "255.1.1.1", "10.1.1.0", "10.1.1.255"}) {
            Fill(*dlg, {"Configuration", "Backup", server});
            Click(Find<QPushButton>(*dlg, "applyButton"));
        }
        for (const char* blank : {"", "   "}) {
            Fill(*dlg, {"Configuration", "Backup", "10.0.0.5"}, blank);
            Click(Find<QPushButton>(*dlg, "applyButton"));
        }
        QCOMPARE(Said(), QStringList{kUpgradeQuestion} + QStringList(5, "Invalid TFTP server IP.") +
                             QStringList(2, "Invalid file."));
        QCOMPARE(Journal(), Lines{});
        // A refused keystroke in the address says why.
        Type(*dlg, "tftpServer", "256");
        QCOMPARE(Find<QLineEdit>(*dlg, "tftpServer")->text(), QStringLiteral("25"));
        QCOMPARE(Find<QLineEdit>(*dlg, "tftpServer")->toolTip(),
                 QStringLiteral("Each field of an IP address is a number from 0 to 255."));
        // A 65-character name is cut to 64, with the message.
        m_prompt->Clear();
        auto* file = Find<QLineEdit>(*dlg, "fileName");
        file->setText(QString(64, 'f'));
        file->setFocus();
        file->end(false);
        QTest::keyClick(file, Qt::Key_G);
        QCOMPARE(file->text(), QString(64, 'f'));
        QCOMPARE(Said(), QStringList{"The maximum length of file name is 64!"});
    }

    void closingMidTransferLeavesNoMessageBehind() {
        QVERIFY(m_sim->Set(kmssim::ctl::kTftpStartedMs, 'i', "60000"));
        auto dlg = Show();
        Fill(*dlg, {"Firmware", "Backup", "10.0.0.5"});
        Click(Find<QPushButton>(*dlg, "applyButton"));
        QVERIFY(QTest::qWaitFor([&] { return Find<QProgressBar>(*dlg, "progress")->value() >= 4; }, 5000));
        QVERIFY(!Find<QPushButton>(*dlg, "applyButton")->isEnabled());
        m_prompt->Clear();
        dlg->reject();  // the window's close box works during a transfer
        dlg.reset();
        QTest::qWait(4000);  // past the overall time-out of the scaled firmware transfer
        QCOMPARE(Said(), QStringList{});
    }

    void syslogShowsAndWritesTheHost() {
        m_sim->Set("1.3.6.1.4.1.32473.10.75.13.16.1.5.0", 'i', "184");
        CSyslogDlg dlg;
        QVERIFY(OpenAndWait(dlg));
        m_sim->ClearJournal();
        QCOMPARE(Texts(dlg, {"facility", "severity", "hostIp"}),
                 (QStringList{"local7", "info", "192.168.0.100"}));
        QVERIFY(!Find<QCheckBox>(dlg, "syslogEnable")->isChecked());
        QVERIFY(!Find<QLineEdit>(dlg, "udpPort")->isEnabled());
        Find<QCheckBox>(dlg, "syslogEnable")->click();
        QVERIFY(Find<QLineEdit>(dlg, "udpPort")->isEnabled());
        auto* host = Find<CIpAddressEdit>(dlg, "hostIp");
        auto* port = Find<QLineEdit>(dlg, "udpPort");
        for (auto [h, p] : std::vector<std::pair<QString, QString>>{
                 {"10.0.0.255", "514"}, {"0.1.1.1", "514"}, {"10.0.0.9", "0"}, {"10.0.0.9", "65536"}}) {
            host->setText(h);
            port->setText(p);
            Click(Find<QPushButton>(dlg, "applyButton"));
        }
        QCOMPARE(Said(),
                 (QStringList{"Syslog Server IP Error.", "Syslog Server IP Error.",
                              "Invalid UDP port range (1-65535)", "Invalid UDP port range (1-65535)"}));
        port->setText("123456");  // a sixth digit does not fit
        QCOMPARE(port->text(), QStringLiteral("12345"));
        QCOMPARE(Journal(), Lines{});
        host->setText("10.0.0.9");
        port->setText("5514");
        Find<QComboBox>(dlg, "facility")->setCurrentText("local3");
        Find<QComboBox>(dlg, "severity")->setCurrentText("all");
        Press(dlg, "applyButton");
        QCOMPARE(Journal(),
                 (Lines{".16.1.1.0=a10.0.0.9; .16.1.2.0=5514; .16.1.4.0=7; .16.1.5.0=152", ".16.1.6.0=1"}));
        // With the box cleared only the state goes out; the server settings stay on the switch.
        m_sim->ClearJournal();
        Find<QCheckBox>(dlg, "syslogEnable")->click();
        Press(dlg, "applyButton");
        QCOMPARE(Journal(), Lines{".16.1.6.0=2"});
        QCOMPARE(Find<QLineEdit>(dlg, "udpPort")->text(), QStringLiteral("5514"));  // read again
        QCOMPARE(SyslogFacilityIndex(130), 0);  // no facility code of the list: the first
        QCOMPARE(SyslogFacilityIndex(0), 0);
    }
};

QTEST_MAIN(TransferSyslogTest)
#include "transfer_syslog_test.moc"
