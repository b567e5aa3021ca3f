#pragma once
// CIniFile: strings, integers and checksummed blocks of bytes in one INI file.
//
// Made on the stack for each load or save and dropped afterwards; holds no file handle
// between operations. Each operation on its own reads the file, and each write that changes
// something replaces it, because config.ini is shared with the settings program and the
// on-screen display, which use the platform's functions with no lock of their own.
// Between BeginBatch and EndBatch the file is read once, every operation works on that copy,
// and EndBatch writes it back once: a whole profile load or save costs one read and at most
// one write. A write, or a batch, holds the storage's change lock from its read to its
// replacement, so two threads changing one file never lose each other's values.
//
// Failures are return values and debugger lines; nothing is thrown.

#include "ini_document.h"
#include "ini_storage.h"

#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace brenik::ini {

class CIniFile {
public:
    CIniFile(std::string path, ini::IIniStorage& storage);
    // On the system's file storage (defined only where there is one: the Windows build).
    explicit CIniFile(std::string path) : CIniFile(std::move(path), ini::SystemIniStorage()) {}

    CIniFile(const CIniFile&) = delete;
    CIniFile& operator=(const CIniFile&) = delete;

    const std::string& Path() const { return path_; }

    // The value, or the default (trailing spaces dropped, as the platform drops them); at
    // most 2047 characters. An empty value is returned as empty, not as the default.
    std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);

    // The value read by the platform's rules, or the default when the key is missing or empty.
    int ReadInt(std::string_view section, std::string_view key, int defaultValue) const;
    bool WriteInt(std::string_view section, std::string_view key, int value);

    // Fails, leaving dest untouched, when the key is missing, the length is not 2*size+2
    // digits or the checksum does not match.
    bool ReadStruct(std::string_view section, std::string_view key, void* dest, std::size_t size) const;
    bool WriteStruct(std::string_view section, std::string_view key, const void* src, std::size_t size);

    // Batches nest no deeper than one level; EndBatch reports whether the file was written
    // (or needed no writing).
    void BeginBatch();
    bool EndBatch();

private:
    std::optional<std::string_view> Lookup(std::string_view section, std::string_view key) const;
    bool Store(std::string_view section, std::string_view key, std::string_view value);
    bool Load(ini::IniDocument& document) const;
    bool Save(const ini::IniDocument& document);

    std::string path_;
    ini::IIniStorage& storage_;

    struct Batch {
        // Declared, so that clang sees the struct as default-constructible inside this class
        // (its member initialisers are not known there yet; the fuzz build compiles with clang).
        Batch() {}
        std::unique_lock<std::recursive_mutex> changeLock;
        ini::IniDocument document;
        bool readable = true;  // false: the file exists but could not be read; no write may replace it
        bool changed = false;
    };
    std::optional<Batch> batch_;
    // A read outside a batch parses the file into this; the views it returns stay valid until
    // the next read.
    mutable ini::IniDocument lastRead_;
};

}  // namespace brenik::ini
