// Start-up's user-facing stops: what the user sees when the console passes nothing, and the instance name
// (one instance per device: the hand-over itself is tested on the module's process).
#include <QApplication>
#include <QtTest>

#include "app/module_app.h"
#include "core/module_settings.h"
#include "dialogs/common/user_prompt.h"

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void emptyCommandLineShowsTheMessageAndEnds() {
        RecordingPrompt prompt;
        QCOMPARE(CModuleApp::Start({}), 1);
        QCOMPARE(prompt.texts, QStringList{"No parameter input !"});
        QCOMPARE(Settings().DeviceAddress, std::string());
    }

    // The SNMP port tells devices behind one address apart; 161 keeps the name a running console knows.
    void instanceNameHoldsTheSnmpPortUnless161() {
        ModuleSettings s;
        s.DeviceName = "KMS-7300-08E";
        s.DeviceAddress = "10.0.0.1";
        const std::pair<const char*, const char*> cases[] = {{"161", "Module:KMS-7300-08E10.0.0.1"},
                                                             {"", "Module:KMS-7300-08E10.0.0.1"},
                                                             {"16100", "Module:KMS-7300-08E10.0.0.1:16100"},
                                                             {"1610", "Module:KMS-7300-08E10.0.0.1:1610"}};
        for (const auto& [port, name] : cases) {
            s.SnmpPort = port;
            QCOMPARE(CModuleApp::DeviceInstanceName(s), std::string(name));
        }
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
