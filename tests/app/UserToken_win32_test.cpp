// The account questions the clock asks at start-up, on this process's token and its linked one
// (an administrator's full token and filtered token are linked to each other).
#include "app/UserToken_win32.h"

#include <gtest/gtest.h>

#include "app/AppIds.h"
#include "base/Handles.h"

TEST(UserToken, FilterOpensOnlyForAnElevatedToken) {
    const unique_handle own = OpenOwnToken();
    ASSERT_TRUE(own);
    TOKEN_LINKED_TOKEN linked{};
    DWORD size = 0;
    ASSERT_TRUE(::GetTokenInformation(own.get(), TokenLinkedToken, &linked, sizeof linked, &size));
    const unique_handle other(linked.LinkedToken);
    ASSERT_NE(IsElevated(own.get()), IsElevated(other.get())) << "one of the pair is elevated";

    HWND window =
        ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    const UINT messages[] = {::RegisterWindowMessageW(L"TaskbarCreated"),
                             ::RegisterWindowMessageW(kQuitMessage)};
    for (HANDLE token : {own.get(), other.get()})
        EXPECT_EQ(LetThroughFromBelow(window, messages, token), IsElevated(token) ? 2 : 0);
    ::DestroyWindow(window);
}

TEST(UserToken, OneClockPerUser) {
    const std::wstring sid = UserSidText(OpenOwnToken().get());
    EXPECT_EQ(sid.rfind(L"S-1-5-", 0), 0u) << "an account's SID";
    EXPECT_EQ(OneClockMutexName(OpenOwnToken().get()), std::wstring(kOneClockMutex) + L"-" + sid);
    EXPECT_EQ(OneClockMutexName(nullptr), kOneClockMutex);
}

// A second start and the installer reach the clock window of their own user only.
TEST(UserToken, FindsTheWindowOfItsOwnUser) {
    const WNDCLASSW windowClass{.lpfnWndProc = ::DefWindowProcW, .lpszClassName = L"TockwenUserTokenTest"};
    ::RegisterClassW(&windowClass);
    HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, nullptr, nullptr,
                                    nullptr, nullptr);
    EXPECT_EQ(FindUsersWindow(windowClass.lpszClassName, UserSidText(OpenOwnToken().get())), window);
    EXPECT_EQ(FindUsersWindow(windowClass.lpszClassName, L"S-1-5-21-1-2-3-1001"), nullptr)
        << "another user's";
    ::DestroyWindow(window);
}
