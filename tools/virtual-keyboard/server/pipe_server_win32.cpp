#include "pipe_server_win32.h"

#include "debug_output.h"
#include "pipe_client_win32.h"
#include "scoped_handle.h"

#include <windows.h>

#include <atomic>
#include <list>
#include <memory>
#include <thread>

namespace brenik::vkb {
namespace {

constexpr DWORD kPipeBufferBytes = 64 * 1024;
constexpr DWORD kStopPollMs = 100;

enum class ReadOutcome { kMessage, kTooLong, kClosed, kStopped };

// Waits for an overlapped operation or the stop event; on stop the operation is cancelled.
bool Finish(HANDLE pipe, OVERLAPPED& overlapped, HANDLE stop, DWORD& transferred, DWORD& error, bool& stopped) {
    HANDLE handles[2] = {overlapped.hEvent, stop};
    if (WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0) {
        CancelIo(pipe);
        GetOverlappedResult(pipe, &overlapped, &transferred, TRUE);
        stopped = true;
        return false;
    }
    const bool ok = GetOverlappedResult(pipe, &overlapped, &transferred, FALSE) != 0;
    error = ok ? ERROR_SUCCESS : GetLastError();
    return ok;
}

bool Start(BOOL started, DWORD& error) {
    error = started ? ERROR_SUCCESS : GetLastError();
    return started || error == ERROR_IO_PENDING || error == ERROR_MORE_DATA;
}

// One whole message. A message longer than any request is read to its end and dropped, so
// the next one starts clean.
ReadOutcome ReadMessage(HANDLE pipe, HANDLE ioEvent, HANDLE stop, pipe::Bytes& message) {
    message.clear();
    bool tooLong = false;
    for (;;) {
        const std::size_t at = message.size();
        message.resize(at + kPipeBufferBytes);
        OVERLAPPED overlapped{};
        overlapped.hEvent = ioEvent;
        ResetEvent(ioEvent);
        DWORD error = ERROR_SUCCESS;
        DWORD got = 0;
        bool stopped = false;
        if (!Start(ReadFile(pipe, message.data() + at, kPipeBufferBytes, nullptr, &overlapped), error)) {
            return ReadOutcome::kClosed;
        }
        const bool done = Finish(pipe, overlapped, stop, got, error, stopped);
        if (stopped) return ReadOutcome::kStopped;
        message.resize(at + got);
        if (message.size() > pipe::kMaxRequestBytes) {
            tooLong = true;
            message.clear();
        }
        if (done) return tooLong ? ReadOutcome::kTooLong : ReadOutcome::kMessage;
        if (error != ERROR_MORE_DATA) return ReadOutcome::kClosed;
    }
}

bool WriteMessage(HANDLE pipe, HANDLE ioEvent, HANDLE stop, const pipe::Bytes& message) {
    OVERLAPPED overlapped{};
    overlapped.hEvent = ioEvent;
    ResetEvent(ioEvent);
    DWORD error = ERROR_SUCCESS;
    DWORD written = 0;
    bool stopped = false;
    if (!Start(WriteFile(pipe, message.data(), static_cast<DWORD>(message.size()), nullptr, &overlapped), error)) return false;
    return Finish(pipe, overlapped, stop, written, error, stopped) && written == message.size();
}

struct Client {
    win32::ScopedHandle pipe;
    std::thread thread;
    std::atomic<bool> done{false};
};

void Serve(Client& client, KeyboardService& service, HANDLE stop) {
    win32::ScopedHandle ioEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    pipe::Bytes message;
    while (ioEvent.Valid()) {
        const ReadOutcome outcome = ReadMessage(client.pipe.Get(), ioEvent.Get(), stop, message);
        if (outcome == ReadOutcome::kClosed || outcome == ReadOutcome::kStopped) break;
        pipe::Bytes reply;
        if (outcome == ReadOutcome::kTooLong) {
            DebugPrintf("vkbd-server refused a message longer than %zu bytes\n", pipe::kMaxRequestBytes);
            reply = pipe::EncodeReply(pipe::TextReply(pipe::Kind::kRefused, false, "message too long"));
        } else {
            reply = service.HandleMessage(message.data(), message.size());
        }
        if (!WriteMessage(client.pipe.Get(), ioEvent.Get(), stop, reply)) break;
        if (service.StopRequested()) SetEvent(stop);
    }
    DisconnectNamedPipe(client.pipe.Get());
    client.done = true;
}

void ReapFinished(std::list<Client>& clients) {
    for (auto it = clients.begin(); it != clients.end();) {
        if (it->done) {
            it->thread.join();
            it = clients.erase(it);
        } else {
            ++it;
        }
    }
}

// Waits for a client on a fresh instance; false when the server is stopping.
bool AwaitClient(HANDLE pipe, HANDLE connectEvent, KeyboardService& service) {
    OVERLAPPED overlapped{};
    overlapped.hEvent = connectEvent;
    ResetEvent(connectEvent);
    if (ConnectNamedPipe(pipe, &overlapped)) return true;
    const DWORD error = GetLastError();
    if (error == ERROR_PIPE_CONNECTED) return true;
    if (error != ERROR_IO_PENDING) return false;
    for (;;) {
        if (WaitForSingleObject(connectEvent, kStopPollMs) == WAIT_OBJECT_0) {
            DWORD ignored = 0;
            return GetOverlappedResult(pipe, &overlapped, &ignored, FALSE) != 0;
        }
        if (service.StopRequested()) {
            CancelIo(pipe);
            DWORD ignored = 0;
            GetOverlappedResult(pipe, &overlapped, &ignored, TRUE);
            return false;
        }
    }
}

win32::ScopedHandle CreateInstance(const std::string& path, bool first) {
    const DWORD openMode = PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | (first ? FILE_FLAG_FIRST_PIPE_INSTANCE : 0);
    win32::ScopedHandle pipe(CreateNamedPipeA(path.c_str(), openMode,
                                              PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS,
                                              PIPE_UNLIMITED_INSTANCES, kPipeBufferBytes, kPipeBufferBytes, 0, nullptr));
    if (!pipe.Valid()) {
        DebugPrintf("vkbd-server: cannot create %s (error %lu)\n", path.c_str(), static_cast<unsigned long>(GetLastError()));
    }
    return pipe;
}

}  // namespace

bool RunPipeServer(const std::string& pipeName, KeyboardService& service) {
    const std::string path = pipe::PipePath(pipeName);
    win32::ScopedHandle stop(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    win32::ScopedHandle connectEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!stop.Valid() || !connectEvent.Valid()) return false;
    win32::ScopedHandle listening = CreateInstance(path, true);
    if (!listening.Valid()) return false;
    std::list<Client> clients;
    while (!service.StopRequested()) {
        ReapFinished(clients);
        if (!listening.Valid()) {
            Sleep(kStopPollMs);
            listening = CreateInstance(path, false);
            continue;
        }
        if (!AwaitClient(listening.Get(), connectEvent.Get(), service)) {
            listening.Reset();
            continue;
        }
        // The next instance exists before this client can finish and close its own, so a
        // client never finds the pipe gone between two connections.
        win32::ScopedHandle next = CreateInstance(path, false);
        Client& client = clients.emplace_back();
        client.pipe = std::move(listening);
        client.thread = std::thread(Serve, std::ref(client), std::ref(service), stop.Get());
        listening = std::move(next);
    }
    SetEvent(stop.Get());
    for (Client& client : clients) client.thread.join();
    return true;
}

}  // namespace brenik::vkb
