#pragma once
// kms-console's command line: the options, and `--discover`, which runs a discovery without a window
// and prints what answered.

#include <QCommandLineParser>
#include <QList>
#include <QProcessEnvironment>
#include <QString>
#include <QTextStream>

#include "console/discovery.h"

// Adds every option of kms-console (--discover and its companions, --help, --version).
void AddConsoleOptions(QCommandLineParser& parser);

// The discovery the parsed command line asks for. Secrets not given on the command line come from the
// environment: KMS_COMMUNITY (SNMPv1/v2c), KMS_AUTH_PASSWORD and KMS_PRIV_PASSWORD (SNMPv3). False
// with a message for people when the options do not make a discovery.
bool DiscoverOptionsFrom(const QCommandLineParser& parser, const QProcessEnvironment& env,
                         DiscoveryOptions& options, QString& error);

// One line per device: address, model ("unknown" when not recognised), name, description, separated by
// tabs (tabs and line breaks in the agent's texts become blanks). Sorted by address.
QString FormatDiscoveredText(QList<DiscoveredDevice> devices);
// A JSON array of objects: address, port, model (null when not recognised), name, description,
// objectId, credentials (the set's label). Sorted by address.
QString FormatDiscoveredJson(QList<DiscoveredDevice> devices, const QList<CredentialSet>& sets);

// Runs `--discover`: the devices on `out`, refusals and problems on `err`. 0 when the discovery ran,
// 2 for a bad command line, 1 when the SNMP engine could not start.
int RunDiscoverCommand(const QCommandLineParser& parser, QTextStream& out, QTextStream& err);
