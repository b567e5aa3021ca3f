// A history copy as a damaged disk or another program may leave it: decoded, and when that
// succeeds, written again.
//
// Properties:
// - a copy that decodes writes back to text that decodes to the same copy;
// - a refused copy says why and fills nothing;
// - no file is unpacked past the length its line gives (the sanitizers see every read).

#include "fuzz_input.h"
#include "history_copy.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    brenik::test::StartInput();
    const std::string text(reinterpret_cast<const char*>(data), size);
    brenik::history::HistoryCopy copy;
    std::string error;
    if (!brenik::history::DecodeHistoryCopy(text, copy, error)) {
        FUZZ_CHECK(!error.empty());
        FUZZ_CHECK(copy.files.empty());
        return 0;
    }
    brenik::history::HistoryCopy again;
    FUZZ_CHECK(brenik::history::DecodeHistoryCopy(brenik::history::EncodeHistoryCopy(copy), again, error));
    FUZZ_CHECK(again.SameFiles(copy));
    FUZZ_CHECK(again.when.utcSeconds == copy.when.utcSeconds && again.when.local == copy.when.local);
    FUZZ_CHECK(again.reason == copy.reason);
    return 0;
}
