#include "platform/window_messages.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHash>
#include <QThread>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <vector>

struct MessageEndpointAccess {
    static IMessageHandler& Handler(CMessageEndpoint& endpoint) { return endpoint.m_handler; }
};

namespace {

struct MessageRecord {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::optional<QByteArray> bytes;  // set: lParam carries dwData
};

// One waiting SendWindowMessage.
struct PendingSend {
    bool done = false;
    LRESULT result = 0;
};

const QEvent::Type kMessageEventType = static_cast<QEvent::Type>(QEvent::registerEventType());

class MessageEvent : public QEvent {
public:
    MessageEvent(MessageRecord record, std::shared_ptr<PendingSend> pending)
        : QEvent(kMessageEventType), record(std::move(record)), pending(std::move(pending))
    {
    }
    MessageRecord record;
    std::shared_ptr<PendingSend> pending;  // null for posted messages
};

struct EndpointEntry {
    CMessageEndpoint* endpoint;
    bool receivesBroadcasts;
    bool closed = false;
    std::vector<std::shared_ptr<PendingSend>> pending;
};

// Everything shared between threads sits behind one lock.
struct Registry {
    std::mutex mutex;
    std::condition_variable sendDone;
    QHash<WindowHandle, EndpointEntry> endpoints;
    QHash<QString, UINT> registeredNames;  // case-folded: names match without case
    UINT nextRegistered = kFirstRegisteredMessage;
    WindowHandle nextHandle = 1;
    bool loopEnded = false;
    bool quitHooked = false;
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

// Caller holds the lock.
void ReleasePending(Registry& registry, EndpointEntry& entry)
{
    for (auto& pending : entry.pending)
        pending->done = true;
    entry.pending.clear();
    registry.sendDone.notify_all();
}

EndpointEntry* OpenEntry(Registry& registry, WindowHandle window)
{
    auto it = registry.endpoints.find(window);
    if (it == registry.endpoints.end() || it->closed || registry.loopEnded)
        return nullptr;
    return &*it;
}

LRESULT Deliver(IMessageHandler& handler, const MessageRecord& record)
{
    if (!record.bytes)
        return handler.OnWindowMessage(record.message, record.wParam, record.lParam);
    const COPYDATASTRUCT data{static_cast<std::uintptr_t>(record.lParam),
                              static_cast<std::uint32_t>(record.bytes->size()),
                              record.bytes->constData()};
    return handler.OnWindowMessage(record.message, record.wParam,
                                   reinterpret_cast<LPARAM>(&data));
}

bool Post(WindowHandle window, MessageRecord record)
{
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    EndpointEntry* entry = OpenEntry(registry, window);
    if (!entry)
        return false;
    QCoreApplication::postEvent(entry->endpoint, new MessageEvent(std::move(record), nullptr));
    return true;
}

LRESULT Send(WindowHandle window, MessageRecord record)
{
    Registry& registry = TheRegistry();
    std::unique_lock lock(registry.mutex);
    EndpointEntry* entry = OpenEntry(registry, window);
    if (!entry)
        return 0;
    CMessageEndpoint* endpoint = entry->endpoint;
    if (endpoint->thread() == QThread::currentThread()) {
        // Same thread: a plain call, as the window's own thread would make it.
        lock.unlock();
        return Deliver(MessageEndpointAccess::Handler(*endpoint), record);
    }
    auto pending = std::make_shared<PendingSend>();
    entry->pending.push_back(pending);
    QCoreApplication::postEvent(endpoint, new MessageEvent(std::move(record), pending));
    registry.sendDone.wait(lock, [&] { return pending->done; });
    return pending->result;
}

int Broadcast(const MessageRecord& record)
{
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    if (registry.loopEnded)
        return 0;
    int count = 0;
    for (auto& entry : registry.endpoints) {
        if (entry.closed || !entry.receivesBroadcasts)
            continue;
        QCoreApplication::postEvent(entry.endpoint, new MessageEvent(record, nullptr));
        ++count;
    }
    return count;
}

}  // namespace

UINT RegisterWindowMessage(const QString& name)
{
    if (name.isEmpty())
        return 0;
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    const QString key = name.toCaseFolded();
    auto it = registry.registeredNames.find(key);
    if (it != registry.registeredNames.end())
        return *it;
    if (registry.nextRegistered > kLastRegisteredMessage)
        return 0;
    const UINT number = registry.nextRegistered++;
    registry.registeredNames.insert(key, number);
    return number;
}

UINT FindRegisteredMessage(const QString& name)
{
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    return registry.registeredNames.value(name.toCaseFolded(), 0);
}

CMessageEndpoint::CMessageEndpoint(IMessageHandler& handler, bool receivesBroadcasts)
    : m_handler(handler), m_handle([&] {
          Registry& registry = TheRegistry();
          std::lock_guard lock(registry.mutex);
          const WindowHandle handle = registry.nextHandle++;
          registry.endpoints.insert(handle, EndpointEntry{this, receivesBroadcasts, false, {}});
          return handle;
      }())
{
    Registry& registry = TheRegistry();
    bool hookQuit = false;
    {
        std::lock_guard lock(registry.mutex);
        hookQuit = !registry.quitHooked && QCoreApplication::instance() != nullptr;
        registry.quitHooked = registry.quitHooked || hookQuit;
    }
    if (hookQuit)
        QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit,
                         &EndWindowMessages);
}

