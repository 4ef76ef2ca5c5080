// The application manifest that gives the dialogs the desktop's visual style.
#include <gtest/gtest.h>

#include <windows.h>

#include <cwctype>
#include <string>

namespace {

#ifdef _WIN64
#define ARCH "amd64"
#else
#define ARCH "x86"
#endif

std::string ManifestText(WORD language) {
    HRSRC found = ::FindResourceExW(nullptr, MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1), language);
    if (!found) return {};
    const auto* data = static_cast<const char*>(::LockResource(::LoadResource(nullptr, found)));
    return std::string(data, ::SizeofResource(nullptr, found));
}

// The attributes of the first element `tag` that has the attribute name="...".
bool HasElement(const std::string& text, const std::string& tag, const std::string& attributes) {
    for (std::size_t at = text.find("<" + tag); at != std::string::npos; at = text.find("<" + tag, at + 1)) {
        const std::string element = text.substr(at, text.find('>', at) - at);
        bool all = true;
        for (std::size_t i = 0, next; i < attributes.size(); i = next + 1) {
            next = attributes.find('|', i);
            if (next == std::string::npos) next = attributes.size();
            if (element.find(attributes.substr(i, next - i)) == std::string::npos) all = false;
        }
        if (all) return true;
    }
    return false;
}

TEST(VisualStyles, ManifestBindsCommonControls6) {
    const std::string text = ManifestText(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)); // language 1033
    ASSERT_FALSE(text.empty()) << "RT_MANIFEST 1 in language 1033";
    EXPECT_TRUE(
        HasElement(text, "assembly", "xmlns=\"urn:schemas-microsoft-com:asm.v1\"|manifestVersion=\"1.0\""));
    EXPECT_TRUE(HasElement(text, "assemblyIdentity",
                           "processorArchitecture=\"" ARCH "\"|version=\"1.0.0.0\"|type=\"win32\"|name=\""));
    EXPECT_NE(text.find("<description></description>"), std::string::npos) << "an empty description";
    EXPECT_TRUE(HasElement(text, "assemblyIdentity",
                           "type=\"win32\"|name=\"Microsoft.Windows.Common-Controls\"|version=\"6.0.0.0\"|"
                           "processorArchitecture=\"" ARCH
                           "\"|publicKeyToken=\"6595b64144ccf1df\"|language=\"*\""));
}

TEST(VisualStyles, ManifestAsksPerMonitorDpiAndNoElevation) {
    const std::string text = ManifestText(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    for (const char* declared :
         {"<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\">",
          "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>",
          "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm</dpiAware>",
          "<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">PerMonitorV2, "
          "PerMonitor</dpiAwareness>"})
        EXPECT_NE(text.find(declared), std::string::npos) << declared;
}

TEST(VisualStyles, ProgramUsesCommonControls6) {
    // the manifest is in this test program too, so the system binds it to the version 6 assembly;
    // Wine's copy reports 5.81 from DllGetVersion whichever assembly it serves, so the place it
    // was loaded from is what tells
    HMODULE comctl = ::GetModuleHandleW(L"comctl32.dll");
    ASSERT_NE(comctl, nullptr) << "the settings dialog links the common controls";
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(comctl, path, MAX_PATH);
    std::wstring lower(path);
    for (wchar_t& c : lower)
        c = static_cast<wchar_t>(::towlower(c));
    EXPECT_NE(lower.find(L"\\winsxs\\" ARCH "_microsoft.windows.common-controls_6595b64144ccf1df_6."),
              std::wstring::npos)
        << ::testing::PrintToString(std::wstring(path));
}

} // namespace
