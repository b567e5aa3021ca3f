#include "dpi_for_a_while_win32.h"

namespace brenik::option::bench {
namespace {

constexpr const char* kValueName = "LogPixels";

}  // namespace

DpiForAWhile::DpiForAWhile(DWORD dpi) {
    const Key keys[] = {{HKEY_CURRENT_USER, "Control Panel\\Desktop"}, {HKEY_CURRENT_CONFIG, "Software\\Fonts"}};
    for (const Key& key : keys) {
        Saved saved{key, false, 0};
        DWORD size = sizeof saved.value;
        saved.had = RegGetValueA(key.root, key.path, kValueName, RRF_RT_REG_DWORD, nullptr, &saved.value, &size) ==
                    ERROR_SUCCESS;
        saved_.push_back(saved);
        set_ = RegSetKeyValueA(key.root, key.path, kValueName, REG_DWORD, &dpi, sizeof dpi) == ERROR_SUCCESS && set_;
    }
}

DpiForAWhile::~DpiForAWhile() {
    for (const Saved& saved : saved_) {
        if (saved.had) {
            RegSetKeyValueA(saved.key.root, saved.key.path, kValueName, REG_DWORD, &saved.value, sizeof saved.value);
        } else {
            RegDeleteKeyValueA(saved.key.root, saved.key.path, kValueName);
        }
    }
}

}  // namespace brenik::option::bench