CMessageEndpoint::~CMessageEndpoint()
{
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    auto it = registry.endpoints.find(m_handle);
    if (it == registry.endpoints.end())
        return;
    ReleasePending(registry, *it);
    registry.endpoints.erase(it);
}

void CMessageEndpoint::Close()
{
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    auto it = registry.endpoints.find(m_handle);
    if (it == registry.endpoints.end())
        return;
    it->closed = true;
    ReleasePending(registry, *it);
}

bool CMessageEndpoint::IsClosed() const
{
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    auto it = registry.endpoints.find(m_handle);
    return it == registry.endpoints.end() || it->closed || registry.loopEnded;
}

bool CMessageEndpoint::event(QEvent* event)
{
    if (event->type() != kMessageEventType)
        return QObject::event(event);
    auto* message = static_cast<MessageEvent*>(event);
    // A send released meanwhile (window closing, loop ended) is not run.
    if (IsClosed() || (message->pending && message->pending->done))
        return true;
    const LRESULT result = Deliver(m_handler, message->record);
    if (message->pending) {
        Registry& registry = TheRegistry();
        std::lock_guard lock(registry.mutex);
        message->pending->result = result;
        message->pending->done = true;
        auto it = registry.endpoints.find(m_handle);
        if (it != registry.endpoints.end())
            std::erase(it->pending, message->pending);
        registry.sendDone.notify_all();
    }
    return true;
}

bool PostWindowMessage(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Post(window, MessageRecord{message, wParam, lParam, std::nullopt});
}

LRESULT SendWindowMessage(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Send(window, MessageRecord{message, wParam, lParam, std::nullopt});
}

bool PostWindowMessageData(WindowHandle window, UINT message, WPARAM wParam,
                           std::uintptr_t dwData, const QByteArray& bytes)
{
    return Post(window, MessageRecord{message, wParam, static_cast<LPARAM>(dwData), bytes});
}

LRESULT SendWindowMessageData(WindowHandle window, UINT message, WPARAM wParam,
                              std::uintptr_t dwData, const QByteArray& bytes)
{
    return Send(window, MessageRecord{message, wParam, static_cast<LPARAM>(dwData), bytes});
}

LRESULT SendCopyData(WindowHandle window, WindowHandle from, std::uintptr_t dwData,
                     const QByteArray& bytes)
{
    return SendWindowMessageData(window, WM_COPYDATA, static_cast<WPARAM>(from), dwData, bytes);
}

int BroadcastWindowMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return Broadcast(MessageRecord{message, wParam, lParam, std::nullopt});
}

int BroadcastWindowMessageData(UINT message, WPARAM wParam, std::uintptr_t dwData,
                               const QByteArray& bytes)
{
    return Broadcast(MessageRecord{message, wParam, static_cast<LPARAM>(dwData), bytes});
}

bool IsWindowHandle(WindowHandle window)
{
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    return OpenEntry(registry, window) != nullptr;
}

void EndWindowMessages()
{
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    registry.loopEnded = true;
    for (auto& entry : registry.endpoints)
        ReleasePending(registry, entry);
}
