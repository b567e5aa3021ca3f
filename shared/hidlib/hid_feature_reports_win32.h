#pragma once
// IFeatureReports through kbhid.dll. A report of no bytes, or longer than the protocol's
// largest, never reaches the library.

#include "feature_reports.h"
#include "hid_library.h"

namespace brenik::hid {

class HidFeatureReports final : public IFeatureReports {
public:
    HidFeatureReports(const HidLibrary& library, std::size_t largestReport)
        : library_(library), largest_(largestReport) {}
    bool SetFeature(std::uint8_t* report, std::size_t length) override {
        return Fits(report, length) && library_.SetFeature(report, static_cast<int>(length));
    }
    bool GetFeature(std::uint8_t* report, std::size_t length) override {
        return Fits(report, length) && library_.GetFeature(report, static_cast<int>(length));
    }

private:
    bool Fits(const std::uint8_t* report, std::size_t length) const {
        return report != nullptr && length > 0 && length <= largest_;
    }

    const HidLibrary& library_;
    std::size_t largest_;
};

}  // namespace brenik::hid
