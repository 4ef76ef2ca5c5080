// Counts the references this program itself takes and gives back on one DLL, by routing the
// executable's imports of LoadLibrary/FreeLibrary through counters. The loader's own count is no
// use for shell32: linked in through comdlg32 it is pinned (Wine shows a load count of -1).
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>

namespace libref {

class Counter {
  public:
    explicit Counter(const wchar_t* dllName) : target_(::GetModuleHandleW(dllName)) {
        current_ = this;
        Patch(reinterpret_cast<void*>(::GetProcAddress(Kernel(), "LoadLibraryW")),
              reinterpret_cast<void*>(&HookLoadLibraryW), &loadLibraryW_);
        Patch(reinterpret_cast<void*>(::GetProcAddress(Kernel(), "LoadLibraryA")),
              reinterpret_cast<void*>(&HookLoadLibraryA), &loadLibraryA_);
        Patch(reinterpret_cast<void*>(::GetProcAddress(Kernel(), "LoadLibraryExW")),
              reinterpret_cast<void*>(&HookLoadLibraryExW), &loadLibraryExW_);
        Patch(reinterpret_cast<void*>(::GetProcAddress(Kernel(), "FreeLibrary")),
              reinterpret_cast<void*>(&HookFreeLibrary), &freeLibrary_);
    }
    Counter(const Counter&) = delete;
    Counter& operator=(const Counter&) = delete;
    ~Counter() {
        for (int i = 0; i < patched_; ++i)
            Write(slots_[i], originals_[i]);
        current_ = nullptr;
    }
    // References taken minus references given back since the counter was made.
    long Held() const { return held_; }
    // Whether the program's imports could be routed at all.
    bool Active() const { return loadLibraryW_ && loadLibraryExW_ && freeLibrary_ && target_; }

  private:
    static HMODULE Kernel() { return ::GetModuleHandleW(L"kernel32.dll"); }

    static void Write(void** slot, void* value) {
        DWORD old = 0;
        ::VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &old);
        *slot = value;
        ::VirtualProtect(slot, sizeof(void*), old, &old);
    }

    // Every import slot of the executable that holds `original` now holds `hook`.
    void Patch(void* original, void* hook, void** keep) {
        if (!original) return;
        auto* base = reinterpret_cast<std::uint8_t*>(::GetModuleHandleW(nullptr));
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
        const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        if (dir.VirtualAddress == 0) return;
        for (auto* desc = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
             desc->Name; ++desc) {
            for (auto** slot = reinterpret_cast<void**>(base + desc->FirstThunk); *slot; ++slot) {
                if (*slot != original || patched_ == kSlots) continue;
                slots_[patched_] = slot;
                originals_[patched_++] = original;
                *keep = original;
                Write(slot, hook);
            }
        }
    }

    static HMODULE WINAPI HookLoadLibraryW(LPCWSTR name) {
        HMODULE module = reinterpret_cast<decltype(&::LoadLibraryW)>(current_->loadLibraryW_)(name);
        if (module && module == current_->target_) ++current_->held_;
        return module;
    }
    static HMODULE WINAPI HookLoadLibraryA(LPCSTR name) {
        HMODULE module = reinterpret_cast<decltype(&::LoadLibraryA)>(current_->loadLibraryA_)(name);
        if (module && module == current_->target_) ++current_->held_;
        return module;
    }
    static HMODULE WINAPI HookLoadLibraryExW(LPCWSTR name, HANDLE file, DWORD flags) {
        HMODULE module =
            reinterpret_cast<decltype(&::LoadLibraryExW)>(current_->loadLibraryExW_)(name, file, flags);
        if (module && module == current_->target_) ++current_->held_;
        return module;
    }
    static BOOL WINAPI HookFreeLibrary(HMODULE module) {
        if (module && module == current_->target_) --current_->held_;
        return reinterpret_cast<decltype(&::FreeLibrary)>(current_->freeLibrary_)(module);
    }

    static constexpr int kSlots = 16;
    static inline Counter* current_ = nullptr;
    HMODULE target_;
    void* loadLibraryW_ = nullptr;
    void* loadLibraryA_ = nullptr;
    void* loadLibraryExW_ = nullptr;
    void* freeLibrary_ = nullptr;
    void** slots_[kSlots] = {};
    void* originals_[kSlots] = {};
    int patched_ = 0;
    long held_ = 0;
};

} // namespace libref
