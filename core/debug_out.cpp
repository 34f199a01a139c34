#include "core/debug_out.h"

#include <mutex>

Q_LOGGING_CATEGORY(kmsDebug, "kms.debug", QtWarningMsg)

namespace {
std::mutex g_sinkMutex;
std::function<void(const std::string&)> g_sink;
}  // namespace

void DebugOut(const std::string& line) {
    {
        std::lock_guard<std::mutex> lock(g_sinkMutex);
        if (g_sink) g_sink(line);
    }
    qCDebug(kmsDebug).noquote() << QString::fromStdString(line);
}

void SetDebugSink(std::function<void(const std::string&)> sink) {
    std::lock_guard<std::mutex> lock(g_sinkMutex);
    g_sink = std::move(sink);
}
