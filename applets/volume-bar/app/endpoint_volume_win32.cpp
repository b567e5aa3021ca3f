// First: the Core Audio GUIDs are defined here, once, so initguid.h comes before their headers.
#include <initguid.h>

#include "endpoint_volume_win32.h"

#include "debug_output.h"
#include "volume_bar_messages.h"

#include <mmdeviceapi.h>

namespace brenik::volumebar {
namespace {

// The event context of our own sets: their notifications come back with it, so the follower
// tells them from another program's changes.
constexpr GUID kOwnChange = {0x6b1d2c3e, 0x4f5a, 0x4c7d, {0x9e, 0x21, 0x5a, 0x73, 0x0c, 0x44, 0xb8, 0x19}};

}  // namespace

// The endpoint's callback: posts the new level to the window and nothing else, since it runs
// on a thread of the system's.
class EndpointVolume::Notifications final : public IAudioEndpointVolumeCallback {
public:
    explicit Notifications(HWND window) : window_(window) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IAudioEndpointVolumeCallback)) {
            *object = static_cast<IAudioEndpointVolumeCallback*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE OnNotify(PAUDIO_VOLUME_NOTIFICATION_DATA data) override {
        if (data == nullptr) return S_OK;
        const bool ours = IsEqualGUID(data->guidEventContext, kOwnChange) != 0;
        PostMessageA(window_, kMsgSystemVolumeChanged, LevelOfScalar(data->fMasterVolume), ours ? 1 : 0);
        return S_OK;
    }

private:
    HWND window_;
    std::atomic<ULONG> references_{1};
};

EndpointVolume::EndpointVolume(HWND window) {
    IMMDeviceEnumerator* rawEnumerator = nullptr;
    if (FAILED(CoCreateInstance(CLSID_MMDeviceEnumerator, nullptr, CLSCTX_ALL, IID_IMMDeviceEnumerator,
                                reinterpret_cast<void**>(&rawEnumerator)))) {
        DebugOutput("VolumeBar found no audio device enumerator\n");
        return;
    }
    const win32::ScopedCom<IMMDeviceEnumerator> enumerator(rawEnumerator);
    IMMDevice* rawDevice = nullptr;
    if (FAILED(enumerator.Get()->GetDefaultAudioEndpoint(eRender, eConsole, &rawDevice))) {
        DebugOutput("VolumeBar found no audio device\n");
        return;
    }
    const win32::ScopedCom<IMMDevice> device(rawDevice);
    IAudioEndpointVolume* rawEndpoint = nullptr;
    if (FAILED(device.Get()->Activate(IID_IAudioEndpointVolume, CLSCTX_ALL, nullptr, reinterpret_cast<void**>(&rawEndpoint)))) {
        DebugOutput("VolumeBar could not open the audio device's volume\n");
        return;
    }
    endpoint_.Reset(rawEndpoint);
    notifications_ = new Notifications(window);
    if (FAILED(endpoint_.Get()->RegisterControlChangeNotify(notifications_))) {
        DebugOutput("VolumeBar cannot follow the system volume: its notifications were refused\n");
        notifications_->Release();
        notifications_ = nullptr;
    }
}

EndpointVolume::~EndpointVolume() {
    if (notifications_ != nullptr) {
        endpoint_.Get()->UnregisterControlChangeNotify(notifications_);
        notifications_->Release();
    }
}

std::optional<int> EndpointVolume::Level() {
    float scalar = 0.0f;
    if (!endpoint_.Valid() || FAILED(endpoint_.Get()->GetMasterVolumeLevelScalar(&scalar))) return std::nullopt;
    return LevelOfScalar(scalar);
}

bool EndpointVolume::SetLevel(int level) {
    if (!endpoint_.Valid()) return false;
    const HRESULT result = endpoint_.Get()->SetMasterVolumeLevelScalar(ScalarOfLevel(level), &kOwnChange);
    if (FAILED(result)) {
        DebugPrintf("VolumeBar: the system refused the volume %d (0x%08lx)\n", level, static_cast<unsigned long>(result));
        return false;
    }
    return true;
}

}  // namespace brenik::volumebar
