#include "wine_test_support.h"

#include "scoped_find.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace brenik::test {
namespace {

constexpr const char* kPeerClass = "BrenikTestPeerWindow";

void RemoveContents(const std::string& folder) {
    WIN32_FIND_DATAA found;
    const win32::ScopedFind search(FindFirstFileA((folder + "*").c_str(), &found));
    if (!search.Valid()) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = folder + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveContents(path + "\\");
            RemoveDirectoryA(path.c_str());
        } else {
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
        }
    } while (FindNextFileA(search.Get(), &found));
}

// The search is closed before the folder goes: an open one keeps the folder in use.
void RemoveTree(const std::string& folder) {
    RemoveContents(folder);
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

std::string ArgumentPath(const std::string& name) { return ArgumentPath(__argc, __argv, name); }

std::string ArgumentFolder(const std::string& name) { return ArgumentPath(name) + "\\"; }

std::string OutputFolder(const std::string& name) {
    const std::string folder = ArgumentFolder(name);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
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

bool CopyTree(const std::string& from, const std::string& to) {
    CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA found;
    const win32::ScopedFind search(FindFirstFileA((from + "\\*").c_str(), &found));
    if (!search.Valid()) return false;
    bool copied = true;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            copied = CopyTree(from + "\\" + name, to + "\\" + name) && copied;
        } else {
            copied = CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE) && copied;
        }
    } while (FindNextFileA(search.Get(), &found));
    return copied;
}

bool WriteTextFile(const std::string& path, const std::string& text) {
    win32::ScopedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file.Valid() && WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::string> FilesIn(const std::string& folder, const std::string& pattern) {
    std::vector<std::string> paths;
    WIN32_FIND_DATAA found{};
    const win32::ScopedFind search(FindFirstFileA((folder + pattern).c_str(), &found));
    if (!search.Valid()) return paths;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) paths.push_back(folder + found.cFileName);
    } while (FindNextFileA(search.Get(), &found));
    std::sort(paths.begin(), paths.end());
    return paths;
}

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

ProgramRun RunProgram(const std::string& program, const std::string& arguments, ErrorStream errors, DWORD timeoutMs) {
    ProgramRun run;
    const bool apart = errors == ErrorStream::kApart;
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
    if (!CreatePipe(&outRead, &outWrite, &inheritable, 0)) return run;
    win32::ScopedHandle outReader(outRead), outWriter(outWrite), errReader, errWriter;
    if (apart) {
        if (!CreatePipe(&errRead, &errWrite, &inheritable, 0)) return run;
        errReader.Reset(errRead);
        errWriter.Reset(errWrite);
        SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    }
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);

    std::string commandLine = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = outWrite;
    startup.hStdError = apart ? errWrite : outWrite;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
        return run;
    }
    win32::ScopedHandle process(info.hProcess);
    win32::ScopedHandle thread(info.hThread);
    // So that a read ends when the child's copy closes.
    outWriter.Reset();
    errWriter.Reset();
    // Each pipe is read on a thread of its own: a child that hangs must not hang the caller
    // past the time-out, nor one that fills the other pipe.
    const auto drain = [](HANDLE pipe, std::string* text) {
        char chunk[4096];
        DWORD got = 0;
        while (ReadFile(pipe, chunk, sizeof chunk, &got, nullptr) && got > 0) text->append(chunk, got);
    };
    std::thread outThread(drain, outRead, &run.output);
    std::thread errThread;
    if (apart) errThread = std::thread(drain, errRead, &run.errors);
    const bool ended = WaitForSingleObject(process.Get(), timeoutMs) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(process.Get(), 99);
    outThread.join();  // the pipes close with the child
    if (errThread.joinable()) errThread.join();
    DWORD code = 0;
    if (ended && GetExitCodeProcess(process.Get(), &code)) run.status = static_cast<long>(code);
    return run;
}

long RunToEnd(const std::string& program, const std::string& arguments, std::string* output, DWORD timeoutMs) {
    ProgramRun run = RunProgram(program, arguments, ErrorStream::kWithOutput, timeoutMs);
    if (output) *output = std::move(run.output);
    return run.status;
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

namespace {

std::vector<WindowLayout> PeerLayouts(const std::vector<std::string>& titles) {
    std::vector<WindowLayout> layouts;
    for (const std::string& title : titles) {
        WindowLayout layout;
        layout.title = title;
        layouts.push_back(layout);
    }
    return layouts;
}

}  // namespace

PeerWindows::PeerWindows(const std::vector<std::string>& titles)
    : windows_(kPeerClass, PeerLayouts(titles), [this](HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
          *result = 0;  // WM_CLOSE too: a peer stays until the test ends
          return Record(window, message, wParam, lParam);
      }) {}

bool PeerWindows::Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message < WM_USER && message != WM_CLOSE) return false;
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    std::lock_guard<std::mutex> hold(lock_);
    log_.push_back({title, message, wParam, lParam, NowMicroseconds()});
    return true;
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
