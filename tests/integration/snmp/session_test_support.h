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

    // Starts a walk of the columns; every row's bindings go into Rows() in answer order.
    int Start(const std::vector<std::string>& columns, unsigned long timeout = 0) {
        if (!m_session.Open(kSnmpGetNext)) return -1;
        for (const std::string& c : columns) m_session.AddValue(c, kBindNull, nullptr);
        return m_session.GetNextAsync(
            [this](std::unique_ptr<CSnmp> response, int id, void* param, int status) {
                return OnAnswer(std::move(response), id, param, status);
            },
            this, 0, timeout);
    }

    // Waits for the end of the walk; false when it did not end in time.
    bool Wait(std::chrono::milliseconds limit = std::chrono::seconds(60)) {
        std::unique_lock<std::mutex> l(m_mutex);
        return m_cv.wait_for(l, limit, [this] { return m_finished; });
    }

    std::vector<WalkRow> Rows() {
        std::lock_guard<std::mutex> l(m_mutex);
        return m_rows;
    }
    int FinalStatus() {
        std::lock_guard<std::mutex> l(m_mutex);
        return m_finalStatus;
    }
    int Answers() {
        std::lock_guard<std::mutex> l(m_mutex);
        return m_answers;
    }
    std::vector<std::thread::id> Threads() {
        std::lock_guard<std::mutex> l(m_mutex);
        return m_threads;
    }
    bool SawEmptyAnswer() {
        std::lock_guard<std::mutex> l(m_mutex);
        return m_emptyAnswer;
    }

private:
    unsigned OnAnswer(std::unique_ptr<CSnmp> response, int id, void* param, int status) {
        {
            std::lock_guard<std::mutex> l(m_mutex);
            m_threads.push_back(std::this_thread::get_id());
            if (param != this) m_badParam = true;
        }
        if (m_session.RemoveRequestId(id) == 0) return 0;  // stale
        if (status != 0) {
            m_session.SetDone();
            std::lock_guard<std::mutex> l(m_mutex);
            m_finalStatus = status;
            m_finished = true;
            m_cv.notify_all();
            return 0;
        }
        std::vector<WalkRow> rows;
        for (int i = 0; i < response->getValuesCount(); ++i) {
            WalkRow r{
                response->getOid(i), response->getValueType(i), response->getValue(i), {}, m_answers + 1};
            m_session.GetSuffix(i, response.get(), r.suffix);
            rows.push_back(std::move(r));
        }
        {
            std::lock_guard<std::mutex> l(m_mutex);
            ++m_answers;
            if (rows.empty()) m_emptyAnswer = true;
            m_rows.insert(m_rows.end(), rows.begin(), rows.end());
        }
        m_session.GetNextAsync([this](std::unique_ptr<CSnmp> r, int i, void* p,
                                      int s) { return OnAnswer(std::move(r), i, p, s); },
                               this, 0);
        return 0;
    }

    CCommonSNMP& m_session;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_finished = false;
    bool m_badParam = false;
    bool m_emptyAnswer = false;
    int m_finalStatus = 0;
    int m_answers = 0;
    std::vector<WalkRow> m_rows;
    std::vector<std::thread::id> m_threads;
};

// A whole walk of `columns` with get-bulk allowed or not: every row (with the answer that carried it) and
// the final status, which is 99 when the walk did not end within a minute.
inline std::pair<std::vector<WalkRow>, int> WalkWith(ModuleSettings settings, bool bulk,
                                                     const std::vector<std::string>& columns) {
    settings.UseGetBulk = bulk;
    CCommonSNMP session(settings);
    WalkRecorder walk(session);
    if (walk.Start(columns) != 0 || !walk.Wait()) return {{}, 99};
    return {walk.Rows(), walk.FinalStatus()};
}
