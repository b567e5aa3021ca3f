#include "virtual_backend_win32.h"

#include "debug_output.h"
#include "event_relay.h"
#include "pipe_client_win32.h"

#include <cstring>

namespace brenik::kbhid {
namespace {

namespace pipe = vkb::pipe;

// How long the server holds an event request open, and how soon a lost server is tried again.
constexpr std::uint16_t kEventWaitMs = 200;
constexpr DWORD kReconnectMs = 250;
constexpr DWORD kConnectTimeoutMs = 2000;

class VirtualBackend final : public IDeviceBackend {
public:
    explicit VirtualBackend(std::string pipeName) : pipeName_(std::move(pipeName)) {}
    ~VirtualBackend() override { StopMonitor(); }

    bool StartMonitor(std::shared_ptr<IEventSink> sink) override {
        // Where the events start and whether the keyboard is there now, learnt before
        // returning, so that nothing the caller does next is missed or told twice.
        pipe::EventBatch start;
        QueryEvents(0, 0, start);
        return thread_.Start([this, sink, start](HANDLE stop) { RunMonitor(*sink, start, stop); });
    }

    void StopMonitor() override { thread_.Stop(); }

    bool OpenFeature() override {
        pipe::Request request;
        request.kind = pipe::Kind::kOpenDevice;
        pipe::Reply reply;
        return pipe::CallServer(pipeName_, request, reply, kConnectTimeoutMs) && reply.ok;
    }

    // Tells the server, so its trace shows when the host let go of the keyboard.
    void CloseFeature() override {
        pipe::Request request;
        request.kind = pipe::Kind::kCloseDevice;
        pipe::Reply reply;
        pipe::CallServer(pipeName_, request, reply, kConnectTimeoutMs);
    }

    bool SetFeature(const std::uint8_t* report, std::size_t length) override {
        if (length > pipe::kMaxReportBytes) return Refuse("SetFeature", length);
        pipe::Request request;
        request.kind = pipe::Kind::kSetFeature;
        request.report.assign(report, report + length);
        pipe::Reply reply;
        return pipe::CallServer(pipeName_, request, reply, kConnectTimeoutMs) && reply.ok;
    }

    bool GetFeature(std::uint8_t* report, std::size_t length) override {
        if (length > pipe::kMaxReportBytes) return Refuse("GetFeature", length);
        pipe::Request request;
        request.kind = pipe::Kind::kGetFeature;
        request.reportId = report[0];
        request.length = static_cast<std::uint16_t>(length);
        pipe::Reply reply;
        if (!pipe::CallServer(pipeName_, request, reply, kConnectTimeoutMs) || !reply.ok) return false;
        if (reply.payload.size() != length) {
            DebugPrintf("kbhid GetFeature: the server answered %zu bytes for %zu\n", reply.payload.size(), length);
            return false;
        }
        std::memcpy(report, reply.payload.data(), length);
        return true;
    }

private:
    static bool Refuse(const char* name, std::size_t length) {
        DebugPrintf("kbhid %s refused: %zu bytes is longer than any report\n", name, length);
        return false;
    }

    bool QueryEvents(std::uint32_t cursor, std::uint16_t waitMs, pipe::EventBatch& batch) {
        pipe::PipeClient client;
        return client.Connect(pipeName_, kConnectTimeoutMs) && Poll(client, cursor, waitMs, batch);
    }

    static bool Poll(pipe::PipeClient& client, std::uint32_t cursor, std::uint16_t waitMs, pipe::EventBatch& batch) {
        pipe::Request request;
        request.kind = pipe::Kind::kWaitEvents;
        request.cursor = cursor;
        request.waitMs = waitMs;
        pipe::Reply reply;
        std::string reason;
        if (!client.Transact(request, reply) || !reply.ok) return false;
        if (!pipe::DecodeEventBatch(reply.payload, batch, reason)) {
            DebugPrintf("kbhid: event batch refused: %s\n", reason.c_str());
            client.Close();
            return false;
        }
        return true;
    }

    void RunMonitor(IEventSink& sink, const pipe::EventBatch& start, HANDLE stop) {
        EventRelay relay(start.plugged);
        relay.OnBatch(start, sink);
        pipe::PipeClient client;
        while (WaitForSingleObject(stop, 0) != WAIT_OBJECT_0) {
            pipe::EventBatch batch;
            const bool reached = (client.Connected() || client.Connect(pipeName_, kConnectTimeoutMs)) &&
                                 Poll(client, relay.Cursor(), kEventWaitMs, batch);
            if (reached) {
                relay.OnBatch(batch, sink);
                continue;
            }
            client.Close();
            relay.OnServerLost(sink);
            WaitForSingleObject(stop, kReconnectMs);
        }
    }

    std::string pipeName_;
    MonitorThread thread_;
};

}  // namespace

std::unique_ptr<IDeviceBackend> MakeVirtualBackend(const std::string& pipeName) {
    return std::make_unique<VirtualBackend>(pipeName);
}

}  // namespace brenik::kbhid
