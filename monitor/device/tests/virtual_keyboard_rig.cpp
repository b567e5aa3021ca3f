#include "virtual_keyboard_rig.h"

#include "profile_store.h"

namespace brenik::monitor::device::test {

void VirtualClock::SleepMs(unsigned milliseconds) {
    const std::uint64_t end = nowMs_ + milliseconds;
    while (!actions_.empty() && actions_.begin()->first <= end) {
        auto next = actions_.begin();
        nowMs_ = std::max(nowMs_, next->first);
        std::function<void()> action = std::move(next->second);
        actions_.erase(next);
        action();
    }
    nowMs_ = end;
}

MemoryState::MemoryState() : state_(std::make_unique<StateRecord>()) {
    ClearState(*state_);
    for (int p = 0; p < kProfileCount; ++p) SetDefaultProfile(state_->Profiles[p], p);
    state_->CurrentProfile = 0;
}

bool MemorySettings::LoadSyncToken(SyncToken& out) {
    if (!token) return false;
    out = *token;
    return true;
}

Rig::Rig() : keyboard([this] { return clock.NowMs() * 1000; }) {}

std::vector<std::string> Rig::Lines(bool withStatus) const {
    std::vector<std::string> lines;
    for (const std::string& line : keyboard.Trace().Lines()) {
        if (!withStatus && line.rfind("GET status", 0) == 0) continue;
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> Rig::LinesStartingWith(const std::string& prefix) const {
    std::vector<std::string> lines;
    for (const std::string& line : keyboard.Trace().Lines()) {
        if (line.rfind(prefix, 0) == 0) lines.push_back(line);
    }
    return lines;
}

void Rig::Preload(const std::vector<std::uint8_t>& report) {
    std::vector<std::uint8_t> copy = report;
    keyboard.SetFeature(copy.data(), copy.size());
    keyboard.ClearTrace();
}

void Rig::TokensMatch(bool match) {
    const SyncToken token = {1, 2, 3, 4};
    std::vector<std::uint8_t> report(kSyncTokenLength, 0);
    report[0] = kReportSyncToken;
    report[1] = kSyncTokenLength;
    std::copy(token.begin(), token.end(), report.begin() + kTokenOffset);
    Preload(report);
    settings.token = token;
    if (!match) (*settings.token)[0] = 9;
}

}  // namespace brenik::monitor::device::test
