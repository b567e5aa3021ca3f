#include "hid_entry_points.h"

#include "debug_capture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace brenik::hid {
namespace {

std::vector<std::string> g_calls;

int Open(void*, unsigned int key, unsigned int device) {
    g_calls.push_back("open " + std::to_string(key) + " " + std::to_string(device));
    return 0;
}
int Close() { g_calls.push_back("close"); return 0; }
int OpenFeature() { g_calls.push_back("openFeature"); return 1; }
int CloseFeature() { g_calls.push_back("closeFeature"); return 0; }
int Set(unsigned char* buffer, int length) { g_calls.push_back("set " + std::to_string(buffer[0]) + " " + std::to_string(length)); return 1; }
int Get(unsigned char* buffer, int length) { buffer[1] = 0x42; g_calls.push_back("get " + std::to_string(length)); return 7; }
int MousePid() { g_calls.push_back("mouse"); return 0; }

template <typename Fn>
void* Address(Fn fn) {
    void* address = nullptr;
    std::memcpy(&address, &fn, sizeof address);
    return address;
}

struct FakeLibrary {
    std::map<std::string, void*> exports;
    std::vector<std::string> lookedUp;
};

void FakeLookup(void* context, const char* name, void** address) {
    auto* library = static_cast<FakeLibrary*>(context);
    library->lookedUp.push_back(name);
    auto found = library->exports.find(name);
    *address = found == library->exports.end() ? nullptr : found->second;
}

FakeLibrary CompleteLibrary() {
    FakeLibrary library;
    library.exports = {{"Open_DevMonitor", Address(&Open)},        {"Close_DevMonitor", Address(&Close)},
                       {"Open_FeatureDevice", Address(&OpenFeature)}, {"Close_FeatureDevice", Address(&CloseFeature)},
                       {"SetFeature", Address(&Set)},               {"GetFeature", Address(&Get)},
                       {"GetMousePID", Address(&MousePid)}};
    return library;
}

class HidEntryPointsTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_calls.clear();
        test::ClearDebugLines();
    }
};

TEST_F(HidEntryPointsTest, LooksTheNamesUpInTableOrder) {
    FakeLibrary library = CompleteLibrary();
    HidEntryPoints table;
    ASSERT_TRUE(BindEntryPoints(table, kAllEntryPoints, FakeLookup, &library));
    EXPECT_EQ(library.lookedUp, (std::vector<std::string>{"Open_DevMonitor", "Close_DevMonitor", "Open_FeatureDevice",
                                                          "Close_FeatureDevice", "SetFeature", "GetFeature", "GetMousePID"}));
}

TEST_F(HidEntryPointsTest, TheUpdaterBindsOnlyTheFirstSix) {
    FakeLibrary library = CompleteLibrary();
    library.exports.erase("GetMousePID");
    HidEntryPoints table;
    EXPECT_TRUE(BindEntryPoints(table, kUpdaterEntryPoints, FakeLookup, &library));
    EXPECT_EQ(library.lookedUp.size(), 6u);
    EXPECT_EQ(table.getMousePid, nullptr);
}

TEST_F(HidEntryPointsTest, BoundCallsReachTheLibraryWithTheirArguments) {
    FakeLibrary library = CompleteLibrary();
    HidEntryPoints table;
    ASSERT_TRUE(BindEntryPoints(table, kAllEntryPoints, FakeLookup, &library));
    unsigned char report[3] = {4, 0, 0};
    EXPECT_TRUE(CallOpenDevMonitor(table, nullptr, 1325, 1326));
    EXPECT_TRUE(CallOpenFeatureDevice(table));
    EXPECT_TRUE(CallSetFeature(table, report, 3));
    EXPECT_TRUE(CallGetFeature(table, report, 3)) << "any nonzero result is success";
    EXPECT_EQ(report[1], 0x42);
    EXPECT_TRUE(CallCloseDevMonitor(table));
    EXPECT_TRUE(CallCloseFeatureDevice(table));
    EXPECT_EQ(g_calls, (std::vector<std::string>{"open 1325 1326", "openFeature", "set 4 3", "get 3", "close", "closeFeature"}));
}

TEST_F(HidEntryPointsTest, AMissingNameIsReportedAndNeverCalled) {
    const char* missingEach[] = {"Open_DevMonitor", "Close_DevMonitor", "Open_FeatureDevice", "Close_FeatureDevice",
                                 "SetFeature", "GetFeature"};
    for (const char* missing : missingEach) {
        SCOPED_TRACE(missing);
        g_calls.clear();
        test::ClearDebugLines();
        FakeLibrary library = CompleteLibrary();
        library.exports.erase(missing);
        HidEntryPoints table;
        EXPECT_FALSE(BindEntryPoints(table, kAllEntryPoints, FakeLookup, &library));
        EXPECT_EQ(library.lookedUp.size(), kAllEntryPoints) << "the names after a missing one are still bound";
        EXPECT_TRUE(test::DebugLinesContain(std::string(missing) + " is missing"));

        unsigned char report[3] = {4, 0, 0};
        const bool results[] = {CallOpenDevMonitor(table, nullptr, 1325, 1326), CallCloseDevMonitor(table),
                                CallOpenFeatureDevice(table), CallCloseFeatureDevice(table),
                                CallSetFeature(table, report, 3), CallGetFeature(table, report, 3)};
        for (std::size_t i = 0; i < 6; ++i) {
            EXPECT_EQ(results[i], std::string(missingEach[i]) != missing) << "call " << missingEach[i];
        }
        EXPECT_EQ(g_calls.size(), 5u);
    }
}

TEST_F(HidEntryPointsTest, AnEmptyTableReadsAsNoKeyboard) {
    HidEntryPoints table;
    unsigned char report[3] = {4, 0, 0};
    EXPECT_FALSE(CallOpenFeatureDevice(table));
    EXPECT_FALSE(CallSetFeature(table, report, 3));
    EXPECT_FALSE(CallGetFeature(table, report, 3));
    EXPECT_FALSE(BindEntryPoints(table, kAllEntryPoints, nullptr, nullptr));
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(HidEntryPointsTest, RebindingClearsWhatAnEarlierLibraryBound) {
    FakeLibrary complete = CompleteLibrary();
    HidEntryPoints table;
    ASSERT_TRUE(BindEntryPoints(table, kAllEntryPoints, FakeLookup, &complete));
    FakeLibrary empty;
    EXPECT_FALSE(BindEntryPoints(table, kAllEntryPoints, FakeLookup, &empty));
    EXPECT_FALSE(CallOpenFeatureDevice(table));
    EXPECT_TRUE(g_calls.empty());
}

}  // namespace
}  // namespace brenik::hid
