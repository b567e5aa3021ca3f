#pragma once
// The keyboard's feature reports as a protocol needs them: one report out, one report in.
// Byte 0 of the buffer is the report id and the length counts it. Both programs' protocols
// run on this, over kbhid.dll in the programs (hid_feature_reports_win32.h) and over the
// in-process virtual keyboard in their tests.

#include <cstddef>
#include <cstdint>

namespace brenik::hid {

class IFeatureReports {
public:
    virtual ~IFeatureReports() = default;
    // true when the report was accepted.
    virtual bool SetFeature(std::uint8_t* report, std::size_t length) = 0;
    // Byte 0 preset to the report id; the reply overwrites the buffer. true when one came.
    virtual bool GetFeature(std::uint8_t* report, std::size_t length) = 0;
};

}  // namespace brenik::hid
