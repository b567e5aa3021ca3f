// End to end under Wine: the virtual keyboard's server in its own process, kbhid.dll loaded
// through the programs' binding, every report of the monitor and the updater written and
// read through it, posted key and device messages, the trace, bad calls, and two processes
// using the library at once. Run with "--client PIPE ROUNDS" this executable is the second
// process of that last test.

#include "hid_library.h"
#include "keyboard_device_constants.h"
#include "pipe_client_win32.h"
#include "program_folder.h"
#include "scoped_handle.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace brenik::kbhid {
namespace {

using Bytes = std::vector<std::uint8_t>;
namespace pipe = vkb::pipe;

constexpr UINT kKeyMessage = 1325;
constexpr UINT kDeviceMessage = 1326;
constexpr DWORD kMessageTimeoutMs = 5000;
constexpr DWORD kServerTimeoutMs = 10000;

std::string g_pipeName;

bool Control(const std::string& line, std::string* answer = nullptr) {
    pipe::Request request;
    request.kind = pipe::Kind::kControl;
    request.command = line;
    pipe::Reply reply;
    if (!pipe::CallServer(g_pipeName, request, reply)) return false;
    if (answer != nullptr) *answer = pipe::ReplyText(reply);
    return reply.ok;
}

bool WriteFileText(const std::string& path, const std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && ok;
}

win32::ScopedHandle StartProcess(const std::string& commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process)) {
        return win32::ScopedHandle();
    }
    CloseHandle(process.hThread);
    return win32::ScopedHandle(process.hProcess);
}

// The server for the whole run, on a pipe of its own; stopped by its own command, and
// ended by its handle should that fail, so no run leaves it behind.
class ServerEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        g_pipeName = "BrenikVkbTest" + std::to_string(GetCurrentProcessId());
        ASSERT_TRUE(WriteFileText(ProgramFolder() + "kbhid.ini", "[Backend]\r\nType=virtual\r\nPipeName=" + g_pipeName + "\r\n"));
        server_ = StartProcess("\"" + ProgramFolder() + "vkbd-server.exe\" --pipe " + g_pipeName);
        ASSERT_TRUE(server_.Valid());
        const ULONGLONG deadline = GetTickCount64() + kServerTimeoutMs;
        while (!Control("status") && GetTickCount64() < deadline) Sleep(50);
        ASSERT_TRUE(Control("status")) << "the server did not come up";
    }

    void TearDown() override {
        if (!server_.Valid()) return;
        Control("stop");
        if (WaitForSingleObject(server_.Get(), kServerTimeoutMs) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "the server did not stop on its command";
            TerminateProcess(server_.Get(), 1);
            WaitForSingleObject(server_.Get(), kServerTimeoutMs);
        }
        server_.Reset();
    }

    HANDLE Server() const { return server_.Get(); }

private:
    win32::ScopedHandle server_;
};

ServerEnvironment* g_environment = nullptr;

Bytes Report(std::uint8_t id, std::size_t length) {
    Bytes report(length, 0);
    report[0] = id;
    return report;
}

class KbhidVirtualKeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(library_.Load(hid::kAllEntryPoints));
        ASSERT_TRUE(library_.OpenFeatureDevice());
    }
    void TearDown() override {
        library_.CloseDevMonitor();
        library_.CloseFeatureDevice();
        Control("fault clear");
        Control("plug");
    }

    bool Set(Bytes report) { return library_.SetFeature(report.data(), static_cast<int>(report.size())); }
    Bytes Get(std::uint8_t id, std::size_t length) {
        Bytes report = Report(id, length);
        if (!library_.GetFeature(report.data(), static_cast<int>(length))) return {};
        return report;
    }
    // Polls a status report while it answers busy; 0 when a read is refused.
    std::uint8_t Status(std::uint8_t id = 4) {
        for (int poll = 0; poll < 20; ++poll) {
            const Bytes status = Get(id, 3);
            if (status.empty()) return 0;
            if (status[1] != 3) return status[1];
        }
        return 3;
    }
    bool Write(Bytes report) { return Set(std::move(report)) && Status() == 1; }
    Bytes SelectAndRead(std::uint8_t profile, std::uint8_t selector, std::uint8_t id, std::size_t length) {
        if (!Set(Bytes{4, profile, selector})) return {};
        Status();
        return Get(id, length);
    }

    hid::HidLibrary library_;
};

