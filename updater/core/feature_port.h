#pragma once
// The two report calls the update needs from the HID library, so that the transfer runs the
// same against kbhid.dll in the program and against the virtual keyboard in the tests.
// Byte 0 of the buffer is the report id; the length counts it. false: the call failed.

#include <cstddef>
#include <cstdint>

namespace brenik::updater {

class FeaturePort {
public:
    virtual ~FeaturePort() = default;
    virtual bool SetFeature(std::uint8_t* buffer, std::size_t length) = 0;
    virtual bool GetFeature(std::uint8_t* buffer, std::size_t length) = 0;
};

}  // namespace brenik::updater
