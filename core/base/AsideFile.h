#pragma once

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace fenta21 {

// Makes the part of an aside file's name that no other program can guess: "<pid>-<16 hex
// digits>", the owner's process id and 64 random bits.
using UniqueNamePart = std::function<std::string()>;
std::string randomUniqueNamePart();

// A file written aside in the folder of the file it is to become, before it takes that name.
// Several programs share a home and a data folder, so it is created exclusively, never
// through a link, under "<prefix><unique part><suffix>", and it holds an exclusive flock for
// as long as it is open: whoever cleans a folder can tell a file whose owner is still writing
// it from one left by a program that was killed. Destroyed without keep(), it removes itself.
class AsideFile {
public:
    AsideFile() = default;
    ~AsideFile() { discard(); }
    AsideFile(const AsideFile&) = delete;
    AsideFile& operator=(const AsideFile&) = delete;

    // `mode`: the permission bits of the file it replaces; nothing for a new file, which gets
    // the program's usual 0644 less the umask. A name that is taken (by anything, a link too)
    // is passed over for another.
    bool create(const std::string& folder, const std::string& prefix, const std::string& suffix,
                std::optional<mode_t> mode = std::nullopt, const UniqueNamePart& unique = randomUniqueNamePart);
    bool write(const void* data, std::size_t size);
    bool write(std::string_view bytes) { return write(bytes.data(), bytes.size()); }
    // Flushes the content to disk, so that the file is whole before it takes its name.
    bool sync();
    // The file has taken its real name: it is closed (which ends its lock) and left there.
    void keep();
    // Closes and removes the file.
    void discard();

    bool isOpen() const { return fd_ >= 0; }
    const std::string& path() const { return path_; }

private:
    int fd_ = -1;
    std::string path_;
};

// A name AsideFile made, taken apart: what stands before the unique part, and the owner.
struct AsideName {
    std::string_view prefix;
    pid_t owner = 0;
};

// `name` taken apart when it is "<prefix><unique part><suffix>"; nothing for any other name.
std::optional<AsideName> parseAsideName(std::string_view name, std::string_view suffix);

// The process id that `digits` are, wholly; nothing for anything else.
std::optional<pid_t> parseProcessId(std::string_view digits);

}  // namespace fenta21
