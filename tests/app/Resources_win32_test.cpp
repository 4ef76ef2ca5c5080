// What Tockwen.exe carries: the icon group in five sizes and the version strings.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "base/Handles.h"

namespace {

std::wstring ExeBeside(const wchar_t* name) {
    wchar_t path[MAX_PATH];
    std::wstring self(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return self.substr(0, self.find_last_of(L"\\/") + 1) + name;
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colors, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
struct GroupIconHeader {
    WORD reserved, type, count;
    GroupIconEntry entries[1];
};
#pragma pack(pop)

TEST(Resources, IconGroupHasFiveSizesOf32Bits) {
    unique_hmodule exe(LoadLibraryExW(ExeBeside(L"Tockwen.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(exe);
    HRSRC found = FindResourceW(exe.get(), L"AAA", RT_GROUP_ICON);
    ASSERT_NE(found, nullptr);
    const auto* group = static_cast<const GroupIconHeader*>(LockResource(LoadResource(exe.get(), found)));
    ASSERT_NE(group, nullptr);
    std::set<int> sizes;
    for (WORD i = 0; i < group->count; ++i) {
        const GroupIconEntry& e = group->entries[i];
        EXPECT_EQ(e.bitCount, 32);
        EXPECT_EQ(e.width, e.height);
        sizes.insert(e.width == 0 ? 256 : e.width);
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 24, 32, 48, 64}));
    // and the platform picks the matching image for a size asked for
    for (int size : {16, 32}) {
        HICON icon = static_cast<HICON>(LoadImageW(exe.get(), L"AAA", IMAGE_ICON, size, size, LR_SHARED));
        EXPECT_NE(icon, nullptr) << size;
    }
}

TEST(Resources, VersionStrings) {
    const std::wstring exe = ExeBeside(L"Tockwen.exe");
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> data(size);
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, data.data()));
    struct Expected {
        const wchar_t* name;
        const wchar_t* value;
    } expected[] = {{L"FileVersion", L"1.01"},
                    {L"ProductVersion", L"1.01"},
                    {L"ProductName", L"Tockwen"},
                    {L"InternalName", L"Tockwen"},
                    {L"CompanyName", L"Quorvel"},
                    {L"OriginalFilename", L"Tockwen.exe"},
                    {L"Comments", L"시스템 트레이 아이콘으로 현재시간을 알려줍니다."}};
    for (const Expected& e : expected) {
        wchar_t* value = nullptr;
        UINT length = 0;
        const std::wstring path = std::wstring(L"\\StringFileInfo\\041204B0\\") + e.name;
        ASSERT_TRUE(VerQueryValueW(data.data(), path.c_str(), reinterpret_cast<void**>(&value), &length))
            << path;
        EXPECT_EQ(std::wstring(value), e.value) << path;
    }
}

} // namespace