TEST(KbhidBindingTest, AMissingLibraryReadsAsNoKeyboard) {
    hid::HidLibrary library;
    EXPECT_FALSE(library.LoadFrom(ProgramFolder() + "no-such-kbhid.dll", hid::kAllEntryPoints));
    EXPECT_FALSE(library.Loaded());
    unsigned char report[3] = {4, 0, 0};
    EXPECT_FALSE(library.OpenFeatureDevice());
    EXPECT_FALSE(library.SetFeature(report, 3));
    EXPECT_FALSE(library.GetFeature(report, 3));
}

TEST(KbhidBindingTest, BindsAllSevenNamesAndUnloads) {
    hid::HidLibrary library;
    ASSERT_TRUE(library.Load(hid::kAllEntryPoints));
    EXPECT_NE(library.EntryPoints().getMousePid, nullptr);
    ASSERT_TRUE(library.Load(hid::kUpdaterEntryPoints));
    EXPECT_EQ(library.EntryPoints().getMousePid, nullptr) << "the updater binds six";
    library.Unload();
    EXPECT_FALSE(library.Loaded());
    EXPECT_EQ(GetModuleHandleA("kbhid.dll"), nullptr) << "unloading frees the library";
}

// With the hardware backend chosen, nothing under Wine is our keyboard: the library says so
// and its monitor starts and stops cleanly. The settings are read when the library loads.
TEST(KbhidBindingTest, TheHardwareBackendFindsNoKeyboardHere) {
    const std::string settings = ProgramFolder() + "kbhid.ini";
    ASSERT_TRUE(WriteFileText(settings, "[Backend]\r\nType=hardware\r\n[Hardware]\r\nVendorId=0x1A2B\r\nProductId=0x3C4D\r\n"
                                        "UsagePage=0xFF00\r\n"));
    {
        hid::HidLibrary library;
        ASSERT_TRUE(library.Load(hid::kAllEntryPoints));
        HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(library.OpenDevMonitor(window, kKeyMessage, kDeviceMessage));
        EXPECT_FALSE(library.OpenFeatureDevice());
        unsigned char report[3] = {4, 0, 0};
        EXPECT_FALSE(library.GetFeature(report, 3));
        EXPECT_TRUE(library.CloseDevMonitor());
        EXPECT_TRUE(library.CloseFeatureDevice());
        DestroyWindow(window);
    }
    EXPECT_EQ(GetModuleHandleA("kbhid.dll"), nullptr) << "the monitor thread gave its reference back";
    ASSERT_TRUE(WriteFileText(settings, "[Backend]\r\nType=virtual\r\nPipeName=" + g_pipeName + "\r\n"));
}

