#pragma once
// LogPixels set for the programs started while it lives, and put back as it was after: Wine
// takes a program's DPI (the system DPI and the fonts' scale) from these two keys when the
// program starts.

#include <windows.h>

#include <vector>

namespace brenik::option::bench {

class DpiForAWhile {
public:
    explicit DpiForAWhile(DWORD dpi);
    ~DpiForAWhile();
    DpiForAWhile(const DpiForAWhile&) = delete;
    DpiForAWhile& operator=(const DpiForAWhile&) = delete;

    bool Set() const { return set_; }  // every key took the value

private:
    struct Key {
        HKEY root;
        const char* path;
    };
    struct Saved {
        Key key;
        bool had;
        DWORD value;
    };
    std::vector<Saved> saved_;
    bool set_ = true;
};

}  // namespace brenik::option::bench
