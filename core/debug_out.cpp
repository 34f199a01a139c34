#include "core/debug_out.h"

#include <atomic>
#include <mutex>

// Named "kms": Qt reads the last part of a rule as the message type, so "kms.debug=true" switches on the
// debug messages of this category (a category named "kms.debug" would need "kms.debug.debug=true").
Q_LOGGING_CATEGORY(kmsDebug, "kms", QtWarningMsg)

namespace {
std::mutex g_sinkMutex;
std::function<void(const std::string&)> g_sink;
// Every walk step writes two lines: with no sink and the category off, they cost no lock.
std::atomic<bool> g_hasSink{false};
}  // namespace

void DebugOut(const std::string& line) {
    if (g_hasSink.load(std::memory_order_acquire)) {
        std::lock_guard<std::mutex> lock(g_sinkMutex);
        if (g_sink) g_sink(line);
    }
    qCDebug(kmsDebug).noquote() << QString::fromStdString(line);
}

void SetDebugSink(std::function<void(const std::string&)> sink) {
    std::lock_guard<std::mutex> lock(g_sinkMutex);
    g_sink = std::move(sink);
    g_hasSink.store(static_cast<bool>(g_sink), std::memory_order_release);
}
