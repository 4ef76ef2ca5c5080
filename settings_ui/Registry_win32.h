// Reading, writing and deleting registry text values, and the program's own Run registration.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "settings_ui/RunRegistration.h"

// The text of value `name` of an open key (see ValueTextFromData), or empty text when the key
// is null, the value is missing or it cannot be read.
std::wstring QueryValueText(HKEY key, std::wstring_view name);
// Opens root\path, reads value `name` as QueryValueText does and closes the key again.
std::wstring ReadValueText(HKEY root, std::wstring_view path, std::wstring_view name);
// Creates or opens root\path and stores `data` as a REG_SZ value. True when it was written.
bool StoreValueText(HKEY root, std::wstring_view path, std::wstring_view name, std::wstring_view data);
// Creates or opens root\path and deletes value `name`. True when the value is gone (also when it
// never existed).
bool RemoveValue(HKEY root, std::wstring_view path, std::wstring_view name);

// The value "Tockwen" under SOFTWARE\Microsoft\Windows\CurrentVersion\Run of the machine-wide
// root (HKEY_LOCAL_MACHINE) and of the per-user root (HKEY_CURRENT_USER); the tests may point
// either elsewhere.
class RunKeyRegistry : public RunRegistry {
  public:
    explicit RunKeyRegistry(HKEY machineRoot = HKEY_LOCAL_MACHINE, HKEY userRoot = HKEY_CURRENT_USER)
        : machineRoot_(machineRoot), userRoot_(userRoot) {}
    std::wstring ReadRunValue(RunPlace place) override;
    bool StoreRunValue(RunPlace place, std::wstring_view path) override;
    void RemoveRunValue(RunPlace place) override;

  private:
    HKEY Root(RunPlace place) const { return place == RunPlace::Machine ? machineRoot_ : userRoot_; }
    HKEY machineRoot_;
    HKEY userRoot_;
};

// The path the Run value should hold for the running program: its folder, "\", its file name
// and ".exe".
std::wstring CurrentRunPath();
