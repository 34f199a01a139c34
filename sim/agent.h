// Net-SNMP master agent that serves the simulated device: access rules for communities and USM
// users, one handler per served subtree, the set transaction, and the test knobs (delay, drop,
// silence, request counters).
#pragma once

#include <csignal>
#include <string>
#include <vector>

#include "sim/device.h"

namespace kmssim {

struct UserSpec {
    std::string name;
    std::string auth;  // "", "MD5", "SHA", "SHA-224", "SHA-256", "SHA-384", "SHA-512"
    std::string authPassword;
    std::string priv;  // "", "DES", "AES"
    std::string privPassword;
    bool write = true;
    bool control = false;
    int Level() const { return auth.empty() ? 1 : priv.empty() ? 2 : 3; }
};

// The users a fresh kms-sim knows (see sim/README.md).
std::vector<UserSpec> DefaultUsers();
// Reads "name auth authpass priv privpass [ro|rw|control]" lines ("-" for an empty field).
bool LoadUsers(const std::string& path, std::vector<UserSpec>* users, std::string* error);

struct AgentOptions {
    std::string listen = "127.0.0.1:16100";
    std::string readCommunity = "rdcomm";
    std::string writeCommunity = "wrcomms";
    std::string engineIdHex = "8000081c044653";  // fixed; the switch's default engine ID
    std::string workDir;                         // configuration and persistent state
    std::string bootsFile;                       // engine boots across restarts ("" start at 1)
    std::string journalPath;                     // write journal (empty: none), see sim/README.md
    std::vector<UserSpec> users;
};

class Agent {
public:
    explicit Agent(Device* device) : m_device(device) {}
    bool Start(const AgentOptions& options, std::string* error);
    // Serves until *stop becomes non-zero; *resume (SIGUSR1) ends a silence.
    void Run(volatile std::sig_atomic_t* stop, volatile std::sig_atomic_t* resume);
    void Stop();

private:
    AgentOptions m_options;
    Device* m_device;
};

}  // namespace kmssim
