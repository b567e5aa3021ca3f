#include "profile_export.h"

#include "profile_store.h"

#include <string_view>

namespace brenik::editing {
namespace {

// Collects what SaveProfileFile writes, as if the file were new, so that export writes a
// fresh file instead of merging into an old one.
class FreshFile final : public ini::IIniStorage {
public:
    ini::ReadOutcome ReadAll(const std::string&, std::string&) override { return ini::ReadOutcome::kMissing; }
    bool ReplaceAll(const std::string&, std::string_view bytes) override {
        bytes_.assign(bytes.data(), bytes.size());
        return true;
    }
    const std::string& Bytes() const { return bytes_; }

private:
    std::string bytes_;
};

}  // namespace

ExportOutcome ExportProfileFile(const ProfileRecord& profile, const std::string& path, ini::IIniStorage& storage,
                                bool replace) {
    std::string existing;
    if (!replace && storage.ReadAll(path, existing) != ini::ReadOutcome::kMissing) return ExportOutcome::kExists;
    FreshFile fresh;
    if (!SaveProfileFile(profile, path, fresh) || !storage.ReplaceAll(path, fresh.Bytes())) return ExportOutcome::kFailed;
    return ExportOutcome::kWritten;
}

}  // namespace brenik::editing
