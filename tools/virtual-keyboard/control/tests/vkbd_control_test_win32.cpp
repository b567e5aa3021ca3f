// vkbd as a person uses it, under Wine: help, start, events, faults, a refused command,
// dump, a trace written to a file, stop. The server is started and stopped by vkbd itself;
// TearDown stops it should a test end early.

#include "pipe_client_win32.h"
#include "program_folder.h"
#include "scoped_handle.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace brenik::vkb {
namespace {

struct VkbdRun {
    DWORD exitCode = 999;
    std::string output;  // standard output and error together
};

// Runs tools\vkbd.exe with the arguments and collects what it prints.
VkbdRun Vkbd(const std::string& arguments) {
    VkbdRun run;
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) return run;
    win32::ScopedHandle reader(readEnd);
    win32::ScopedHandle writer(writeEnd);
    SetHandleInformation(reader.Get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = writer.Get();
    startup.hStdInput = nullptr;
    std::string line = "\"" + ProgramFolder() + "vkbd.exe\" " + arguments;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process)) {
        return run;
    }
    win32::ScopedHandle processHandle(process.hProcess);
    win32::ScopedHandle threadHandle(process.hThread);
    writer.Reset();
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(reader.Get(), chunk, sizeof chunk, &got, nullptr) && got > 0) run.output.append(chunk, got);
    WaitForSingleObject(processHandle.Get(), 10000);
    GetExitCodeProcess(processHandle.Get(), &run.exitCode);
    return run;
}

class VkbdControlTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (Vkbd(pipe_ + " status").exitCode == 0) Vkbd(pipe_ + " stop");
    }
    VkbdRun Command(const std::string& words) { return Vkbd(words + " " + pipe_); }

    std::string pipeName_ = "BrenikVkbdTest" + std::to_string(GetCurrentProcessId());
    std::string pipe_ = "--pipe " + pipeName_;
};

bool Contains(const VkbdRun& run, const std::string& text) { return run.output.find(text) != std::string::npos; }

TEST_F(VkbdControlTest, HelpListsTheCommands) {
    const VkbdRun help = Vkbd("help");
    EXPECT_EQ(help.exitCode, 0u);
    for (const char* text : {"vkbd start", "vkbd profile N", "vkbd record-macro KEY", "vkbd fault busy COUNT", "vkbd dump",
                             "vkbd trace [FILE]"}) {
        EXPECT_TRUE(Contains(help, text)) << text;
    }
    EXPECT_EQ(Vkbd("").exitCode, 2u) << "no command is a usage error";
    EXPECT_EQ(Vkbd("--pipe").exitCode, 2u);
}

TEST_F(VkbdControlTest, ASessionFromStartToStop) {
    const VkbdRun notRunning = Command("status");
    EXPECT_EQ(notRunning.exitCode, 1u);
    EXPECT_TRUE(Contains(notRunning, "not running")) << notRunning.output;

    const VkbdRun start = Command("start");
    ASSERT_EQ(start.exitCode, 0u) << start.output;
    EXPECT_TRUE(Contains(start, "server started on " + pipeName_));
    EXPECT_TRUE(Contains(Command("start"), "already running"));
    EXPECT_TRUE(Contains(Command("status"), "plugged in, profile 1, standard layer"));

    struct Row {
        const char* command;
        DWORD exitCode;
        const char* output;
    };
    const Row rows[] = {
        {"profile 3", 0, "done: profile 3"},
        {"profile 9", 1, "expected a number from 1 to 5"},
        {"record-macro 5", 0, "done: record-macro 5"},
        {"layer", 0, "done: layer"},
        {"volume 40", 0, "done"},
        {"fault busy 2", 0, "done: fault busy 2"},
        {"fault clear", 0, "done"},
        {"unplug", 0, "done: unplug"},
        {"status", 0, "unplugged, profile 3, standard layer"},  // unplugging drops the layer
        {"profile 2", 1, "the keyboard is unplugged"},
        {"plug", 0, "done: plug"},
        {"launch", 1, "expected 1 argument"},
        {"jump", 1, "unknown command \"jump\""},
        {"dump", 0, "\"currentProfile\": 2"},
    };
    for (std::size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        const VkbdRun run = Command(rows[i].command);
        EXPECT_EQ(run.exitCode, rows[i].exitCode) << "row " << i << ": " << run.output;
        EXPECT_TRUE(Contains(run, rows[i].output)) << "row " << i << ": " << run.output;
    }

    // A report through the pipe, as kbhid.dll sends it, then the trace into a file.
    vkb::pipe::Request request;
    request.kind = vkb::pipe::Kind::kSetFeature;
    request.report = {5, 3, 4};
    vkb::pipe::Reply reply;
    ASSERT_TRUE(vkb::pipe::CallServer(pipeName_, request, reply));
    const std::string tracePath = ProgramFolder() + "vkbd-test-trace.txt";
    DeleteFileA(tracePath.c_str());
    const VkbdRun trace = Command("trace \"" + tracePath + "\"");
    EXPECT_EQ(trace.exitCode, 0u) << trace.output;
    std::FILE* file = std::fopen(tracePath.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    char text[4096] = {};
    const std::size_t length = std::fread(text, 1, sizeof text - 1, file);
    std::fclose(file);
    DeleteFileA(tracePath.c_str());
    EXPECT_NE(std::string(text, length).find("SET current-profile profile=4"), std::string::npos) << text;

    const VkbdRun stop = Command("stop");
    EXPECT_EQ(stop.exitCode, 0u) << stop.output;
    EXPECT_TRUE(Contains(stop, "server stopped"));
    EXPECT_EQ(Command("status").exitCode, 1u);
    EXPECT_EQ(Command("stop").exitCode, 1u) << "nothing left to stop";
}

}  // namespace
}  // namespace brenik::vkb
