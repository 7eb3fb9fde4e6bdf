#include "ServerReadLog.h"

namespace platform::midi {

void ServerReadLog::add(const Report &report)
{
    // A report that shows nothing new read says nothing about any frame.
    if (!m_reports.empty() && report.readFrame <= m_reports.back().readFrame)
        return;
    if (m_reports.size() >= kKept)
        m_reports.pop_front();
    m_reports.push_back(report);
}

const ServerReadLog::Report *ServerReadLog::firstPast(int64_t frame) const
{
    for (const Report &report : m_reports)
        if (report.readFrame > frame)
            return &report;
    return nullptr;
}

int64_t ServerReadLog::leftServerUs(int64_t frame) const
{
    const Report *report = firstPast(frame);
    if (!report)
        return -1;
    return report->atUs + report->sinkUs - (report->readFrame - frame) * 1000000 / m_sampleRate;
}

} // namespace platform::midi
