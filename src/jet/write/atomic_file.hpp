// Replaces a file with new contents so that readers see either the old file
// or the whole new one: a temporary file in the same directory, written and
// flushed, renamed over the target, then the directory flushed.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>

namespace orvdb::jet {

// The system calls used, replaceable so that tests can make them fail.
struct FileSystemCalls {
    std::function<ssize_t(int fd, const void* data, size_t size)> write;
    std::function<int(int fd)> fsync;
};

// Throws JetError naming `target` and the system's reason ("No space left on
// device") when any step fails; `target` is then untouched and the temporary
// file gone.
void replaceFileAtomically(const std::filesystem::path& target, std::span<const uint8_t> bytes,
                           const FileSystemCalls& calls = {});
// The same for contents held in parts (the pages of a file), written one
// after the other.
void replaceFileAtomically(const std::filesystem::path& target,
                           std::span<const std::span<const uint8_t>> parts,
                           const FileSystemCalls& calls = {});

}  // namespace orvdb::jet
