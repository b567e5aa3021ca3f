// A full 200-block transfer in real time under Wine, against a virtual keyboard that answers
// at once, set against the floor that the transfer's own waits add up to: every cost above
// the floor is overhead of ours (reports, sleeps that overshoot, bookkeeping).

#include "firmware_image.h"
#include "hid_feature_reports_win32.h"
#include "keyboard_device_constants.h"
#include "system_sleep_clock_win32.h"
#include "update_transfer.h"
#include "virtual_keyboard.h"

#include <windows.h>

#include <cstdio>
#include <memory>

namespace {

using namespace brenik;

class ModelPort : public hid::IFeatureReports {
public:
    explicit ModelPort(vkb::VirtualKeyboard& keyboard) : keyboard_(keyboard) {}
    bool SetFeature(std::uint8_t* buffer, std::size_t length) override { return keyboard_.SetFeature(buffer, length); }
    bool GetFeature(std::uint8_t* buffer, std::size_t length) override { return keyboard_.GetFeature(buffer, length); }

private:
    vkb::VirtualKeyboard& keyboard_;
};

class CountingClock : public ISleepClock {
public:
    void SleepMs(std::uint32_t ms) override {
        askedMs += ms;
        ++sleeps;
        Sleep(ms);
    }
    std::uint64_t askedMs = 0;
    int sleeps = 0;
};

double NowMs() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main() {
    auto image = std::make_unique<updater::FirmwareImage>();
    image->size = static_cast<std::uint32_t>(device::kFirmwareImageCapacity);
    for (std::size_t i = 0; i < image->size; ++i) image->bytes[i] = static_cast<std::uint8_t>(i * 7);
    for (std::size_t k = 0; k < image->BlockCount(); ++k) image->sums[k] = updater::BlockSum(image->Block(k));

    const double origin = NowMs();
    vkb::VirtualKeyboard keyboard([origin] { return static_cast<std::uint64_t>((NowMs() - origin) * 1000.0); });
    ModelPort port(keyboard);
    CountingClock clock;
    const updater::UpdateLink link{port, clock, {}};
    int blocks = 0;

    const double start = NowMs();
    const bool ok = updater::RunTransfer(*image, link, [&](std::size_t) { ++blocks; });
    const double elapsed = NowMs() - start;

    // A status read 100 ms after each of the 404 commands, 500 ms after start and finish,
    // and three pauses of 500 ms.
    const double floorMs = (4 + 2 * 200) * 100.0 + 2 * 500.0 + 3 * 500.0;
    std::printf("updater transfer: %s, %d blocks, image kept %s\n", ok ? "ok" : "FAILED", blocks,
                keyboard.FirmwareImage().size() == image->size ? "whole" : "NOT whole");
    std::printf("updater transfer: %.0f ms real, floor %.0f ms, ratio %.4f (%.2f %% over; target within 3 %%)\n", elapsed,
                floorMs, elapsed / floorMs, 100.0 * (elapsed / floorMs - 1.0));
    std::printf("updater transfer: %d sleeps asking %llu ms, %.3f ms overshoot per sleep\n", clock.sleeps,
                static_cast<unsigned long long>(clock.askedMs), (elapsed - static_cast<double>(clock.askedMs)) / clock.sleeps);
    return ok ? 0 : 1;
}
