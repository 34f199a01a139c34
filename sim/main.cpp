// kms-sim: a simulated KMS-7300-08E (or -28E) switch, a real SNMP agent on a loopback UDP port.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "sim/agent.h"
#include "sim/device.h"
#include "sim/record/recorder.h"
#include "sim/replay.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;
volatile std::sig_atomic_t g_resume = 0;

void OnStop(int) {
    g_stop = 1;
}
void OnResume(int) {
    g_resume = 1;
}

void Usage() {
    std::fputs(
        "usage: kms-sim --listen 127.0.0.1:PORT [--model 08E|28E] [--state FILE] [--dynamics]\n"
        "               [--data DIR|RECORDING.snmprec] [--read-community TEXT] [--write-community TEXT]\n"
        "               [--engine-id HEX] [--users FILE] [--workdir DIR] [--journal FILE]\n"
        "       kms-sim --record ADDRESS[:PORT] --out FILE.snmprec [SNMP options]   (--record --help)\n"
        "       kms-sim --help | --version\n",
        stderr);
}

std::string ExeDir() {
    std::error_code ec;
    auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : p.parent_path().string();
}

// Beside the executable in the build tree; under share/kms-module once installed.
std::string DefaultDataDir() {
    std::error_code ec;
    const std::string exe = ExeDir();
    if (std::filesystem::is_directory(exe + "/sim-data", ec)) return exe + "/sim-data";
    return exe + "/../share/kms-module/sim-data";
}

bool ValidListen(const std::string& s) {
    auto colon = s.rfind(':');
    if (colon == std::string::npos || colon == 0) return false;
    int port = std::atoi(s.c_str() + colon + 1);
    return port > 0 && port < 65536 && s.find_first_not_of("0123456789", colon + 1) == std::string::npos;
}

}  // namespace

int main(int argc, char** argv) {
    // Recording a switch is a program of its own: it starts no agent.
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--record") return kmssim::RecordMain(argc, argv);
    kmssim::DeviceOptions dev;
    kmssim::AgentOptions agent;
    dev.dataDir = dev.stockDataDir = DefaultDataDir();
    std::string usersFile;
    bool modelGiven = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](std::string* out) {
            if (i + 1 >= argc) return false;
            *out = argv[++i];
            return true;
        };
        bool ok = true;
        if (a == "--listen")
            ok = value(&agent.listen) && ValidListen(agent.listen);
        else if (a == "--model")
            ok = modelGiven = value(&dev.model);
        else if (a == "--state")
            ok = value(&dev.statePath);
        else if (a == "--data")
            ok = value(&dev.dataDir);
        else if (a == "--dynamics")
            dev.dynamics = true;
        else if (a == "--read-community")
            ok = value(&agent.readCommunity) && !agent.readCommunity.empty();
        else if (a == "--write-community")
            ok = value(&agent.writeCommunity) && !agent.writeCommunity.empty();
        else if (a == "--engine-id") {
            ok = value(&agent.engineIdHex) && agent.engineIdHex.size() >= 10 &&
                 agent.engineIdHex.size() <= 64 && agent.engineIdHex.size() % 2 == 0 &&
                 agent.engineIdHex.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
        } else if (a == "--users")
            ok = value(&usersFile);
        else if (a == "--workdir")
            ok = value(&agent.workDir);
        else if (a == "--journal")
            ok = value(&agent.journalPath);
        else if (a == "--help" || a == "-h") {
            Usage();
            return 0;
        } else if (a == "--version") {
            std::puts("kms-sim " KMS_VERSION);
            return 0;
        } else
            ok = false;
        if (!ok) {
            std::fprintf(stderr, "kms-sim: bad argument %s\n", a.c_str());
            Usage();
            return 2;
        }
    }
    // A recording is one file; its own port count tells the model.
    std::error_code ec;
    if (!modelGiven && std::filesystem::is_regular_file(dev.dataDir, ec))
        dev.model = kmssim::RecordedModel(dev.dataDir);
    if (agent.readCommunity == agent.writeCommunity) {
        std::fputs("kms-sim: the read and write communities must differ\n", stderr);
        return 2;
    }

    std::string error;
    agent.users = kmssim::DefaultUsers();
    if (!usersFile.empty() && !kmssim::LoadUsers(usersFile, &agent.users, &error)) {
        std::fprintf(stderr, "kms-sim: %s\n", error.c_str());
        return 2;
    }
    dev.engineId = *kmssim::FromHex(agent.engineIdHex);
    kmssim::Device device;
    if (!device.Init(dev, &error)) {
        std::fprintf(stderr, "kms-sim: %s\n", error.c_str());
        return 1;
    }

    if (!agent.workDir.empty())
        agent.bootsFile = agent.workDir + "/engine-boots";
    else if (!dev.statePath.empty())
        agent.bootsFile = dev.statePath + ".engine-boots";
    // Configuration and persistent files live in a directory of our own.
    std::string ownDir;
    if (agent.workDir.empty()) {
        char tmpl[] = "/tmp/kms-sim-XXXXXX";
        if (!mkdtemp(tmpl)) {
            std::perror("kms-sim: mkdtemp");
            return 1;
        }
        ownDir = agent.workDir = tmpl;
    }

    struct sigaction sa {};
    sa.sa_handler = OnStop;  // no SA_RESTART: the wait for packets returns at once
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    sa.sa_handler = OnResume;
    sigaction(SIGUSR1, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    kmssim::Agent server(&device);
    int rc = 0;
    if (!server.Start(agent, &error)) {
        std::fprintf(stderr, "kms-sim: %s\n", error.c_str());
        rc = 1;
    } else {
        std::printf("kms-sim ready on %s\n", agent.listen.c_str());
        std::fflush(stdout);
        server.Run(&g_stop, &g_resume);
    }
    server.Stop();
    if (!ownDir.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(ownDir, ec);
    }
    return rc;
}
