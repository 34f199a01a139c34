#pragma once
// One device asked for its system objects, as discovery asks each address (sysObjectID.0, sysDescr.0,
// sysName.0), without blocking the caller: the device dialog's Detect, and Open of a device whose model
// is not known yet.

#include <QObject>
#include <functional>

#include "console/discovery.h"

// Starts the get on a worker; `done` runs later in `context`'s thread with what came back (failure
// NoAnswer when nothing answered). Nothing runs when `context` goes first.
void ProbeDevice(const QString& address, int port, const CredentialSet& credentials, QObject* context,
                 std::function<void(const DiscoveredDevice&)> done, int timeoutMs = 1000, int retries = 1);
