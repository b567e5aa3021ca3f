#include "hid_entry_points.h"

#include "debug_output.h"

#include <cstring>

namespace brenik::hid {

const char* const kEntryPointNames[kAllEntryPoints] = {
    "Open_DevMonitor", "Close_DevMonitor", "Open_FeatureDevice", "Close_FeatureDevice",
    "SetFeature",      "GetFeature",       "GetMousePID",
};

namespace {

// Slot i of the table receives the address of name i. Function pointers are copied from the
// looked-up address byte for byte, the one conversion C and C++ leave to the platform.
template <typename Fn>
void Store(Fn& slot, void* address) {
    static_assert(sizeof(Fn) == sizeof(void*), "entry points are plain code addresses");
    std::memcpy(&slot, &address, sizeof slot);
}

void StoreSlot(HidEntryPoints& table, std::size_t index, void* address) {
    switch (index) {
    case 0: Store(table.openDevMonitor, address); break;
    case 1: Store(table.closeDevMonitor, address); break;
    case 2: Store(table.openFeatureDevice, address); break;
    case 3: Store(table.closeFeatureDevice, address); break;
    case 4: Store(table.setFeature, address); break;
    case 5: Store(table.getFeature, address); break;
    case 6: Store(table.getMousePid, address); break;
    default: break;
    }
}

}  // namespace

bool BindEntryPoints(HidEntryPoints& table, std::size_t count, LookupEntryPoint lookup, void* context) {
    table = HidEntryPoints{};
    if (lookup == nullptr) return false;
    if (count > kAllEntryPoints) count = kAllEntryPoints;
    bool all = true;
    for (std::size_t i = 0; i < count; ++i) {
        void* address = nullptr;
        lookup(context, kEntryPointNames[i], &address);
        if (address == nullptr) {
            DebugPrintf("kbhid binding: entry point %s is missing\n", kEntryPointNames[i]);
            all = false;
            continue;
        }
        StoreSlot(table, i, address);
    }
    return all;
}

bool CallOpenDevMonitor(const HidEntryPoints& table, void* window, unsigned int keyMessage, unsigned int deviceMessage) {
    if (table.openDevMonitor == nullptr) return false;
    table.openDevMonitor(window, keyMessage, deviceMessage);
    return true;
}

bool CallCloseDevMonitor(const HidEntryPoints& table) {
    if (table.closeDevMonitor == nullptr) return false;
    table.closeDevMonitor();
    return true;
}

bool CallOpenFeatureDevice(const HidEntryPoints& table) {
    return table.openFeatureDevice != nullptr && table.openFeatureDevice() != 0;
}

bool CallCloseFeatureDevice(const HidEntryPoints& table) {
    if (table.closeFeatureDevice == nullptr) return false;
    table.closeFeatureDevice();
    return true;
}

bool CallSetFeature(const HidEntryPoints& table, unsigned char* buffer, int length) {
    return table.setFeature != nullptr && table.setFeature(buffer, length) != 0;
}

bool CallGetFeature(const HidEntryPoints& table, unsigned char* buffer, int length) {
    return table.getFeature != nullptr && table.getFeature(buffer, length) != 0;
}

}  // namespace brenik::hid
