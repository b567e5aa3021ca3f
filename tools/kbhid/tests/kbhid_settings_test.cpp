#include "kbhid_settings.h"

#include "debug_capture.h"
#include "memory_ini_storage.h"

#include <gtest/gtest.h>

namespace brenik::kbhid {
namespace {

constexpr const char* kPath = "C:\\Kb\\kbhid.ini";

KbhidSettings Load(const std::string& text) {
    ini::test::MemoryIniStorage storage;
    if (!text.empty()) storage.files[kPath] = text;
    ini::CIniFile ini(kPath, storage);
    return LoadKbhidSettings(ini);
}

TEST(KbhidSettingsTest, AMissingFileMeansRealHardwareWithNoDeviceGiven) {
    const KbhidSettings settings = Load("");
    EXPECT_EQ(settings.backend, BackendType::kHardware);
    EXPECT_EQ(settings.pipeName, "BrenikVirtualKeyboard");
    EXPECT_EQ(settings.hardware.vendorId, 0);
    EXPECT_EQ(settings.hardware.eventReportId, 5);
}

TEST(KbhidSettingsTest, ReadsTheVirtualBackendAndItsPipe) {
    const KbhidSettings settings = Load("[Backend]\r\nType=Virtual\r\nPipeName=vkb-test.1\r\n");
    EXPECT_EQ(settings.backend, BackendType::kVirtual);
    EXPECT_EQ(settings.pipeName, "vkb-test.1");
}

TEST(KbhidSettingsTest, ReadsHardwareNumbersInDecimalOrHex) {
    const KbhidSettings settings =
        Load("[Backend]\r\nType=hardware\r\n[Hardware]\r\nVendorId=0x1A2B\r\nProductId=4660\r\nUsagePage=0xFF00\r\nEventReportId=7\r\n");
    EXPECT_EQ(settings.backend, BackendType::kHardware);
    EXPECT_EQ(settings.hardware.vendorId, 0x1A2B);
    EXPECT_EQ(settings.hardware.productId, 4660);
    EXPECT_EQ(settings.hardware.usagePage, 0xFF00);
    EXPECT_EQ(settings.hardware.eventReportId, 7);
}

TEST(KbhidSettingsTest, BadValuesFallBackToDefaultsWithALine) {
    struct Row {
        const char* text;
        const char* line;
    };
    const Row rows[] = {
        {"[Backend]\r\nType=usb\r\n", "unknown Backend Type \"usb\""},
        {"[Backend]\r\nPipeName=..\\..\\x\r\n", "PipeName"},
        {"[Backend]\r\nPipeName=a b\r\n", "PipeName"},
        {"[Hardware]\r\nVendorId=0x10000\r\n", "VendorId=65536 is out of range"},
        {"[Hardware]\r\nProductId=-2\r\n", "ProductId=-2 is out of range"},
        {"[Hardware]\r\nEventReportId=256\r\n", "EventReportId=256 is out of range"},
    };
    for (std::size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        test::ClearDebugLines();
        const KbhidSettings settings = Load(rows[i].text);
        EXPECT_TRUE(test::DebugLinesContain(rows[i].line)) << "row " << i;
        EXPECT_EQ(settings.backend, BackendType::kHardware) << "row " << i;
        EXPECT_EQ(settings.pipeName, "BrenikVirtualKeyboard") << "row " << i;
        EXPECT_EQ(settings.hardware.vendorId, 0) << "row " << i;
        EXPECT_EQ(settings.hardware.productId, 0) << "row " << i;
        EXPECT_EQ(settings.hardware.eventReportId, 5) << "row " << i;
    }
}

}  // namespace
}  // namespace brenik::kbhid
