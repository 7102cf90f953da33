#include "StandIn.h"

#include <cstdio>

namespace StandIn {

bool Event::operator==(const Event& other) const
{
    return kind == other.kind && window == other.window && message == other.message && wParam == other.wParam
        && lParam == other.lParam && text == other.text && thread == other.thread;
}

std::string Describe(const Event& event)
{
    static const char* const Kinds[]
        = { "Command", "Internal", "Key", "Mouse", "Title", "Close", "Show", "Activate", "Dialog" };
    const char* kind = event.kind >= 0 && event.kind < static_cast<int>(sizeof Kinds / sizeof *Kinds)
        ? Kinds[event.kind]
        : "?";
    char line[160];
    std::snprintf(line, sizeof line, "%s window=0x%llx message=0x%x wParam=0x%llx lParam=0x%llx thread=%lu", kind,
        static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(event.window)), event.message,
        static_cast<unsigned long long>(event.wParam),
        static_cast<unsigned long long>(static_cast<ULONG_PTR>(event.lParam)),
        static_cast<unsigned long>(event.thread));
    std::string text = line;
    if (!event.text.empty())
        text += " text=\"" + event.text + "\"";
    return text;
}

std::ostream& operator<<(std::ostream& out, const Event& event) { return out << Describe(event); }

// FNV-1a, 32 bits: enough to tell two passwords apart in a test.
std::string Fingerprint(const std::string& secret)
{
    if (secret.empty())
        return {};
    unsigned hash = 2166136261u;
    for (unsigned char c : secret)
        hash = (hash ^ c) * 16777619u;
    char text[16];
    std::snprintf(text, sizeof text, "#%08x", hash);
    return text;
}

void Journal::Add(const Event& event)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_events.push_back(event);
    }
    m_changed.notify_all();
}

std::vector<Event> Journal::Take()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<Event> taken;
    taken.swap(m_events);
    return taken;
}

void Journal::Clear()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_events.clear();
}

bool Journal::WaitFor(const std::function<bool(const std::vector<Event>&)>& done, DWORD timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return done(m_events); });
}

TickBoard::Count TickBoard::Of(HWND view)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = m_counts.find(view);
    return found == m_counts.end() ? Count() : found->second;
}

void TickBoard::SetDelay(HWND view, int ms)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_delays[view] = ms;
    }
    m_changed.notify_all();
}

void TickBoard::Handle(HWND view, bool expert)
{
    int delay = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        Count& count = m_counts[view];
        ++(expert ? count.expert : count.indicators);
        ++count.threads[GetCurrentThreadId()];
        delay = m_delays[view];
    }
    if (delay == TickHung) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [&] { return m_ended || m_delays[view] != TickHung; });
    } else if (delay > 0) {
        Sleep(static_cast<DWORD>(delay));
    }
    const bool waiting = (HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) != 0;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_counts[view].sendsWaiting += waiting;
}

void TickBoard::End()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_ended = true;
    }
    m_changed.notify_all();
}

}  // namespace StandIn
