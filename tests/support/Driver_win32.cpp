// Drives the real Tockwen.exe from a test process the way a person would.
#include "support/Driver_win32.h"

#include <shellapi.h>

#include <cstdlib>
#include <thread>

#include "app/AppIds.h"
#include "base/Handles.h"

namespace driver {

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout,
             std::chrono::milliseconds poll) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (done()) return true;
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(poll);
    }
}

std::wstring TockwenExePath() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring self(path, length);
    return self.substr(0, self.find_last_of(L"\\/") + 1) + L"Tockwen.exe";
}

std::wstring WindowText(HWND window) {
    wchar_t text[1024];
    const int length = GetWindowTextW(window, text, 1024);
    return std::wstring(text, static_cast<std::size_t>(length > 0 ? length : 0));
}

std::wstring ClassName(HWND window) {
    wchar_t name[256];
    const int length = GetClassNameW(window, name, 256);
    return std::wstring(name, static_cast<std::size_t>(length > 0 ? length : 0));
}

namespace {

struct WindowQuery {
    DWORD pid;
    const wchar_t* cls;
    const wchar_t* title;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
    auto* q = reinterpret_cast<WindowQuery*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != q->pid) return TRUE;
    if (q->cls && ClassName(window) != q->cls) return TRUE;
    if (q->title && WindowText(window) != q->title) return TRUE;
    q->found.push_back(window);
    return TRUE;
}

} // namespace

std::vector<HWND> FindWindows(DWORD processId, const wchar_t* className, const wchar_t* title) {
    WindowQuery query{processId, className, title, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

TockwenProcess::~TockwenProcess() {
    Kill();
    if (info_.hProcess) CloseHandle(info_.hProcess);
    if (info_.hThread) CloseHandle(info_.hThread);
}

bool TockwenProcess::Launch(const std::wstring& exe, const std::wstring& arguments) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring command = L"\"" + exe + L"\" " + arguments;
    return CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info_);
}

// Wine takes a process's time zone and the like from its Unix environment, which a Windows
// environment block does not reach. So such a program is started through the Unix `env` (Wine
// runs Unix programs from CreateProcess); it is then known only by its main window.
bool TockwenProcess::LaunchThroughUnix(const std::wstring& exe, const std::wstring& unixEnvironment) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring command = L"/usr/bin/env " + unixEnvironment + L" wine " + exe;
    PROCESS_INFORMATION unixChild{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &unixChild))
        return false;
    if (unixChild.hProcess) CloseHandle(unixChild.hProcess);
    if (unixChild.hThread) CloseHandle(unixChild.hThread);
    WaitFor([&] { return (main_ = FindWindowW(kMainWindowClass, kMainWindowCaption)) != nullptr; }, 15000ms);
    if (!main_) return false;
    GetWindowThreadProcessId(main_, &info_.dwProcessId);
    info_.hProcess = OpenProcess(PROCESS_ALL_ACCESS, FALSE, info_.dwProcessId);
    return info_.hProcess != nullptr;
}

bool TockwenProcess::Start(const std::wstring& exe, const std::wstring& unixEnvironment) {
    if (!unixEnvironment.empty()) {
        if (!LaunchThroughUnix(exe, unixEnvironment)) return false;
    } else {
        if (!Launch(exe)) return false;
        WaitFor([&] {
            const auto found = FindWindows(info_.dwProcessId, kMainWindowClass, kMainWindowCaption);
            main_ = found.empty() ? nullptr : found.front();
            return main_ != nullptr;
        });
    }
    if (!main_ || !WaitFor([&] { return TrayIconPresent(); })) return false;
    // start-up is over when the program first waits for input in its message loop
    return WaitForInputIdle(info_.hProcess, 5000) == 0;
}

