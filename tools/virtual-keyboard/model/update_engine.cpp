#include "update_engine.h"

#include "keyboard_device_constants.h"
#include "wire_bytes.h"

#include <algorithm>

namespace brenik::vkb {
namespace {

using namespace brenik::device;

constexpr std::size_t kCommandByte = 1;
constexpr std::size_t kFieldsOffset = 4;      // first byte after the command and its two zero bytes
constexpr std::size_t kSignatureOffset = 8;   // in DFU_SIZE and DFU_BLOCK_HEADER
constexpr std::size_t kDataOffset = 2;        // DFU_BLOCK_DATA carries its block from byte 2

bool SignatureMatches(const std::uint8_t* report) {
    return std::equal(kDfuCommandSignature.begin(), kDfuCommandSignature.end(), report + kSignatureOffset);
}

}  // namespace

UpdateEngine::UpdateEngine() : flash_(kFirmwareImageCapacity, 0) {}

std::uint8_t UpdateEngine::Handle(const std::uint8_t* report) {
    lastRefusal_.clear();
    const std::uint8_t command = report[kCommandByte];
    if (command == kDfuStart) return Start(report);
    if (!active_) return Refuse("not in update mode");
    switch (command) {
        case kDfuSize: return Size(report);
        case kDfuPrepare: return Prepare(report);
        case kDfuBlockHeader: return BlockHeader(report);
        case kDfuBlockData: return BlockData(report);
        case kDfuFinish: return Finish(report);
        default: return Refuse("unknown update command");
    }
}

void UpdateEngine::Abandon() {
    active_ = false;
    sizeKnown_ = false;
    prepared_ = false;
    size_ = 0;
    blockCount_ = 0;
    nextBlock_ = 0;
    headerPending_ = false;
}

// Bytes 4..11 must be the unlock code; everything else past the command is 0. A second
// start begins the transfer again.
std::uint8_t UpdateEngine::Start(const std::uint8_t* report) {
    if (!AllZero(report, 2, kFieldsOffset)) return Refuse("bytes 2-3 of DFU_START not zero");
    if (!std::equal(kDfuUnlockCode.begin(), kDfuUnlockCode.end(), report + kFieldsOffset)) {
        return Refuse("wrong unlock code");
    }
    if (!AllZero(report, kFieldsOffset + kDfuUnlockCode.size(), kUpdateCommandReportLength)) {
        return Refuse("bytes after the unlock code not zero");
    }
    Abandon();
    active_ = true;
    return kDfuStatusOk;
}

std::uint8_t UpdateEngine::Size(const std::uint8_t* report) {
    if (!AllZero(report, 2, kFieldsOffset)) return Refuse("bytes 2-3 of DFU_SIZE not zero");
    if (!SignatureMatches(report)) return Refuse("wrong command signature in DFU_SIZE");
    if (!AllZero(report, kSignatureOffset + kDfuCommandSignature.size(), kUpdateCommandReportLength)) {
        return Refuse("bytes after the signature of DFU_SIZE not zero");
    }
    const std::uint32_t size = ReadLe32(report + kFieldsOffset);
    if (size > kFirmwareImageCapacity) return Refuse("image larger than the keyboard holds");
    size_ = size;
    blockCount_ = (size + kFirmwareBlockSize - 1) / kFirmwareBlockSize;
    sizeKnown_ = true;
    prepared_ = false;
    nextBlock_ = 0;
    headerPending_ = false;
    return kDfuStatusOk;
}

// Erases the image area.
std::uint8_t UpdateEngine::Prepare(const std::uint8_t* report) {
    if (!sizeKnown_) return Refuse("DFU_PREPARE before DFU_SIZE");
    if (!AllZero(report, 2, kFieldsOffset)) return Refuse("bytes 2-3 of DFU_PREPARE not zero");
    if (report[kFieldsOffset] != kDfuPrepareMarker) return Refuse("DFU_PREPARE without its marker 0xEC");
    if (!AllZero(report, kFieldsOffset + 1, kUpdateCommandReportLength)) {
        return Refuse("bytes after the marker of DFU_PREPARE not zero");
    }
    std::fill(flash_.begin(), flash_.end(), 0);
    prepared_ = true;
    nextBlock_ = 0;
    headerPending_ = false;
    return kDfuStatusOk;
}

// Blocks come in order; the header of the block in progress may come again.
std::uint8_t UpdateEngine::BlockHeader(const std::uint8_t* report) {
    if (!prepared_) return Refuse("DFU_BLOCK_HEADER before DFU_PREPARE");
    if (!AllZero(report, 2, kFieldsOffset)) return Refuse("bytes 2-3 of DFU_BLOCK_HEADER not zero");
    if (!SignatureMatches(report)) return Refuse("wrong command signature in DFU_BLOCK_HEADER");
    if (!AllZero(report, kSignatureOffset + kDfuCommandSignature.size(), kUpdateCommandReportLength)) {
        return Refuse("bytes after the signature of DFU_BLOCK_HEADER not zero");
    }
    const std::uint16_t index = ReadLe16(report + kFieldsOffset);
    if (index >= blockCount_) return Refuse("block index beyond the image size");
    if (index != nextBlock_) return Refuse("block out of order");
    pendingSum_ = ReadLe16(report + kFieldsOffset + 2);
    headerPending_ = true;
    return kDfuStatusOk;
}

// Data whose sum differs from its header's was damaged on the way: ask for it again and
// keep the header.
std::uint8_t UpdateEngine::BlockData(const std::uint8_t* report) {
    if (!headerPending_) return Refuse("DFU_BLOCK_DATA without its header");
    const std::uint8_t* data = report + kDataOffset;
    if (Sum16(data, kFirmwareBlockSize) != pendingSum_) {
        lastRefusal_ = "block sum differs from its header: resend";
        return kDfuStatusResend;
    }
    std::copy(data, data + kFirmwareBlockSize, flash_.begin() + static_cast<std::ptrdiff_t>(nextBlock_ * kFirmwareBlockSize));
    ++nextBlock_;
    headerPending_ = false;
    return kDfuStatusOk;
}

// Keeps the image only when every block arrived; leaves update mode.
std::uint8_t UpdateEngine::Finish(const std::uint8_t* report) {
    if (!AllZero(report, 2, kUpdateCommandReportLength)) return Refuse("bytes after DFU_FINISH not zero");
    if (!prepared_) return Refuse("DFU_FINISH before DFU_PREPARE");
    if (nextBlock_ != blockCount_) return Refuse("DFU_FINISH before the last block");
    finished_.assign(flash_.begin(), flash_.begin() + size_);
    ++finishedCount_;
    Abandon();
    return kDfuStatusOk;
}

std::uint8_t UpdateEngine::Refuse(std::string why) {
    lastRefusal_ = std::move(why);
    return kDfuStatusFailed;
}

}  // namespace brenik::vkb
