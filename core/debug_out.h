#pragma once
// Diagnostics that the original wrote to the debugger: the logging category "kms", its debug messages off by default,
// on with QT_LOGGING_RULES=kms.debug=true. Credentials never go through here.

#include <QLoggingCategory>
#include <functional>
#include <string>

Q_DECLARE_LOGGING_CATEGORY(kmsDebug)

void DebugOut(const std::string& line);

// Tests capture the lines in order (whether or not the category is enabled). Pass an empty function to
// stop capturing.
void SetDebugSink(std::function<void(const std::string&)> sink);
