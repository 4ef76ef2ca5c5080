// Start with Windows: run path, registry value decoding and the box's reaction.
#include "settings_ui/RunRegistration.h"

#include <cstddef>

ModuleLocation SplitModulePath(std::wstring_view fullPath) {
    const std::size_t slash = fullPath.find_last_of(L"\\/");
    std::wstring_view folder =
        slash == std::wstring_view::npos ? std::wstring_view{} : fullPath.substr(0, slash);
    std::wstring_view file = slash == std::wstring_view::npos ? fullPath : fullPath.substr(slash + 1);
    const std::size_t dot = file.find_last_of(L'.');
    if (dot != std::wstring_view::npos) file = file.substr(0, dot);
    std::wstring folderText(folder);
    // a drive's root keeps its backslash, as the platform reports it for a program at C:\clock.exe
    if (folderText.size() == 2 && folderText[1] == L':') folderText += L'\\';
    return {std::move(folderText), std::wstring(file)};
}

std::wstring BuildRunPath(std::wstring_view folder, std::wstring_view exeName) {
    std::wstring joined;
    joined.reserve(folder.size() + exeName.size() + 5);
    joined.append(folder).append(L"\\").append(exeName).append(L".exe");

    std::wstring path;
    path.reserve(joined.size());
    std::size_t i = 0;
    if (joined.starts_with(L"\\\\")) {
        path = L"\\\\";
        i = 2;
    }
    while (i < joined.size()) {
        path += joined[i];
        // a pair becomes one backslash and the scan goes on after the pair: three in a row leave two
        i += (joined[i] == L'\\' && i + 1 < joined.size() && joined[i + 1] == L'\\') ? 2 : 1;
    }
    // Windows splits an unquoted Run command at its first space and would try C:\Program.exe
    // before C:\Program Files\...; a path without a space stays as it is
    if (path.find(L' ') != std::wstring::npos) path = L'"' + path + L'"';
    return path;
}

std::wstring BinaryValueText(std::span<const std::uint8_t> data) {
    const unsigned low = data.size() > 0 ? data[0] : 0u;
    const unsigned high = data.size() > 1 ? data[1] : 0u;
    return std::to_wstring(static_cast<std::int16_t>(static_cast<std::uint16_t>(low | (high << 8))));
}

bool IsRegisteredText(std::wstring_view valueText) {
    return valueText.find_first_not_of(L' ') != std::wstring_view::npos;
}

std::wstring_view StartupApprovedKeyName(RunPlace place, bool wow64) {
    return place == RunPlace::Machine && wow64 ? L"Run32" : L"Run";
}

bool IsSwitchedOn(const std::optional<std::vector<std::uint8_t>>& approval) {
    return !approval || approval->empty() || (approval->front() & 1) == 0;
}

namespace {

std::wstring Unquoted(std::wstring_view path) {
    const std::size_t first = path.find_first_not_of(L" \t\""), last = path.find_last_not_of(L" \t\"");
    return first == std::wstring_view::npos ? std::wstring()
                                            : std::wstring(path.substr(first, last - first + 1));
}

// File names compare without regard to letter case (ASCII letters; Korean has none).
std::wstring Folded(std::wstring text) {
    for (wchar_t& c : text)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    return text;
}

bool IsStarted(RunRegistry& registry, RunPlace place) {
    return IsRegisteredText(registry.ReadRunValue(place)) && IsSwitchedOn(registry.ReadApproval(place));
}

// Windows' switch back on for a value the box keeps: its StartupApproved value goes, or says "on"
// where it may not go.
void SwitchOn(RunRegistry& registry, RunPlace place) {
    if (!registry.ReadApproval(place)) return;
    if (!registry.RemoveApproval(place) && !IsSwitchedOn(registry.ReadApproval(place)))
        registry.StoreApproval(place, kSwitchedOn);
}

} // namespace

