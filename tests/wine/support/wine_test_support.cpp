#include "wine_test_support.h"

#include <cstring>

namespace brenik::test {
namespace {

constexpr const char* kPeerClass = "BrenikTestPeerWindow";

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path + "\\");
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

std::string ToWindowsPath(const std::string& path) {
    std::string result = path;
    if (!result.empty() && result[0] == '/') result = "Z:" + result;
    for (char& c : result) {
        if (c == '/') c = '\\';
    }
    return result;
}

std::string ArgumentPath(int argc, char** argv, const std::string& name) {
    const std::string prefix = "--" + name + "=";
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], prefix.c_str(), prefix.size()) == 0) return ToWindowsPath(argv[i] + prefix.size());
    }
    return "";
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(pollMs);
    }
}

TempFolder::TempFolder(const std::string& tag) {
    static int counter = 0;
    char base[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, base);
    path_ = std::string(base) + "brenik-" + tag + "-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(counter++) + "\\";
    RemoveTree(path_);
    CreateDirectoryA(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() { RemoveTree(path_); }

bool CopyInto(const std::string& file, const std::string& folder) {
    const std::size_t slash = file.find_last_of("\\/");
    const std::string name = slash == std::string::npos ? file : file.substr(slash + 1);
    return CopyFileA(file.c_str(), (folder + name).c_str(), FALSE) != 0;
}

bool WriteTextFile(const std::string& path, const std::string& text) {
    win32::ScopedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file.Valid() && WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

ChildProcess::~ChildProcess() {
    if (Running()) {
        TerminateProcess(process_.Get(), 99);
        WaitForSingleObject(process_.Get(), 5000);
    }
}

bool ChildProcess::Start(const std::string& program, const std::string& arguments) {
    std::string commandLine = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        return false;
    }
    CloseHandle(info.hThread);
    process_.Reset(info.hProcess);
    return true;
}

bool ChildProcess::Running() const {
    return process_.Valid() && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}

long ChildProcess::Wait(DWORD timeoutMs) {
    if (!process_.Valid() || WaitForSingleObject(process_.Get(), timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.Get(), &code);
    return static_cast<long>(code);
}

long RunToEnd(const std::string& program, const std::string& arguments, std::string* output, DWORD timeoutMs) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) return -1;
    win32::ScopedHandle reader(readEnd);
    win32::ScopedHandle writer(writeEnd);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    std::string commandLine = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
        return -1;
    }
    win32::ScopedHandle process(info.hProcess);
    win32::ScopedHandle thread(info.hThread);
    writer.Reset();  // so the read ends when the child's copy closes
    // Read on a thread of its own: a child that hangs must not hang the caller past the time-out.
    std::string text;
    std::thread readerThread([&] {
        char chunk[4096];
        DWORD got = 0;
        while (ReadFile(readEnd, chunk, sizeof chunk, &got, nullptr) && got > 0) text.append(chunk, got);
    });
    const bool ended = WaitForSingleObject(process.Get(), timeoutMs) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(process.Get(), 99);
    readerThread.join();  // the pipe closes with the child
    if (output) *output = text;
    if (!ended) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process.Get(), &code);
    return static_cast<long>(code);
}

VirtualKeyboardServer::VirtualKeyboardServer(std::string toolsFolder, const std::string& tag)
    : tools_(std::move(toolsFolder)), pipe_(tag + "-" + std::to_string(GetCurrentProcessId())) {}

VirtualKeyboardServer::~VirtualKeyboardServer() {
    if (server_.Running()) Command("stop");
}

bool VirtualKeyboardServer::Start(DWORD timeoutMs) {
    if (!server_.Start(tools_ + "vkbd-server.exe", "--pipe " + pipe_)) return false;
    return WaitUntil([&] { return Command("status") == 0; }, timeoutMs, 100);
}

long VirtualKeyboardServer::Command(const std::string& words, std::string* output) {
    return RunToEnd(tools_ + "vkbd.exe", "--pipe " + pipe_ + " " + words, output);
}

std::string VirtualKbhidIni(const std::string& pipe) { return "[Backend]\r\nType=virtual\r\nPipeName=" + pipe + "\r\n"; }

std::int64_t NowMicroseconds() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<std::int64_t>(counter.QuadPart * 1000000.0 / static_cast<double>(frequency.QuadPart));
}

PeerWindows::PeerWindows(std::vector<std::string> titles) : titles_(std::move(titles)) {
    ready_.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    thread_ = std::thread([this] { Run(); });
    WaitForSingleObject(ready_.Get(), 10000);
}

PeerWindows::~PeerWindows() {
    PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    if (thread_.joinable()) thread_.join();
}

void PeerWindows::Run() {
    threadId_ = GetCurrentThreadId();
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &PeerWindows::WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kPeerClass;
    RegisterClassA(&windowClass);
    std::vector<HWND> windows;
    for (const std::string& title : titles_) {
        HWND window = CreateWindowExA(0, kPeerClass, title.c_str(), WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                      windowClass.hInstance, nullptr);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        windows.push_back(window);
    }
    MSG message;
    PeekMessageA(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    SetEvent(ready_.Get());
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    for (HWND window : windows) DestroyWindow(window);
}

LRESULT CALLBACK PeerWindows::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<PeerWindows*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self != nullptr && (message >= WM_USER || message == WM_CLOSE)) {
        char title[256] = {};
        GetWindowTextA(hwnd, title, sizeof title);
        std::lock_guard<std::mutex> hold(self->lock_);
        self->log_.push_back({title, message, wParam, lParam, NowMicroseconds()});
        return 0;  // WM_CLOSE too: a peer stays until the test ends
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

std::vector<PeerWindows::Received> PeerWindows::Log() const {
    std::lock_guard<std::mutex> hold(lock_);
    return log_;
}

void PeerWindows::Clear() {
    std::lock_guard<std::mutex> hold(lock_);
    log_.clear();
}

int PeerWindows::Count(const std::string& title, UINT message) const {
    std::lock_guard<std::mutex> hold(lock_);
    int count = 0;
    for (const Received& r : log_) count += r.title == title && r.message == message;
    return count;
}

bool PeerWindows::WaitFor(const std::string& title, UINT message, int count, DWORD timeoutMs) const {
    return WaitUntil([&] { return Count(title, message) >= count; }, timeoutMs);
}

}  // namespace brenik::test
