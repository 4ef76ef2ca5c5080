// The voice clips as the program carries them, and the speaker that plays them without holding
// the thread, with and without a sound device.
#include "announce/Speaker_win32.h"
#include "announce/Schedule.h"
#include "tests/announce/SoundTestUtil_win32.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

namespace {

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names) {
    if (IS_INTRESOURCE(name)) reinterpret_cast<std::set<int>*>(names)->insert(static_cast<int>(LOWORD(name)));
    return TRUE;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages) {
    reinterpret_cast<std::set<int>*>(languages)->insert(language);
    return TRUE;
}

TEST(ClipResources, KoreanWavesOf16kMonoPcm) {
    HMODULE module = ::GetModuleHandleW(nullptr);
    std::set<int> names, expected;
    for (int id = kFirstClip; id <= kLastClip; ++id)
        expected.insert(id);
    ::EnumResourceNamesW(module, L"WAVE", CollectName, reinterpret_cast<LONG_PTR>(&names));
    EXPECT_EQ(names, expected);
    for (int id = kFirstClip; id <= kLastClip; ++id) {
        SCOPED_TRACE(id);
        std::set<int> languages;
        ::EnumResourceLanguagesW(module, L"WAVE", MAKEINTRESOURCEW(id), CollectLanguage,
                                 reinterpret_cast<LONG_PTR>(&languages));
        EXPECT_EQ(languages, std::set<int>{0x0412});
        const auto wave = ClipWave(id);
        ASSERT_TRUE(wave) << "not a RIFF WAVE image";
        EXPECT_EQ(wave->formatTag, WAVE_FORMAT_PCM);
        EXPECT_EQ(wave->channels, 1);
        EXPECT_EQ(wave->sampleRate, 16000u);
        EXPECT_EQ(wave->bitsPerSample, 16);
        EXPECT_GT(wave->Seconds(), 0.25);
    }
}

// Nothing can sound: the speaker returns at once all the same.
void ExpectImmediate() {
    Speaker speaker;
    const double start = SecondsNow();
    speaker.Say(DecideAnnouncement(11, 30, 1, false).clips); // the longest announcement
    speaker.Beep();
    EXPECT_LT(SecondsNow() - start, 0.3);
}

// The part run in a child process started without a sound device (see below).
TEST(SpeakerWithoutDevice, ChildReturnsAtOnce) {
    if (!std::getenv("TOCKWEN_NO_SOUND_CHILD"))
        GTEST_SKIP() << "runs only as the child of NoDeviceReturnsAtOnce";
    EXPECT_EQ(::waveOutGetNumDevs(), 0u);
    ExpectImmediate();
}

// Without the sound functions (no such DLL; a system DLL without PlaySoundA) the speaker is
// silent and immediate, as without a device.
TEST(SpeakerWithoutSoundFunctions, ReturnsAtOnce) {
    for (const wchar_t* dll : {L"tockwen-no-such.dll", L"shlwapi.dll", L"sensapi.dll"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(dll)));
        UseSoundLibrary(dll);
        ExpectImmediate();
        Speaker speaker;
        EXPECT_FALSE(speaker.Say(std::vector{119, 110, 128}));
        EXPECT_FALSE(speaker.Busy()) << "nothing plays, so nothing waits for it";
    }
    UseSoundLibrary(L"winmm.dll"); // the tests after this one play sound again
    EXPECT_TRUE(::GetModuleHandleW(L"sensapi.dll")) << "a sound library is never freed";
}

std::string ReadWholeFile(const std::wstring& path) {
    HANDLE file =
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string text(::GetFileSize(file, nullptr), '\0');
    DWORD got = 0;
    ::ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &got, nullptr);
    ::CloseHandle(file);
    text.resize(got);
    return text;
}

bool UnderWine() {
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// Wine's audio driver reads the PulseAudio address from the Unix environment, which a Windows
// child inherits from its parent unchanged whatever SetEnvironmentVariable did. So the child is
// started through the Unix `env` program (Wine runs Unix programs from CreateProcess), with the
// server address leading nowhere and Wine's audio drivers switched off. Such a child has no
// process handle to wait on and cannot write into a Windows pipe, so it reports in a file. It plays
// nothing, so it runs without the test world's real-time priority: as it starts and ends it must
// not keep the sound of the tests after it waiting for a CPU.
TEST(SpeakerWithoutDevice, NoDeviceReturnsAtOnce) {
    if (!UnderWine()) GTEST_SKIP() << "taking the sound device away needs Wine";
    wchar_t self[MAX_PATH], folder[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring report =
        std::wstring(folder) + L"tockwen-nosound-" + std::to_wstring(::GetCurrentProcessId()) + L".xml";
    ::DeleteFileW(report.c_str());
    std::wstring command =
        L"/usr/bin/env TOCKWEN_NO_SOUND_CHILD=1 PULSE_SERVER=unix:/nonexistent/pulse/native "
        L"WINEDLLOVERRIDES=winepulse.drv,winealsa.drv,wineoss.drv=d chrt --other 0 wine " +
        std::wstring(self) +
        L" --gtest_filter=SpeakerWithoutDevice.ChildReturnsAtOnce --gtest_brief=1 "
        L"--gtest_output=xml:" +
        report;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    const BOOL started = ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                          nullptr, &startup, &child);
    if (child.hProcess) ::CloseHandle(child.hProcess);
    if (child.hThread) ::CloseHandle(child.hThread);
    ASSERT_TRUE(started) << "error " << ::GetLastError();

    // the report is written whole when the child's tests have run
    std::string xml;
    const double deadline = SecondsNow() + 60;
    while (xml.find("</testsuites>") == std::string::npos) {
        ASSERT_LT(SecondsNow(), deadline) << "no report from the child after 60 s";
        ::Sleep(50);
        xml = ReadWholeFile(report);
    }
    ::DeleteFileW(report.c_str());
    EXPECT_NE(xml.find("tests=\"1\" failures=\"0\""), std::string::npos) << xml;
    EXPECT_NE(xml.find("result=\"completed\""), std::string::npos) << xml;
}

// The announcement plays without holding the thread: the clips sound whole, right after one
// another, to the end of the last; a new sound takes the place of one that still plays.
TEST(SpeakerWithSound, AnnouncementComesOutWholeAndInOrderWhileTheThreadGoesOn) {
    if (!HaveSoundDevice()) GTEST_SKIP() << "no sound device (no PulseAudio null sink in this environment)";
    const std::vector<int> clips = DecideAnnouncement(11, 30, 1, false).clips;
    double took = 0;
    bool busyWhilePlaying = false, busyAfter = true;
    Speaker speaker;
    const auto recording = RecordWhile("Monitor", 4.0, [&] {
        ::Sleep(300);
        const double start = SecondsNow();
        EXPECT_TRUE(speaker.Say(clips));
        took = SecondsNow() - start;
        busyWhilePlaying = speaker.Busy();
        ::Sleep(2600);
        busyAfter = speaker.Busy();
    });
    if (!recording) GTEST_SKIP() << "the sink's monitor cannot be recorded here";
    EXPECT_LT(took, 0.2) << "Say held the thread";
    EXPECT_TRUE(busyWhilePlaying);
    EXPECT_FALSE(busyAfter);
    ExpectClipsInOrder(*recording, clips);
}

} // namespace
