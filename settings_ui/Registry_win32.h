// Reading, writing and deleting registry text values, and the program's own Run registration.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "base/Handles.h"
#include "settings_ui/RunRegistration.h"

// The text of value `name` of an open key: a REG_SZ or REG_EXPAND_SZ value's text (the latter
// expanded), a REG_BINARY one's number (see BinaryValueText); empty text for another type, or
// when the key is null, the value is missing or it cannot be read.
std::wstring QueryValueText(HKEY key, std::wstring_view name);
// Opens root\path, reads value `name` as QueryValueText does and closes the key again.
std::wstring ReadValueText(HKEY root, std::wstring_view path, std::wstring_view name);
// Creates or opens root\path and stores `data` as a REG_SZ value. True when it was written.
bool StoreValueText(HKEY root, std::wstring_view path, std::wstring_view name, std::wstring_view data);
// Opens root\path, if it exists, and deletes value `name`. True when the value is gone (also when
// it or its key never existed).
bool RemoveValue(HKEY root, std::wstring_view path, std::wstring_view name);

// Whether this is a 32-bit program on 64-bit Windows, whose machine-wide Run value goes to the
// WOW6432Node key.
bool RunsUnderWow64();

// The value "Tockwen" under SOFTWARE\Microsoft\Windows\CurrentVersion\Run of the machine-wide
// root (HKEY_LOCAL_MACHINE) and of the per-user root (HKEY_CURRENT_USER), and its StartupApproved
// value beside each; the tests may point either root elsewhere, and say whether the program runs
// under WOW64.
class RunKeyRegistry : public RunRegistry {
  public:
    explicit RunKeyRegistry(HKEY machineRoot = HKEY_LOCAL_MACHINE, HKEY userRoot = HKEY_CURRENT_USER,
                            bool wow64 = RunsUnderWow64())
        : machineRoot_(machineRoot), userRoot_(userRoot), wow64_(wow64) {}
    std::wstring ReadRunValue(RunPlace place) override;
    bool StoreRunValue(RunPlace place, std::wstring_view path) override;
    void RemoveRunValue(RunPlace place) override;
    std::optional<std::vector<std::uint8_t>> ReadApproval(RunPlace place) override;
    bool RemoveApproval(RunPlace place) override;
    bool StoreApproval(RunPlace place, std::span<const std::uint8_t> bytes) override;
    std::wstring LongPath(std::wstring_view path) override;
    std::wstring ProfilesFolder() override;

  private:
    HKEY Root(RunPlace place) const { return place == RunPlace::Machine ? machineRoot_ : userRoot_; }
    // the StartupApproved key of `place`, opened (or made) with `access`: Run32 in the 64-bit view
    // for a 32-bit program's machine-wide value on 64-bit Windows
    unique_hkey ApprovalKey(RunPlace place, REGSAM access, bool create = false) const;
    HKEY machineRoot_;
    HKEY userRoot_;
    bool wow64_;
};

// The path the Run value should hold for the running program: its folder, "\", its file name
// and ".exe".
std::wstring CurrentRunPath();
