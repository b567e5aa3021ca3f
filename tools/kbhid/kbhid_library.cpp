#include "kbhid_library.h"

#include "debug_output.h"

#include <utility>

namespace brenik::kbhid {

KbhidLibrary::KbhidLibrary(std::unique_ptr<IDeviceBackend> backend) : backend_(std::move(backend)) {}

KbhidLibrary::~KbhidLibrary() {
    CloseDevMonitor();
    CloseFeatureDevice();
}

void KbhidLibrary::OpenDevMonitor(std::shared_ptr<IEventSink> sink) {
    std::lock_guard<std::mutex> hold(monitorLock_);
    if (monitoring_) {
        backend_->StopMonitor();
        monitoring_ = false;
    }
    if (!sink) {
        DebugPrintf("kbhid Open_DevMonitor refused: no window\n");
        return;
    }
    monitoring_ = backend_->StartMonitor(std::move(sink));
    if (!monitoring_) DebugPrintf("kbhid Open_DevMonitor: the monitor thread did not start\n");
}

void KbhidLibrary::CloseDevMonitor() {
    std::lock_guard<std::mutex> hold(monitorLock_);
    if (!monitoring_) return;
    backend_->StopMonitor();
    monitoring_ = false;
}

bool KbhidLibrary::OpenFeatureDevice() {
    std::lock_guard<std::mutex> hold(featureLock_);
    if (featureOpen_) backend_->CloseFeature();
    featureOpen_ = backend_->OpenFeature();
    return featureOpen_;
}

void KbhidLibrary::CloseFeatureDevice() {
    std::lock_guard<std::mutex> hold(featureLock_);
    if (!featureOpen_) return;
    backend_->CloseFeature();
    featureOpen_ = false;
}

bool KbhidLibrary::CheckCall(const char* name, const std::uint8_t* buffer, int length) const {
    if (buffer == nullptr || length <= 0) {
        DebugPrintf("kbhid %s refused: %s buffer, length %d\n", name, buffer == nullptr ? "null" : "a", length);
        return false;
    }
    if (!featureOpen_) {
        DebugPrintf("kbhid %s refused: the feature device is not open\n", name);
        return false;
    }
    return true;
}

bool KbhidLibrary::SetFeature(std::uint8_t* buffer, int length) {
    std::lock_guard<std::mutex> hold(featureLock_);
    if (!CheckCall("SetFeature", buffer, length)) return false;
    return backend_->SetFeature(buffer, static_cast<std::size_t>(length));
}

bool KbhidLibrary::GetFeature(std::uint8_t* buffer, int length) {
    std::lock_guard<std::mutex> hold(featureLock_);
    if (!CheckCall("GetFeature", buffer, length)) return false;
    return backend_->GetFeature(buffer, static_cast<std::size_t>(length));
}

}  // namespace brenik::kbhid