TEST_F(KbhidVirtualKeyboardTest, EveryMonitorReportIsWrittenAndReadBack) {
    ASSERT_TRUE(Control("trace clear"));
    ASSERT_TRUE(Write(Bytes{5, 3, 2}));
    EXPECT_EQ(Get(5, 3), (Bytes{5, 3, 2}));

    Bytes keys = Report(6, 152);
    keys[1] = 152;
    keys[2] = 1;
    for (std::size_t i = 8; i < keys.size(); ++i) keys[i] = static_cast<std::uint8_t>(i);
    ASSERT_TRUE(Write(keys));
    EXPECT_EQ(SelectAndRead(1, 0x40, 6, 152), keys);

    ASSERT_TRUE(Write(Bytes{7, 4, 1, 0x2D}));
    EXPECT_EQ(SelectAndRead(1, 0x50, 7, 4), (Bytes{7, 4, 1, 0x2D}));

    struct Block {
        std::uint8_t id, length, firstRecord, selector;
    };
    for (const Block& block : {Block{8, 48, 12, 0x60}, Block{9, 40, 10, 0x70}, Block{19, 18, 3, 0xC0}}) {
        Bytes functions = Report(block.id, block.length);
        functions[1] = block.length;
        functions[2] = 1;
        for (std::size_t at = block.firstRecord; at + 2 < functions.size(); at += 3) functions[at] = 0x3A;
        functions[block.firstRecord] = 0xB8;  // a key combination carries its two bytes
        functions[block.firstRecord + 1] = 0x02;
        functions[block.firstRecord + 2] = 0x04;
        ASSERT_TRUE(Write(functions)) << "report " << int(block.id);
        EXPECT_EQ(SelectAndRead(1, block.selector, block.id, block.length), functions) << "report " << int(block.id);
    }

    Bytes lighting = Report(11, 32);
    lighting[1] = 32;
    lighting[2] = 1;
    for (std::size_t i = 3; i < 30; ++i) lighting[i] = static_cast<std::uint8_t>(i);
    ASSERT_TRUE(Write(lighting));
    EXPECT_EQ(SelectAndRead(1, 0x90, 11, 32), lighting);

    Bytes macro = Report(20, 1674);
    macro[1] = 0x8A;
    macro[2] = 0x06;
    macro[3] = 1;
    macro[4] = 7;
    std::memset(macro.data() + 6, ' ', 64);
    std::memcpy(macro.data() + 38, "Combo", 5);
    macro[70] = 2;
    const std::uint8_t actions[8] = {0x04, 1, 20, 0, 0x04, 2, 20, 0};
    std::memcpy(macro.data() + 72, actions, sizeof actions);
    unsigned sum = 0;
    for (std::size_t i = 0; i < 1672; ++i) sum += macro[i];
    macro[1672] = static_cast<std::uint8_t>(sum & 0xFF);
    macro[1673] = static_cast<std::uint8_t>((sum >> 8) & 0xFF);
    ASSERT_TRUE(Write(macro));
    EXPECT_EQ(SelectAndRead(1, 7, 20, 1674), macro);

    Bytes launch = Report(74, 40);
    launch[1] = 40;
    launch[2] = 1;
    launch[3] = 209 + 9;
    std::memcpy(launch.data() + 4, "notepad.exe", 11);
    launch[36] = 0x78;
    launch[39] = 0x12;
    ASSERT_TRUE(Write(launch));
    EXPECT_EQ(SelectAndRead(1, 209 + 9, 74, 40), launch);

    Bytes token = Report(17, 18);
    token[1] = 18;
    for (std::size_t i = 2; i < 6; ++i) token[i] = static_cast<std::uint8_t>(0x60 + i);
    ASSERT_TRUE(Write(token));
    EXPECT_EQ(Get(17, 18), token);

    ASSERT_TRUE(Write(Bytes{16, 3, 1}));
    ASSERT_TRUE(Write(Bytes{18, 8, 2, 0, 0, 0, 4, 50}));
    ASSERT_TRUE(Write(Bytes{12, 3, 12}));
    const Bytes info = Get(14, 8);
    ASSERT_EQ(info.size(), 8u);
    EXPECT_EQ(info[0], 14);

    std::string dump;
    ASSERT_TRUE(Control("dump", &dump));
    EXPECT_NE(dump.find("\"hostState\": 1"), std::string::npos) << dump.substr(0, 400);
    EXPECT_NE(dump.find("\"volume\": 50"), std::string::npos);
    EXPECT_NE(dump.find("\"wholeKeyboardCommands\": 1"), std::string::npos);

    std::string trace;
    ASSERT_TRUE(Control("trace", &trace));
    const char* expectedLines[] = {"SET current-profile profile=2", "GET status=1", "SET select profile=1 selector=0x40", "GET standard-keys",
                                   "SET macro profile=1 key=7 actions=2", "GET macro", "SET launch profile=1 key=9",
                                   "SET sync-token", "SET host-state value=1", "SET volume profile=2 level=4 volume=50",
                                   "SET whole-keyboard", "GET device-info"};
    std::size_t from = 0;
    for (const char* line : expectedLines) {
        const std::size_t at = trace.find(line, from);
        EXPECT_NE(at, std::string::npos) << "trace lacks \"" << line << "\" in order";
        if (at != std::string::npos) from = at;
    }
}

