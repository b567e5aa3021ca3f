#include "ini_file.h"

#include "debug_output.h"
#include "ini_value_codec.h"

#include <cstdint>

namespace brenik::ini {
namespace {

// Our files are ANSI. A file saved as UTF-16 by some editor would read as garbage and a
// write would destroy it, so it is treated as unreadable.
bool IsUtf16(const std::string& bytes) {
    return bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF'));
}

std::string_view DropTrailingSpaces(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

}  // namespace

CIniFile::CIniFile(std::string path, ini::IIniStorage& storage) : path_(std::move(path)), storage_(storage) {}

bool CIniFile::Load(ini::IniDocument& document) const {
    std::string bytes;
    switch (storage_.ReadAll(path_, bytes)) {
        case ini::ReadOutcome::kMissing:
            document = ini::IniDocument();
            return true;
        case ini::ReadOutcome::kFailed:
            document = ini::IniDocument();
            return false;
        case ini::ReadOutcome::kRead:
            break;
    }
    if (IsUtf16(bytes)) {
        DebugPrintf("CIniFile refused %s: UTF-16 text, not ANSI\n", path_.c_str());
        document = ini::IniDocument();
        return false;
    }
    document = ini::IniDocument::Parse(bytes);
    return true;
}

bool CIniFile::Save(const ini::IniDocument& document) {
    if (storage_.ReplaceAll(path_, document.Serialise())) return true;
    DebugPrintf("CIniFile could not write %s\n", path_.c_str());
    return false;
}

std::optional<std::string_view> CIniFile::Lookup(std::string_view section, std::string_view key) const {
    if (batch_) return batch_->document.Find(section, key);
    Load(lastRead_);
    return lastRead_.Find(section, key);
}

bool CIniFile::Store(std::string_view section, std::string_view key, std::string_view value) {
    if (!ini::IniDocument::IsValidSectionName(section) || !ini::IniDocument::IsValidKeyName(key) ||
        !ini::IniDocument::IsValidValue(value)) {
        DebugPrintf("CIniFile refused a write to %s: section, key or value cannot be stored\n", path_.c_str());
        return false;
    }
    if (batch_) {
        if (!batch_->readable) {
            DebugPrintf("CIniFile refused a write to %s: the file could not be read\n", path_.c_str());
            return false;
        }
        batch_->changed |= batch_->document.Set(section, key, value);
        return true;
    }
    std::lock_guard<std::recursive_mutex> hold(storage_.ChangeLock());
    ini::IniDocument document;
    if (!Load(document)) {
        DebugPrintf("CIniFile refused a write to %s: the file could not be read\n", path_.c_str());
        return false;
    }
    if (!document.Set(section, key, value)) return true;
    return Save(document);
}

std::string CIniFile::ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const {
    const auto value = Lookup(section, key);
    return ini::CutToReadLimit(value ? *value : DropTrailingSpaces(defaultValue));
}

bool CIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    return Store(section, key, value);
}

int CIniFile::ReadInt(std::string_view section, std::string_view key, int defaultValue) const {
    const auto value = Lookup(section, key);
    if (!value || value->empty()) return defaultValue;
    return ini::ParseInt(*value);
}

bool CIniFile::WriteInt(std::string_view section, std::string_view key, int value) {
    return Store(section, key, ini::FormatInt(value));
}

bool CIniFile::ReadStruct(std::string_view section, std::string_view key, void* dest, std::size_t size) const {
    const auto value = Lookup(section, key);
    if (!value) return false;
    if (!ini::DecodeStruct(*value, static_cast<std::uint8_t*>(dest), size)) {
        DebugPrintf("CIniFile refused [%.*s] %.*s in %s: not %zu checksummed bytes\n", static_cast<int>(section.size()),
                    section.data(), static_cast<int>(key.size()), key.data(), path_.c_str(), size);
        return false;
    }
    return true;
}

bool CIniFile::WriteStruct(std::string_view section, std::string_view key, const void* src, std::size_t size) {
    return Store(section, key, ini::EncodeStruct(static_cast<const std::uint8_t*>(src), size));
}

void CIniFile::BeginBatch() {
    if (batch_) return;
    batch_.emplace();
    batch_->changeLock = std::unique_lock<std::recursive_mutex>(storage_.ChangeLock());
    batch_->readable = Load(batch_->document);
}

bool CIniFile::EndBatch() {
    if (!batch_) return true;
    Batch batch = std::move(*batch_);
    batch_.reset();
    return !batch.changed || Save(batch.document);
}

}  // namespace brenik::ini
