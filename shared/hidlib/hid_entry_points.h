#pragma once
// The binding's table of kbhid entry points, filled by name in a fixed order. This part is
// platform-neutral: it takes a lookup function, so the Windows layer passes GetProcAddress
// and the unit tests a fake. A name the library lacks stays null and is never called: every
// call goes through the Call... helpers, which treat a null entry as a failed call.

#include "kbhid_api.h"

#include <cstddef>

namespace brenik::hid {

struct HidEntryPoints {
    KbhidOpenDevMonitorFn openDevMonitor = nullptr;
    KbhidCloseDevMonitorFn closeDevMonitor = nullptr;
    KbhidOpenFeatureDeviceFn openFeatureDevice = nullptr;
    KbhidCloseFeatureDeviceFn closeFeatureDevice = nullptr;
    KbhidSetFeatureFn setFeature = nullptr;
    KbhidGetFeatureFn getFeature = nullptr;
    KbhidGetMousePidFn getMousePid = nullptr;
};

// The names in table order. The monitor binds all seven; the updater the first six.
constexpr std::size_t kAllEntryPoints = 7;
constexpr std::size_t kUpdaterEntryPoints = 6;
extern const char* const kEntryPointNames[kAllEntryPoints];

// Returns the address of an exported name, or null.
using LookupEntryPoint = void (*)(void* context, const char* name, void** address);

// Looks up the first `count` names in order (count is cut to 7). True only when every one of
// them was found; the ones found are bound either way, the rest left null.
bool BindEntryPoints(HidEntryPoints& table, std::size_t count, LookupEntryPoint lookup, void* context);

// Each returns false (or does nothing) when the entry point is missing.
bool CallOpenDevMonitor(const HidEntryPoints& table, void* window, unsigned int keyMessage, unsigned int deviceMessage);
bool CallCloseDevMonitor(const HidEntryPoints& table);
bool CallOpenFeatureDevice(const HidEntryPoints& table);
bool CallCloseFeatureDevice(const HidEntryPoints& table);
bool CallSetFeature(const HidEntryPoints& table, unsigned char* buffer, int length);
bool CallGetFeature(const HidEntryPoints& table, unsigned char* buffer, int length);

}  // namespace brenik::hid
