#include "pipe_client_win32.h"

#include "debug_output.h"

namespace brenik::vkb::pipe {
namespace {

constexpr DWORD kReadChunk = 64 * 1024;

bool WriteWhole(HANDLE pipe, const Bytes& message) {
    DWORD written = 0;
    return WriteFile(pipe, message.data(), static_cast<DWORD>(message.size()), &written, nullptr) &&
           written == message.size();
}

// One whole message, read in chunks while the pipe says more of it is waiting.
bool ReadWhole(HANDLE pipe, Bytes& message) {
    message.clear();
    for (;;) {
        const std::size_t at = message.size();
        if (at > kHeaderBytes + kMaxReplyPayloadBytes) return false;
        message.resize(at + kReadChunk);
        DWORD got = 0;
        const BOOL done = ReadFile(pipe, message.data() + at, kReadChunk, &got, nullptr);
        message.resize(at + got);
        if (done) return true;
        if (GetLastError() != ERROR_MORE_DATA) return false;
    }
}

}  // namespace

std::string PipePath(const std::string& name) { return "\\\\.\\pipe\\" + name; }

bool PipeClient::Connect(const std::string& pipeName, DWORD timeoutMs) {
    Close();
    const std::string path = PipePath(pipeName);
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        // Identification only: the server has no business acting as this process.
        win32::ScopedHandle pipe(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                             SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr));
        if (pipe.Valid()) {
            DWORD mode = PIPE_READMODE_MESSAGE;
            if (!SetNamedPipeHandleState(pipe.Get(), &mode, nullptr, nullptr)) return false;
            pipe_ = std::move(pipe);
            return true;
        }
        if (GetLastError() != ERROR_PIPE_BUSY) return false;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return false;
        WaitNamedPipeA(path.c_str(), static_cast<DWORD>(deadline - now));
    }
}

bool PipeClient::Transact(const Request& request, Reply& reply) {
    if (!pipe_.Valid()) return false;
    Bytes message;
    std::string reason;
    if (!WriteWhole(pipe_.Get(), EncodeRequest(request)) || !ReadWhole(pipe_.Get(), message) ||
        !DecodeReply(message.data(), message.size(), reply, reason)) {
        if (!reason.empty()) DebugPrintf("virtual keyboard pipe: reply refused: %s\n", reason.c_str());
        Close();
        return false;
    }
    if (reply.kind == Kind::kRefused) {
        DebugPrintf("virtual keyboard pipe: the server refused the request: %s\n", ReplyText(reply).c_str());
        return false;
    }
    if (reply.kind != request.kind) {
        DebugPrintf("virtual keyboard pipe: reply of another kind\n");
        Close();
        return false;
    }
    return true;
}

bool CallServer(const std::string& pipeName, const Request& request, Reply& reply, DWORD timeoutMs) {
    PipeClient client;
    return client.Connect(pipeName, timeoutMs) && client.Transact(request, reply);
}

}  // namespace brenik::vkb::pipe
