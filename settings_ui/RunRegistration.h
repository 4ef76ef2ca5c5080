// Start with Windows: the path stored under a Run key, reading values back, and
// what the settings dialog's box does when it changes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

inline constexpr std::wstring_view kRunKeyPath = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::wstring_view kRunValueName = L"Tockwen";

// The executable's folder as the platform reports it for a program (no trailing backslash
// except for a drive's root, "C:\") and its file name without the extension.
struct ModuleLocation {
    std::wstring folder;
    std::wstring exeName;
    bool operator==(const ModuleLocation&) const = default;
};
ModuleLocation SplitModulePath(std::wstring_view fullPath);

// folder + "\" + exeName + ".exe", with every pair of backslashes after the start collapsed to
// one, scanning left to right, so that a drive's root does not give "C:\\clock.exe". A leading
// pair is kept: it is what makes "\\server\share" a network path. A path with a space is
// put in double quotation marks, so that logon runs this program and no C:\Program.exe.
std::wstring BuildRunPath(std::wstring_view folder, std::wstring_view exeName);

// The text of a registry value as the registration check reads it, from the type and the bytes
// the registry returned:
// - REG_SZ: its text (TextFromRegistryData).
// - REG_BINARY: the signed 16-bit little-endian number of its first two bytes as decimal text;
//   bytes beyond two are ignored and missing ones count as zero, so any binary value reads as
//   a number and ticks the box.
// - any other type: empty text.
std::wstring ValueTextFromData(std::uint32_t type, std::span<const std::uint8_t> data);

// A registration counts when the value holds anything but spaces.
bool IsRegisteredText(std::wstring_view valueText);

// The two Run keys Windows starts programs from at logon: the machine-wide one, which only
// administrators may write, and the per-user one, which every user may.
enum class RunPlace { Machine, User };

// The Run value as the settings dialog sees it, in either place.
class RunRegistry {
  public:
    virtual ~RunRegistry() = default;
    virtual std::wstring ReadRunValue(RunPlace place) = 0;                  // empty when absent or unreadable
    virtual bool StoreRunValue(RunPlace place, std::wstring_view path) = 0; // false when refused
    virtual void RemoveRunValue(RunPlace place) = 0;                        // may fail silently
};

// Whether either place holds a registration: what the start-with-Windows box shows.
bool IsRunRegistered(RunRegistry& registry);

// The start-with-Windows box changed to `ticked`: write the program's path or delete the value,
// then return what the box must show, which is whether the registry now holds a registration.
// - Ticking rewrites whichever registration exists with `runPath`; with none, it writes the
//   machine-wide value, and only when that is refused (a standard user) the per-user one.
// - Clearing deletes both, as far as rights allow; a machine-wide value that cannot be deleted
//   keeps the box ticked instead of claiming a removal that did not happen.
bool ApplyRunBox(bool ticked, std::wstring_view runPath, RunRegistry& registry);
