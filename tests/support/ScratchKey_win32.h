// A registry key that a test owns: emptied at the start, removed again at the end.
#pragma once

#include <windows.h>

#include "base/Handles.h"

class ScratchKey {
  public:
    ScratchKey(HKEY root, const wchar_t* path) : root_(root), path_(path) {
        RegDeleteTreeW(root_, path_);
        RegCreateKeyExW(root_, path_, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key_.put(), nullptr);
    }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;
    ~ScratchKey() {
        key_.reset();
        RegDeleteTreeW(root_, path_);
    }
    HKEY get() const { return key_.get(); }
    explicit operator bool() const { return static_cast<bool>(key_); }

  private:
    HKEY root_;
    const wchar_t* path_;
    unique_hkey key_;
};
