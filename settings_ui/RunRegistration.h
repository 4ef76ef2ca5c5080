// Start with Windows: the path stored under a Run key, reading values back, and
// what the settings dialog's box does when it changes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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

// The text a REG_BINARY Run value reads as: the signed 16-bit little-endian number of its first two
// bytes as decimal text; bytes beyond two are ignored and missing ones count as zero, so any
// binary value reads as a number and ticks the box. (Text values are read as text, a REG_EXPAND_SZ
// one expanded.)
std::wstring BinaryValueText(std::span<const std::uint8_t> data);

// A registration counts when the value holds anything but spaces.
bool IsRegisteredText(std::wstring_view valueText);

// The two Run keys Windows starts programs from at logon: the machine-wide one, which only
// administrators may write, and the per-user one, which every user may.
enum class RunPlace { Machine, User };

// Windows' Startup-apps switch (Task Manager, Settings > Apps > Startup) keeps its state of a Run
// value in a StartupApproved value of the same name: its first byte odd means switched off. Its
// key: ...\Explorer\StartupApproved\Run beside the per-user Run key and the machine-wide one, but
// ...\Run32 (in the 64-bit view) for a machine-wide value that a 32-bit program wrote on 64-bit
// Windows, which went to the WOW6432Node Run key.
inline constexpr std::wstring_view kStartupApprovedPath =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\";
std::wstring_view StartupApprovedKeyName(RunPlace place, bool wow64);
// A Run value counts as switched on when its StartupApproved value is absent or its first byte is
// even.
bool IsSwitchedOn(const std::optional<std::vector<std::uint8_t>>& approval);
// What ticking the box writes where Windows will not let the StartupApproved value go: switched on.
inline constexpr std::uint8_t kSwitchedOn[12] = {0x02};

// The Run value as the settings dialog sees it, in either place, with Windows' switch for it.
class RunRegistry {
  public:
    virtual ~RunRegistry() = default;
    virtual std::wstring ReadRunValue(RunPlace place) = 0;                  // empty when absent or unreadable
    virtual bool StoreRunValue(RunPlace place, std::wstring_view path) = 0; // false when refused
    virtual void RemoveRunValue(RunPlace place) = 0;                        // may fail silently
    // The StartupApproved value's bytes; none when there is none.
    virtual std::optional<std::vector<std::uint8_t>> ReadApproval(RunPlace place) = 0;
    virtual bool RemoveApproval(RunPlace place) = 0; // true when it is gone (or never was)
    virtual bool StoreApproval(RunPlace place, std::span<const std::uint8_t> bytes) = 0;
    // The long form of a program's path where the file exists (8.3 short names spelled out);
    // otherwise the path as it is.
    virtual std::wstring LongPath(std::wstring_view path) = 0;
    // The folder that holds every user's profile (C:\Users); empty when it cannot be found.
    virtual std::wstring ProfilesFolder() = 0;
};

// Whether two Run values start the same program: quotation marks around the path do not count,
// nor letter case, nor a short name where the long one can be found.
bool IsSameProgram(std::wstring_view a, std::wstring_view b, RunRegistry& registry);

// Whether the program `path` names lies somewhere inside `folder`, compared as IsSameProgram
// compares; never inside an empty folder.
bool IsInsideFolder(std::wstring_view path, std::wstring_view folder, RunRegistry& registry);

// What the start-with-Windows box of the program at `runPath` shows: whether a place it writes to
// holds a registration that Windows will start, or another place a registration that starts it.
// A program inside the profiles folder writes only the per-user place; any other writes the
// machine-wide one, or the per-user one where that is refused or already used. A value only in a
// place this program does not write to starts another copy, and is not this box's.
bool IsRunRegistered(std::wstring_view runPath, RunRegistry& registry);

// The start-with-Windows box changed to `ticked`: write the program's path or delete the value,
// then return what the box must show, which is whether the registry now holds a registration
// that Windows will start.
// - Ticking rewrites whichever registration exists with `runPath`; with none, it writes the
//   machine-wide value, and only when that is refused (a standard user) the per-user one, unless
//   the machine-wide value starts this program already. A value switched off in Windows' list is
//   switched on again.
// - A program inside the profiles folder belongs to one user, whose logon alone may start it:
//   ticking writes only the per-user value, elevated or not, and removes a machine-wide value that
//   starts this program where rights allow (where they do not, that value keeps starting it, and
//   no second one is added).
// - Clearing deletes the values in this program's places, and their StartupApproved values, as far
//   as rights allow, and a value elsewhere only when it starts this program; a machine-wide value
//   that cannot be deleted keeps the box ticked instead of claiming a removal that did not happen.
bool ApplyRunBox(bool ticked, std::wstring_view runPath, RunRegistry& registry);
