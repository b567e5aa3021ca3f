#pragma once
// The keyboard's update mode: entered with DFU_START and the unlock code, then the image
// size, prepare (erase), and for each block a header with its index and sum followed by
// its 1,024 data bytes, then DFU_FINISH, which keeps the image. Each command report gives
// one status: done, failed, or resend when a block's data does not add up to its header's sum.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace brenik::vkb {

class UpdateEngine {
public:
    UpdateEngine();

    // Carries out one update command report (the full 1,026 bytes) and returns its status.
    // A refused command leaves the progress as it was; why is in LastRefusal().
    std::uint8_t Handle(const std::uint8_t* report);

    // Leaves update mode and forgets a transfer in progress (unplug); a finished image stays.
    void Abandon();

    bool Active() const { return active_; }
    std::uint32_t ExpectedSize() const { return size_; }
    std::size_t BlockCount() const { return blockCount_; }
    std::size_t BlocksReceived() const { return nextBlock_; }
    bool Prepared() const { return prepared_; }
    bool HeaderPending() const { return headerPending_; }  // the data of block BlocksReceived() is due
    const std::vector<std::uint8_t>& FinishedImage() const { return finished_; }
    int FinishedCount() const { return finishedCount_; }
    const std::string& LastRefusal() const { return lastRefusal_; }

private:
    std::uint8_t Start(const std::uint8_t* report);
    std::uint8_t Size(const std::uint8_t* report);
    std::uint8_t Prepare(const std::uint8_t* report);
    std::uint8_t BlockHeader(const std::uint8_t* report);
    std::uint8_t BlockData(const std::uint8_t* report);
    std::uint8_t Finish(const std::uint8_t* report);
    std::uint8_t Refuse(std::string why);

    bool active_ = false;
    bool sizeKnown_ = false;
    bool prepared_ = false;
    std::uint32_t size_ = 0;
    std::size_t blockCount_ = 0;
    std::size_t nextBlock_ = 0;
    bool headerPending_ = false;
    std::uint16_t pendingSum_ = 0;
    std::vector<std::uint8_t> flash_;     // the image area being written
    std::vector<std::uint8_t> finished_;  // what the last DFU_FINISH kept
    int finishedCount_ = 0;
    std::string lastRefusal_;
};

}  // namespace brenik::vkb