bool TockwenProcess::Running() const {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

bool TockwenProcess::WaitForExit(std::chrono::milliseconds timeout) const {
    return info_.hProcess &&
           WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

DWORD TockwenProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

void TockwenProcess::Kill() {
    if (Running()) {
        TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 5000);
        // a killed process cannot take its icon away; do it for the next test
        if (main_) {
            NOTIFYICONDATAW nid{};
            nid.cbSize = sizeof nid;
            nid.hWnd = main_;
            nid.uID = kTrayIconId;
            Shell_NotifyIconW(NIM_DELETE, &nid);
        }
    }
}

void TockwenProcess::TrayMouse(UINT event) const {
    PostMessageW(main_, kTrayCallbackMessage, MAKEWPARAM(700, 550), MAKELPARAM(event, kTrayIconId));
}

HWND TockwenProcess::PopupMenu() const {
    for (HWND menu : FindWindows(info_.dwProcessId, L"#32768"))
        if (IsWindowVisible(menu)) return menu;
    return nullptr;
}

bool TockwenProcess::ChooseMenuItem(int index) const {
    TrayMouse(WM_RBUTTONUP);
    TrayMouse(WM_CONTEXTMENU);
    HWND menu = nullptr;
    if (!WaitFor([&] { return (menu = PopupMenu()) != nullptr; })) return false;
    for (int i = 0; i <= index; ++i)
        PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    return WaitFor([&] { return PopupMenu() == nullptr; });
}

HWND TockwenProcess::WaitForDialog(const wchar_t* title, std::chrono::milliseconds timeout) const {
    HWND found = nullptr;
    WaitFor(
        [&] {
            for (HWND w : FindWindows(info_.dwProcessId, L"#32770", title))
                if (IsWindowVisible(w)) found = w;
            return found != nullptr;
        },
        timeout);
    return found;
}

bool TockwenProcess::ExitYes() const {
    if (!ChooseMenuItem(5)) return false; // 종료
    HWND box = WaitForDialog(L"Tockwen 종료");
    if (!box) return false;
    ClickButton(box, IDYES);
    return WaitForExit();
}

bool TockwenProcess::TrayIconPresent() const {
    // modifying nothing succeeds only while the shell holds the icon
    NOTIFYICONDATAW nid{};
    nid.cbSize = sizeof nid;
    nid.hWnd = main_;
    nid.uID = kTrayIconId;
    nid.uFlags = 0;
    return main_ && Shell_NotifyIconW(NIM_MODIFY, &nid);
}

void ClickButton(HWND dialog, int id) {
    PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

std::wstring MessageBoxText(HWND box) {
    return WindowText(GetDlgItem(box, 0xFFFF));
}

std::wstring LocalTimeZone(int hour, int minute, ClockTime& local) {
    SYSTEMTIME utc;
    GetSystemTime(&utc);
    const int offset = (utc.wHour * 60 + utc.wMinute - (hour * 60 + minute) + 1440 + 720) % 1440 - 720;
    wchar_t zone[32]; // local = UTC - offset
    swprintf(zone, 32, L"TZ=TKW%c%02d:%02d", offset < 0 ? L'-' : L'+', std::abs(offset) / 60,
             std::abs(offset) % 60);
    // the date too is UTC's, moved by the offset across midnight where it must be
    FILETIME file;
    SystemTimeToFileTime(&utc, &file);
    ULARGE_INTEGER ticks{{file.dwLowDateTime, file.dwHighDateTime}};
    ticks.QuadPart -= static_cast<ULONGLONG>(static_cast<LONGLONG>(offset) * 60 * 10000000LL);
    file = {ticks.LowPart, ticks.HighPart};
    SYSTEMTIME shifted;
    FileTimeToSystemTime(&file, &shifted);
    local = {shifted.wHour,  shifted.wMinute, shifted.wSecond,      shifted.wYear,
             shifted.wMonth, shifted.wDay,    shifted.wMilliseconds};
    return zone;
}

namespace {
constexpr wchar_t kSettingsKey[] = L"Software\\Tockwen\\Setting";
}

void DeleteStoredSettings() {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tockwen");
}

void StoreSetting(const wchar_t* key, const wchar_t* text) {
    unique_hkey hkey;
    RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, hkey.put(),
                    nullptr);
    RegSetValueExW(hkey.get(), key, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
}

void PrintTo(const StoredValue& value, std::ostream* os) {
    *os << "type " << value.type << " \"";
    for (wchar_t c : value.text)
        *os << (c < 128 ? static_cast<char>(c) : '?');
    *os << '"';
}

std::map<std::wstring, StoredValue> StoredSettings() {
    return StoredValues(HKEY_CURRENT_USER, kSettingsKey);
}

std::map<std::wstring, StoredValue> StoredValues(HKEY root, const wchar_t* key) {
    std::map<std::wstring, StoredValue> values;
    unique_hkey hkey;
    if (RegOpenKeyExW(root, key, 0, KEY_QUERY_VALUE, hkey.put()) != ERROR_SUCCESS) return values;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256, type = 0;
        BYTE data[2048] = {};
        DWORD size = sizeof data - sizeof(wchar_t);
        if (RegEnumValueW(hkey.get(), i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS)
            break;
        std::wstring text = type == REG_DWORD ? std::to_wstring(*reinterpret_cast<const DWORD*>(data))
                                              : reinterpret_cast<const wchar_t*>(data);
        values[std::wstring(name, nameLength)] = {type, text};
    }
    return values;
}

std::vector<std::uint32_t> CaptureScreen(RECT rect) {
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width * height));
    HDC screen = GetDC(nullptr);
    unique_hdc memory(CreateCompatibleDC(screen));
    unique_hbitmap bitmap(CreateCompatibleBitmap(screen, width, height));
    {
        unique_select_object select(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    }
    ReleaseDC(nullptr, screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    GetDIBits(memory.get(), bitmap.get(), 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    // GetDIBits gives 0x00RRGGBB; the program's colours are 0x00BBGGRR
    for (auto& p : pixels)
        p = ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
    return pixels;
}

RECT TaskbarRect() {
    RECT rect{};
    if (HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr)) GetWindowRect(tray, &rect);
    return rect;
}

std::optional<Found> FindFace(const std::vector<std::uint32_t>& screen, int width, int height,
                              const Picture& face) {
    for (int top = 0; top + face.height() <= height; ++top) {
        for (int left = 0; left + face.width() <= width; ++left) {
            bool same = true;
            for (int y = 0; y < face.height() && same; ++y) {
                for (int x = 0; x < face.width() && same; ++x) {
                    const ColorValue want = face.Get(x, y);
                    if (want == Picture::kBackground) continue;
                    same = screen[static_cast<std::size_t>((top + y) * width + left + x)] == want;
                }
            }
            if (same) return Found{left, top};
        }
    }
    return std::nullopt;
}

} // namespace driver
