#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace fenta21 {

// The settings record kept in system.dat. Texts are UTF-8 in memory.
struct SystemSettings {
    std::int32_t directSpeedIndex = 0;
    std::int32_t directPortIndex = 0;  // 0 = COM1
    std::string dataFolder;            // as the user typed it, at most 64 bytes in the file
    std::int32_t modemSpeedIndex = 0;
    std::int32_t modemPortIndex = 0;
    std::int32_t dialMethod = 0;  // 0 tone, 1 pulse
    std::string dataFileName;
    std::int32_t settingsReserved = 0;  // not interpreted; read and written back

    bool operator==(const SystemSettings&) const = default;
};

// What the link dialogs offer: the ports COM1-COM9 (indices 0-8), the ten speeds of the speed
// table and the two dial methods. A stored index outside them is never used.
inline constexpr int kSettingsPortCount = 9;
inline constexpr int kSettingsSpeedCount = 10;
inline bool isPortIndex(int index) { return index >= 0 && index < kSettingsPortCount; }
inline bool isSpeedIndex(int index) { return index >= 0 && index < kSettingsSpeedCount; }
inline bool isDialMethod(int method) { return method == 0 || method == 1; }

inline constexpr std::size_t kSystemDatSize = 156;
inline constexpr std::size_t kSettingsTextField = 66;

// Fills `settings` from the file. A missing file leaves the defaults; a short file leaves the
// fields it does not reach as they were, except settingsReserved, which becomes 0. Indices
// that point outside the speed table, the nine ports or the two dial methods are taken as 0,
// so that a damaged file can never index past a table.
void loadSettings(const std::string& path, SystemSettings& settings);
// The same from the file's bytes.
void readSettings(std::string_view content, SystemSettings& settings);

// Writes the whole 156-byte record, replacing the file in one step (written aside, then
// renamed), so a crash mid-write never leaves half a settings file. False when it failed.
bool saveSettings(const std::string& path, const SystemSettings& settings);
// The 156-byte record.
std::string formatSettings(const SystemSettings& settings);

}  // namespace fenta21