TEST_F(KbhidVirtualKeyboardTest, TheUpdaterSequenceLeavesTheImageInTheKeyboard) {
    ASSERT_TRUE(library_.Load(hid::kUpdaterEntryPoints));
    ASSERT_TRUE(library_.OpenFeatureDevice());
    ASSERT_TRUE(Control("trace clear"));
    auto command = [](std::uint8_t code) {
        Bytes report = Report(device::kUpdateCommandReportId, device::kUpdateCommandReportLength);
        report[1] = code;
        return report;
    };
    auto send = [&](const Bytes& report) { return Set(report) ? Status(device::kUpdateStatusReportId) : 0; };

    Bytes start = command(device::kDfuStart);
    std::memcpy(start.data() + 4, device::kDfuUnlockCode.data(), device::kDfuUnlockCode.size());
    EXPECT_EQ(send(start), 1);
    Bytes size = command(device::kDfuSize);
    size[4] = 0x01;  // 1,025 bytes: one whole block and one byte
    size[5] = 0x04;
    std::memcpy(size.data() + 8, device::kDfuCommandSignature.data(), 4);
    EXPECT_EQ(send(size), 1);
    Bytes prepare = command(device::kDfuPrepare);
    prepare[4] = device::kDfuPrepareMarker;
    EXPECT_EQ(send(prepare), 1);
    Bytes image(1025);
    for (std::size_t i = 0; i < 1024; ++i) image[i] = static_cast<std::uint8_t>(i * 3);
    image[1024] = 0x77;
    for (std::uint16_t block = 0; block < 2; ++block) {
        Bytes data = command(device::kDfuBlockData);
        unsigned sum = 0;
        for (std::size_t i = 0; i < 1024; ++i) {
            const std::size_t at = block * 1024u + i;
            const std::uint8_t byte = at < image.size() ? image[at] : 0;
            data[2 + i] = byte;
            sum += byte;
        }
        Bytes header = command(device::kDfuBlockHeader);
        header[4] = static_cast<std::uint8_t>(block);
        header[6] = static_cast<std::uint8_t>(sum & 0xFF);
        header[7] = static_cast<std::uint8_t>((sum >> 8) & 0xFF);
        std::memcpy(header.data() + 8, device::kDfuCommandSignature.data(), 4);
        EXPECT_EQ(send(header), 1) << "block " << block;
        EXPECT_EQ(send(data), 1) << "block " << block;
    }
    EXPECT_EQ(send(command(device::kDfuFinish)), 1);

    std::string status;
    ASSERT_TRUE(Control("status", &status));
    EXPECT_NE(status.find("1 update(s) finished"), std::string::npos) << status;
    std::string dump;
    ASSERT_TRUE(Control("dump", &dump));
    EXPECT_NE(dump.find("\"imageSize\": 1025"), std::string::npos);
    std::string kept;
    ASSERT_TRUE(Control("image", &kept));
    EXPECT_EQ(Bytes(kept.begin(), kept.end()), image) << "the keyboard keeps exactly the image sent";
    std::string trace;
    ASSERT_TRUE(Control("trace", &trace));
    const char* expectedLines[] = {"SET DFU_START", "SET DFU_SIZE size=1025", "SET DFU_PREPARE",
                                   "SET DFU_BLOCK_HEADER block=0", "SET DFU_BLOCK_DATA", "SET DFU_BLOCK_HEADER block=1 sum=0x0077",
                                   "SET DFU_FINISH", "GET update-status=1"};
    std::size_t from = 0;
    for (const char* line : expectedLines) {
        const std::size_t at = trace.find(line, from);
        EXPECT_NE(at, std::string::npos) << "trace lacks \"" << line << "\" in order";
        if (at != std::string::npos) from = at;
    }
}

TEST_F(KbhidVirtualKeyboardTest, BadCallsFailCleanly) {
    Bytes report{5, 3, 0};
    EXPECT_FALSE(library_.SetFeature(nullptr, 3));
    EXPECT_FALSE(library_.GetFeature(nullptr, 3));
    EXPECT_FALSE(library_.SetFeature(report.data(), 0));
    EXPECT_FALSE(library_.GetFeature(report.data(), 0));
    Bytes large = Report(5, 200);
    EXPECT_FALSE(library_.GetFeature(large.data(), 200)) << "longer than the report";
    EXPECT_FALSE(library_.SetFeature(large.data(), 200));
    Bytes huge = Report(20, 70000);
    EXPECT_FALSE(library_.SetFeature(huge.data(), 70000));
    EXPECT_FALSE(library_.GetFeature(huge.data(), 70000));
    EXPECT_TRUE(Set(report)) << "the library goes on after refusals";

    library_.CloseFeatureDevice();
    EXPECT_FALSE(library_.SetFeature(report.data(), 3));
    EXPECT_FALSE(library_.GetFeature(report.data(), 3));

    ASSERT_TRUE(Control("unplug"));
    EXPECT_FALSE(library_.OpenFeatureDevice()) << "an unplugged keyboard does not open";
    ASSERT_TRUE(Control("plug"));
    EXPECT_TRUE(library_.OpenFeatureDevice());
    ASSERT_TRUE(Control("fault refuse-send 1"));
    EXPECT_FALSE(Set(report));
    EXPECT_TRUE(Set(report));
}