bool IsSameProgram(std::wstring_view a, std::wstring_view b, RunRegistry& registry) {
    return Folded(registry.LongPath(Unquoted(a))) == Folded(registry.LongPath(Unquoted(b)));
}

bool IsInsideFolder(std::wstring_view path, std::wstring_view folder, RunRegistry& registry) {
    std::wstring inside = Folded(registry.LongPath(Unquoted(folder)));
    if (inside.empty()) return false;
    if (inside.back() != L'\\') inside += L'\\';
    // "C:\Users\" holds "C:\Users\kim\...", not "C:\UsersOld\..."
    return Folded(registry.LongPath(Unquoted(path))).starts_with(inside);
}

namespace {

// A program inside the profiles folder belongs to one user, whose logon alone may start it.
bool IsOneUsers(std::wstring_view runPath, RunRegistry& registry) {
    return IsInsideFolder(runPath, registry.ProfilesFolder(), registry);
}

// Whether the box of the program at `runPath` answers for the value in `place`: a place it writes
// to (only the per-user one for a program inside a profile), or a value that starts it.
bool IsOwnValue(RunPlace place, bool oneUsers, std::wstring_view runPath, RunRegistry& registry) {
    return !(oneUsers && place == RunPlace::Machine) ||
           IsSameProgram(registry.ReadRunValue(place), runPath, registry);
}

} // namespace

bool IsRunRegistered(std::wstring_view runPath, RunRegistry& registry) {
    const bool oneUsers = IsOneUsers(runPath, registry);
    for (RunPlace place : {RunPlace::Machine, RunPlace::User})
        if (IsStarted(registry, place) && IsOwnValue(place, oneUsers, runPath, registry)) return true;
    return false;
}

bool ApplyRunBox(bool ticked, std::wstring_view runPath, RunRegistry& registry) {
    const bool oneUsers = IsOneUsers(runPath, registry);
    if (!ticked) {
        // another copy's value in a place this program does not write to stays
        for (RunPlace place : {RunPlace::Machine, RunPlace::User})
            if (IsOwnValue(place, oneUsers, runPath, registry)) {
                registry.RemoveRunValue(place);
                registry.RemoveApproval(place);
            }
        return IsRunRegistered(runPath, registry);
    }
    const bool machineHeld = IsRegisteredText(registry.ReadRunValue(RunPlace::Machine));
    const bool userHeld = IsRegisteredText(registry.ReadRunValue(RunPlace::User));
    if (oneUsers) {
        if (IsSameProgram(registry.ReadRunValue(RunPlace::Machine), runPath, registry)) {
            registry.RemoveRunValue(RunPlace::Machine);
            if (!IsRegisteredText(registry.ReadRunValue(RunPlace::Machine)))
                registry.RemoveApproval(RunPlace::Machine);
        }
        // a machine-wide value that could not go starts this program already
        if (userHeld || !IsSameProgram(registry.ReadRunValue(RunPlace::Machine), runPath, registry))
            registry.StoreRunValue(RunPlace::User, runPath);
    } else {
        if (userHeld) registry.StoreRunValue(RunPlace::User, runPath);
        if (machineHeld || !userHeld) {
            // A refused machine-wide write falls back to the per-user key, unless a per-user value is
            // already kept up to date or the machine-wide one already starts this program: a second
            // entry would start it twice.
            if (!registry.StoreRunValue(RunPlace::Machine, runPath) && !userHeld &&
                !IsSameProgram(registry.ReadRunValue(RunPlace::Machine), runPath, registry))
                registry.StoreRunValue(RunPlace::User, runPath);
        }
    }
    // another copy's machine-wide value is not this program's to switch on
    for (RunPlace place : {RunPlace::Machine, RunPlace::User})
        if (IsRegisteredText(registry.ReadRunValue(place)) && !(oneUsers && place == RunPlace::Machine))
            SwitchOn(registry, place);
    return IsRunRegistered(runPath, registry);
}
