#pragma once
// Helpers shared by the session tests: a walk driven the way every dialog drives it (callback removes
// its request id, stops on a non-zero status, otherwise reads the row and asks for the next one).

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "snmp/common_snmp.h"

struct WalkRow {
    std::string oid;
    int type = 0;
    std::string value;
    std::string suffix;
    int answer = 0;  // which answer of the walk carried it, from 1
    bool operator==(const WalkRow&) const = default;
};

class WalkRecorder {
public:
    explicit WalkRecorder(CCommonSNMP& session) : m_session(session) {}

    // Starts a walk of the columns; every row's bindings go into rows in answer order.
    int Start(const std::vector<std::string>& columns) {
        if (!m_session.Open(kSnmpGetNext)) return -1;
        for (const std::string& c : columns) m_session.AddValue(c, kBindNull, nullptr);
        return Next();
    }

    // Waits for the end of the walk; false when it did not end in time. The results below may be read once
    // it returned true.
    bool Wait(std::chrono::milliseconds limit = std::chrono::seconds(60)) {
        std::unique_lock<std::mutex> l(m_mutex);
        return m_cv.wait_for(l, limit, [this] { return m_finished; });
    }

    std::vector<WalkRow> rows;
    int finalStatus = 0;
    int answers = 0;
    std::vector<std::thread::id> threads;  // where each answer was handled

private:
    int Next() {
        return m_session.GetNextAsync(
            [this](std::unique_ptr<CSnmp> r, int id, void*, int s) { return OnAnswer(std::move(r), id, s); },
            this, 0);
    }
    unsigned OnAnswer(std::unique_ptr<CSnmp> response, int id, int status) {
        {
            std::lock_guard<std::mutex> l(m_mutex);
            threads.push_back(std::this_thread::get_id());
        }
        if (m_session.RemoveRequestId(id) == 0) return 0;  // stale
        if (status != 0) m_session.SetDone();
        std::vector<WalkRow> got;
        for (int i = 0; status == 0 && i < response->getValuesCount(); ++i) {
            got.push_back({response->getOid(i), response->getValueType(i), response->getValue(i), {}, 0});
            m_session.GetSuffix(i, response.get(), got.back().suffix);
        }
        {
            std::lock_guard<std::mutex> l(m_mutex);
            if (status != 0) {
                finalStatus = status;
                m_finished = true;
                m_cv.notify_all();
                return 0;
            }
            ++answers;
            for (WalkRow& r : got) r.answer = answers;
            rows.insert(rows.end(), got.begin(), got.end());
        }
        Next();
        return 0;
    }

    CCommonSNMP& m_session;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_finished = false;
};

// A whole walk of `columns` with get-bulk allowed or not: every row (with the answer that carried it) and
// the final status, which is 99 when the walk did not end within a minute.
inline std::pair<std::vector<WalkRow>, int> WalkWith(ModuleSettings settings, bool bulk,
                                                     const std::vector<std::string>& columns) {
    settings.UseGetBulk = bulk;
    CCommonSNMP session(settings);
    WalkRecorder walk(session);
    if (walk.Start(columns) != 0 || !walk.Wait()) return {{}, 99};
    return {walk.rows, walk.finalStatus};
}