TEST_F(KbhidVirtualKeyboardTest, MalformedPipeMessagesAreRefusedAndTheServerGoesOn) {
    win32::ScopedHandle raw;
    for (int attempt = 0; attempt < 50 && !raw.Valid(); ++attempt) {
        raw.Reset(CreateFileA(pipe::PipePath(g_pipeName).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                              nullptr));
        if (!raw.Valid()) WaitNamedPipeA(pipe::PipePath(g_pipeName).c_str(), 100);
    }
    ASSERT_TRUE(raw.Valid());
    DWORD mode = PIPE_READMODE_MESSAGE;
    ASSERT_TRUE(SetNamedPipeHandleState(raw.Get(), &mode, nullptr, nullptr));
    const std::uint8_t garbage[] = {2, 0, 9, 0, 0, 0, 1};
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(raw.Get(), garbage, sizeof garbage, &written, nullptr));
    std::uint8_t answer[256] = {};
    DWORD got = 0;
    ASSERT_TRUE(ReadFile(raw.Get(), answer, sizeof answer, &got, nullptr));
    ASSERT_GE(got, pipe::kHeaderBytes);
    EXPECT_EQ(answer[0], static_cast<std::uint8_t>(pipe::Kind::kRefused));
    EXPECT_TRUE(Control("status")) << "still serving";
    EXPECT_TRUE(Set(Bytes{5, 3, 0}));
}

