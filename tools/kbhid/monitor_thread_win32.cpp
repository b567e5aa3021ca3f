#include "monitor_thread_win32.h"

#include "debug_output.h"

namespace brenik::kbhid {

DWORD WINAPI MonitorThread::Main(void* param) {
    auto* self = static_cast<MonitorThread*>(param);
    const HMODULE module = self->module_;
    try {
        self->body_(self->stop_.Get());
    } catch (...) {
        DebugPrintf("kbhid: the monitor thread ended on an error\n");
    }
    FreeLibraryAndExitThread(module, 0);
}

bool MonitorThread::Start(std::function<void(HANDLE)> body) {
    Stop();
    body_ = std::move(body);
    stop_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!stop_.Valid()) return false;
    // The reference the thread gives back when it ends.
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&MonitorThread::Main),
                            &module_)) {
        return false;
    }
    thread_.Reset(CreateThread(nullptr, 0, &MonitorThread::Main, this, 0, nullptr));
    if (!thread_.Valid()) {
        DebugPrintf("kbhid: cannot start the monitor thread (error %lu)\n", static_cast<unsigned long>(GetLastError()));
        FreeLibrary(module_);
        module_ = nullptr;
        return false;
    }
    return true;
}

void MonitorThread::Stop() {
    if (!thread_.Valid()) return;
    SetEvent(stop_.Get());
    WaitForSingleObject(thread_.Get(), INFINITE);
    thread_.Reset();
    stop_.Reset();
    module_ = nullptr;
}

}  // namespace brenik::kbhid
