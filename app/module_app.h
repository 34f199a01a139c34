#pragma once
// CModuleApp: start-up of the module. Turns the console's command line (and the secrets handed over on
// standard input) into ModuleSettings, keeps one instance per device (a second start brings the first
// instance's window to the front and exits), and runs the main panel window until it closes.

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QWidget;
class QLocalServer;
struct ModuleSettings;
class QLockFile;

class CModuleApp {
public:
    // The whole life of the process; returns the exit code.
    static int Run(int argc, char** argv);
    // Start-up after the application object exists: args are the program's arguments without its name;
    // the secrets of `credentialBlock` (see core/credentials.h), when given, replace the line's.
    // Returns the exit code; runs the event loop only when this process owns the device.
    static int Start(const std::vector<std::string>& args, const std::string* credentialBlock = nullptr);

    // Overwrites the arguments' text from offset `keep` of their blank-joined form on, so that the
    // process list (/proc/PID/cmdline) no longer shows the communities and passwords.
    static void ScrubArguments(char** argv, int count, std::size_t keep);

    // The single-instance name of the device: InstanceName, and ":" + port when SNMP goes to a port other
    // than 161 (devices behind one address are told apart by their ports; 161 keeps the name that a
    // running instance of an earlier version uses).
    static std::string DeviceInstanceName(const ModuleSettings& settings);

    // Builds the main window once start-up has passed; replaced by the main panel window.
    using WindowFactory = std::function<std::unique_ptr<QWidget>()>;
    static void SetWindowFactory(WindowFactory factory);
};

// One instance per device: a lock file beside a local socket, both named from InstanceName. A crashed
// first instance leaves a stale lock that the next start takes over.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& instanceName, QObject* parent = nullptr);
    ~SingleInstance() override;
    // True when this process is the first for the name; false when another runs (it has been asked to
    // come to the front; HandedOver() says whether it took the request).
    bool Claim();
    bool HandedOver() const { return m_handedOver; }
    static QString KeyFor(const QString& instanceName);

signals:
    void Activated();

private:
    QString m_key;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
    bool m_handedOver = false;
};

// Brings a window to the front: shown normally, raised, activated.
void BringToFront(QWidget* window);