class MessageWindow {
public:
    MessageWindow() {
        window_ = CreateWindowExA(0, "STATIC", "kbhid test", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    }
    ~MessageWindow() {
        if (window_ != nullptr) DestroyWindow(window_);
    }
    HWND Get() const { return window_; }

    // Pumps messages until the one wanted arrives; what arrives is kept in order.
    bool WaitFor(UINT message, WPARAM wParam, LPARAM lParam) {
        const ULONGLONG deadline = GetTickCount64() + kMessageTimeoutMs;
        while (GetTickCount64() < deadline) {
            MSG msg;
            while (PeekMessageA(&msg, window_, 0, 0, PM_REMOVE)) {
                if (msg.message == kKeyMessage || msg.message == kDeviceMessage) {
                    received.push_back(Describe(msg.message, msg.wParam, msg.lParam));
                    if (msg.message == message && msg.wParam == wParam && msg.lParam == lParam) return true;
                }
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        }
        return false;
    }

    static std::string Describe(UINT message, WPARAM wParam, LPARAM lParam) {
        char text[48];
        std::snprintf(text, sizeof text, "%u %04X %04X", message, static_cast<unsigned>(wParam), static_cast<unsigned>(lParam));
        return text;
    }

    std::vector<std::string> received;

private:
    HWND window_ = nullptr;
};

TEST_F(KbhidVirtualKeyboardTest, EventsAndPresenceArriveAsPostedMessages) {
    MessageWindow window;
    ASSERT_NE(window.Get(), nullptr);
    ASSERT_TRUE(library_.OpenDevMonitor(window.Get(), kKeyMessage, kDeviceMessage));

    struct Row {
        const char* command;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    const Row rows[] = {
        {"profile 3", kKeyMessage, 0x3000, 3},       {"layer extended", kKeyMessage, 0xE000, 1},
        {"lighting 2", kKeyMessage, 0xD000, 2},      {"winlock 1 on", kKeyMessage, 0xF000, 0x01FF},
        {"volume 64", kKeyMessage, 0xA000, 64},      {"media 0x21", kKeyMessage, 0x7000, 0x21},
        {"launch 4", kKeyMessage, 0x6000, 4},        {"play-macro 2", kKeyMessage, 0x4000, 2},
        {"countdown 3", kKeyMessage, 0xB000, 0x0300}, {"countdown stop", kKeyMessage, 0xC000, 0x0100},
        {"record-macro 5", kKeyMessage, 0x5000, 0x0305}, {"unplug", kDeviceMessage, 0, 0},
        {"plug", kDeviceMessage, 1, 0},
    };
    for (std::size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        ASSERT_TRUE(Control(rows[i].command)) << "row " << i;
        EXPECT_TRUE(window.WaitFor(rows[i].message, rows[i].wParam, rows[i].lParam))
            << "row " << i << " (" << rows[i].command << ") wanted "
            << MessageWindow::Describe(rows[i].message, rows[i].wParam, rows[i].lParam);
    }
    const std::vector<std::string> recording(window.received.end() - 5, window.received.end() - 2);
    EXPECT_EQ(recording, (std::vector<std::string>{"1325 5000 0100", "1325 5000 0205", "1325 5000 0305"}));

    // The macro recorded on the keyboard reads back as the monitor's job 4 would read it.
    ASSERT_TRUE(library_.OpenFeatureDevice());
    const Bytes macro = SelectAndRead(2, 4, 20, 1674);
    ASSERT_EQ(macro.size(), 1674u);
    EXPECT_EQ(macro[4], 4) << "key number 5 is key index 4";
    EXPECT_EQ(macro[70], 6) << "a, b, c pressed and released";
}

// The second process of the test below: writes its own sync token and reads the token back
// many times; each reply must be one whole token (16 equal bytes), its own or the other's.
int RunClient(const std::string& pipeName, int rounds, std::uint8_t fill) {
    g_pipeName = pipeName;
    hid::HidLibrary library;
    if (!library.Load(hid::kAllEntryPoints) || !library.OpenFeatureDevice()) return 10;
    for (int round = 0; round < rounds; ++round) {
        Bytes token(18, fill);
        token[0] = 17;
        token[1] = 18;
        if (!library.SetFeature(token.data(), 18)) return 11;
        Bytes reply(18, 0);
        reply[0] = 17;
        if (!library.GetFeature(reply.data(), 18)) return 12;
        for (std::size_t i = 3; i < 18; ++i) {
            if (reply[i] != reply[2]) return 13;
        }
    }
    return 0;
}

TEST_F(KbhidVirtualKeyboardTest, TwoProcessesAtOnceEachGetWholeReports) {
    char self[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(nullptr, self, MAX_PATH), 0u);
    constexpr int kRounds = 150;
    win32::ScopedHandle other = StartProcess("\"" + std::string(self) + "\" --client " + g_pipeName + " " +
                                             std::to_string(kRounds) + " 170");
    ASSERT_TRUE(other.Valid());
    EXPECT_EQ(RunClient(g_pipeName, kRounds, 0x55), 0);
    ASSERT_EQ(WaitForSingleObject(other.Get(), kServerTimeoutMs * 3), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(other.Get(), &code);
    EXPECT_EQ(code, 0u) << "the other process saw a report that was not whole";
}

// Last: stopping the server is a removal to every open monitor, and a server started again
// with the keyboard plugged in is an arrival.
TEST_F(KbhidVirtualKeyboardTest, ZzAServerThatGoesAndComesBackReadsAsRemovalAndArrival) {
    MessageWindow window;
    ASSERT_TRUE(library_.OpenDevMonitor(window.Get(), kKeyMessage, kDeviceMessage));
    g_environment->TearDown();
    EXPECT_TRUE(window.WaitFor(kDeviceMessage, 0, 0));
    EXPECT_FALSE(library_.OpenFeatureDevice()) << "no server, no keyboard";
    g_environment->SetUp();
    EXPECT_TRUE(window.WaitFor(kDeviceMessage, 1, 0));
    EXPECT_TRUE(library_.OpenFeatureDevice());
    EXPECT_EQ(std::count(window.received.begin(), window.received.end(), "1326 0000 0000"), 1) << "removal told once";
}

}  // namespace
}  // namespace brenik::kbhid

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "--client") == 0) {
        return brenik::kbhid::RunClient(argv[2], std::atoi(argv[3]), static_cast<std::uint8_t>(std::atoi(argv[4])));
    }
    ::testing::InitGoogleTest(&argc, argv);
    brenik::kbhid::g_environment = new brenik::kbhid::ServerEnvironment;
    ::testing::AddGlobalTestEnvironment(brenik::kbhid::g_environment);
    return RUN_ALL_TESTS();
}
