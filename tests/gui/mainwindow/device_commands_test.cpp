// Device commands without a device: the browser lookup text, what Telnet and Web start after each answer
// to their confirmations, and what the user hears when the desktop cannot start Telnet.
#include "app/device_commands.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "dialogs/common/user_prompt.h"

namespace {

TEST(BrowserPath, RegistryTexts) {
    // The registry's text, the path taken from it.
    const std::pair<const char*, const char*> cases[] = {
        {"\"C:\\Program Files\\Internet Explorer\\iexplore.exe\" %1",
         "C:\\Program Files\\Internet Explorer\\iexplore.exe"},
        {"C:\\PROGRA~1\\MOZILL~1\\FIREFOX.EXE -url \"%1\"", "C:\\PROGRA~1\\MOZILL~1\\FIREFOX.EXE"},
        {"D:\\b.exe", "D:\\b.exe"},
        // Lower case is tried first, the upper-case extension only when it fails.
        {"\"C:\\x\\A.EXE\" C:\\y\\b.exe", "C:\\x\\A.EXE\" C:\\y\\b.exe"},
        // No drive letter: no path.
        {"iexplore.exe %1", ""},
        {"\\\\server\\share\\browser.exe", ""},
        {":\\browser.exe", ""},
        {"C:\\browser", ""},
        {"", ""},
        // An extension ahead of the drive would cut a broken path.
        {"run.exe C:\\", ""},
    };
    for (const auto& [text, path] : cases) EXPECT_EQ(BrowserPathFromRegistryText(text), path) << text;
}

struct RecordingLauncher : DeviceLauncher {
    RecordingLauncher() { DeviceLauncher::Install(this); }
    ~RecordingLauncher() override { DeviceLauncher::Install(nullptr); }
    std::string StartTelnet(const std::string& address) override {
        telnet.push_back(address);
        return {};
    }
    bool OpenUrl(const std::string& url) override {
        urls.push_back(url);
        return urlResult;
    }
    std::vector<std::string> telnet, urls;
    bool urlResult = true;
};

TEST(DeviceCommands, TelnetAndWebFollowTheAnswer) {
    RecordingPrompt prompt;
    RecordingLauncher launcher;

    prompt.answers = {false, true, true, false, true, true};
    TelnetToDevice(nullptr, "192.168.1.5");  // cancelled
    TelnetToDevice(nullptr, "192.168.1.5");
    TelnetToDevice(nullptr, "");
    BrowseDevice(nullptr, "192.168.1.5");  // cancelled
    BrowseDevice(nullptr, "192.168.1.5");
    // Then no URL handler on the desktop: the browser could not be found.
    launcher.urlResult = false;
    BrowseDevice(nullptr, "192.168.1.5");
    EXPECT_EQ(std::pair(launcher.telnet, launcher.urls),
              std::pair(std::vector<std::string>{"192.168.1.5", ""},
                        std::vector<std::string>(2, "http://192.168.1.5")));
    const QString browse = "Do you want to access this device with browser?";
    EXPECT_EQ(prompt.texts, (QStringList(3, "Do you want to TELNET this device?") +
                             QStringList{browse, browse, browse, "Failed to get IE path !"}));
}

// The desktop's own launcher, on a PATH that holds only what each case installs.
TEST(DeviceCommands, TelnetSaysWhatIsMissing) {
    const QString noTerminal =
        "Cannot open Telnet: no terminal emulator is installed (x-terminal-emulator was not found).";
    // The tools installed, what the user is told.
    const std::pair<QStringList, QString> cases[] = {
        {{}, noTerminal},
        {{"x-terminal-emulator"}, "Cannot open Telnet: the telnet client is not installed."},
        {{"telnet"}, noTerminal}};
    const QByteArray path = qgetenv("PATH");
    for (const auto& [installed, said] : cases) {
        QTemporaryDir bin;
        for (const QString& tool : installed) ASSERT_TRUE(QFile::link("/bin/true", bin.filePath(tool)));
        qputenv("PATH", bin.path().toLocal8Bit());
        RecordingPrompt prompt;
        TelnetToDevice(nullptr, "192.168.1.5");
        EXPECT_EQ(prompt.texts, (QStringList{"Do you want to TELNET this device?", said}))
            << installed.join(",").toStdString();
        EXPECT_EQ(prompt.icons.last(), PromptIcon::Warning);
    }
    qputenv("PATH", path);
}

}  // namespace
