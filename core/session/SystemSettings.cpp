#include "core/session/SystemSettings.h"

#include "core/base/Bytes.h"
#include "core/base/Cp932.h"
#include "core/base/Files.h"

namespace fenta21 {
namespace {

std::int32_t validOrZero(std::int32_t value, bool (*valid)(int)) { return valid(value) ? value : 0; }

// Reads the record field by field in file order; a field the file does not fully hold is
// left untouched, as the record's reader always did.
class FieldReader {
public:
    explicit FieldReader(std::string_view bytes) : bytes_(bytes) {}

    bool int32(std::int32_t& field) {
        if (offset_ + 4 > bytes_.size()) return false;
        field = readInt32LE(bytes_, offset_);
        offset_ += 4;
        return true;
    }
    bool text(std::string& field) {
        if (offset_ + kSettingsTextField > bytes_.size()) return false;
        // At most 64 bytes of text count, whatever the field holds before its NUL.
        std::string_view raw = bytes_.substr(offset_, kSettingsTextField);
        raw = raw.substr(0, raw.find('\0'));
        raw = raw.substr(0, cp932PrefixLength(raw, kSettingsTextField - 2));
        field = cp932ToUtf8(raw);
        offset_ += kSettingsTextField;
        return true;
    }

private:
    std::string_view bytes_;
    std::size_t offset_ = 0;
};

}  // namespace

void loadSettings(const std::string& path, SystemSettings& settings) {
    // The record is all the file can hold: bytes past it are never read.
    if (std::optional<std::string> content = readRegularFilePrefix(path, kSystemDatSize).bytes)
        readSettings(*content, settings);
}

void readSettings(std::string_view content, SystemSettings& settings) {
    FieldReader in(content);
    bool reachedReserved = in.int32(settings.directSpeedIndex) && in.int32(settings.directPortIndex) &&
                           in.text(settings.dataFolder) && in.int32(settings.modemSpeedIndex) &&
                           in.int32(settings.modemPortIndex) && in.int32(settings.dialMethod) &&
                           in.text(settings.dataFileName);
    // Only its own four bytes are the reserved word: a file that ends before them must not
    // lend it the bytes where the reading stopped.
    if (!reachedReserved || !in.int32(settings.settingsReserved)) settings.settingsReserved = 0;

    settings.directSpeedIndex = validOrZero(settings.directSpeedIndex, isSpeedIndex);
    settings.directPortIndex = validOrZero(settings.directPortIndex, isPortIndex);
    settings.modemSpeedIndex = validOrZero(settings.modemSpeedIndex, isSpeedIndex);
    settings.modemPortIndex = validOrZero(settings.modemPortIndex, isPortIndex);
    settings.dialMethod = validOrZero(settings.dialMethod, isDialMethod);
}

bool saveSettings(const std::string& path, const SystemSettings& settings) {
    return writeFileAtomically(path, formatSettings(settings));
}

std::string formatSettings(const SystemSettings& settings) {
    std::string bytes;
    bytes.reserve(kSystemDatSize);
    appendInt32LE(bytes, settings.directSpeedIndex);
    appendInt32LE(bytes, settings.directPortIndex);
    // 64 bytes of text at most; the rest of the 66-byte field is zero.
    bytes += cp932CString(settings.dataFolder, kSettingsTextField - 1);
    bytes.push_back('\0');
    appendInt32LE(bytes, settings.modemSpeedIndex);
    appendInt32LE(bytes, settings.modemPortIndex);
    appendInt32LE(bytes, settings.dialMethod);
    bytes += cp932CString(settings.dataFileName, kSettingsTextField - 1);
    bytes.push_back('\0');
    appendInt32LE(bytes, settings.settingsReserved);
    return bytes;
}

}  // namespace fenta21
