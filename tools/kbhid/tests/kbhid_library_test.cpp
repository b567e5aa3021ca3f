#include "kbhid_library.h"

#include "debug_capture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brenik::kbhid {
namespace {

struct FakeBackend : IDeviceBackend {
    std::vector<std::string>* calls;
    bool present = true;
    explicit FakeBackend(std::vector<std::string>* log) : calls(log) {}
    bool StartMonitor(std::shared_ptr<IEventSink> sink) override {
        calls->push_back("start");
        return sink != nullptr;
    }
    void StopMonitor() override { calls->push_back("stop"); }
    bool OpenFeature() override {
        calls->push_back("open");
        return present;
    }
    void CloseFeature() override { calls->push_back("close"); }
    bool SetFeature(const std::uint8_t* report, std::size_t length) override {
        calls->push_back("set " + std::to_string(report[0]) + "/" + std::to_string(length));
        return true;
    }
    bool GetFeature(std::uint8_t* report, std::size_t length) override {
        calls->push_back("get " + std::to_string(report[0]) + "/" + std::to_string(length));
        report[1] = 1;
        return true;
    }
};

struct NullSink : IEventSink {
    void KeyEvent(std::uint16_t, std::uint16_t) override {}
    void DeviceChanged(bool) override {}
};

class KbhidLibraryTest : public ::testing::Test {
protected:
    void SetUp() override { test::ClearDebugLines(); }
    std::vector<std::string> calls;
    FakeBackend* backend = new FakeBackend(&calls);
    KbhidLibrary library{std::unique_ptr<IDeviceBackend>(backend)};
};

TEST_F(KbhidLibraryTest, BadArgumentsNeverReachTheBackend) {
    ASSERT_TRUE(library.OpenFeatureDevice());
    calls.clear();
    std::uint8_t report[3] = {4, 0, 0};
    struct Row {
        std::uint8_t* buffer;
        int length;
    };
    const Row rows[] = {{nullptr, 3}, {report, 0}, {report, -1}, {nullptr, 0}};
    for (std::size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        EXPECT_FALSE(library.SetFeature(rows[i].buffer, rows[i].length)) << "row " << i;
        EXPECT_FALSE(library.GetFeature(rows[i].buffer, rows[i].length)) << "row " << i;
    }
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(test::DebugLinesContain("kbhid SetFeature refused: null buffer, length 3"));
    EXPECT_TRUE(test::DebugLinesContain("kbhid GetFeature refused: a buffer, length -1"));
}

TEST_F(KbhidLibraryTest, FeatureCallsNeedAnOpenDevice) {
    std::uint8_t report[3] = {4, 0, 0};
    EXPECT_FALSE(library.SetFeature(report, 3)) << "never opened";
    ASSERT_TRUE(library.OpenFeatureDevice());
    EXPECT_TRUE(library.SetFeature(report, 3));
    EXPECT_TRUE(library.GetFeature(report, 3));
    EXPECT_EQ(report[1], 1);
    library.CloseFeatureDevice();
    EXPECT_FALSE(library.SetFeature(report, 3));
    EXPECT_FALSE(library.GetFeature(report, 3));
    EXPECT_TRUE(test::DebugLinesContain("the feature device is not open"));
    EXPECT_EQ(calls, (std::vector<std::string>{"open", "set 4/3", "get 4/3", "close"}));
}

TEST_F(KbhidLibraryTest, AnAbsentKeyboardLeavesTheDeviceClosed) {
    backend->present = false;
    EXPECT_FALSE(library.OpenFeatureDevice());
    std::uint8_t report[3] = {5, 0, 0};
    EXPECT_FALSE(library.GetFeature(report, 3));
    library.CloseFeatureDevice();
    EXPECT_EQ(calls, (std::vector<std::string>{"open"})) << "nothing to close";
}

TEST_F(KbhidLibraryTest, OpeningTwiceClosesTheFirstOpening) {
    ASSERT_TRUE(library.OpenFeatureDevice());
    ASSERT_TRUE(library.OpenFeatureDevice());
    EXPECT_EQ(calls, (std::vector<std::string>{"open", "close", "open"}));
}

TEST_F(KbhidLibraryTest, OneMonitorAtATime) {
    library.OpenDevMonitor(nullptr);
    EXPECT_TRUE(test::DebugLinesContain("no window"));
    library.OpenDevMonitor(std::make_shared<NullSink>());
    library.OpenDevMonitor(std::make_shared<NullSink>());
    library.CloseDevMonitor();
    library.CloseDevMonitor();
    EXPECT_EQ(calls, (std::vector<std::string>{"start", "stop", "start", "stop"}));
}

TEST(KbhidLibraryLifetimeTest, DestructionStopsWhatIsRunning) {
    std::vector<std::string> log;
    auto library = std::make_unique<KbhidLibrary>(std::make_unique<FakeBackend>(&log));
    library->OpenDevMonitor(std::make_shared<NullSink>());
    ASSERT_TRUE(library->OpenFeatureDevice());
    library.reset();
    EXPECT_EQ(log, (std::vector<std::string>{"start", "open", "stop", "close"}));
}

}  // namespace
}  // namespace brenik::kbhid
