#include "cli/autostart.h"

#include "cli/home_folder.h"
#include "text/atomic_file.h"
#include "text/paths.h"

#include <system_error>

#ifdef _WIN32
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <windows.h>
#endif

namespace tira {

namespace fs = std::filesystem;

namespace {

// Characters that make an Exec argument need quotes (the desktop entry rules).
constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";

std::string quoteExecArgument(std::string_view arg)
{
    std::string out;
    const bool quote = arg.empty() || arg.find_first_of(kReserved) != std::string_view::npos;
    if (quote) out.push_back('"');
    for (const char c : arg) {
        if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) out.push_back('\\');
        if (c == '%') out.push_back('%'); // "%%" is a literal percent sign
        out.push_back(c);
    }
    if (quote) out.push_back('"');
    return out;
}

// A string value of a desktop entry: a backslash is written as two.
std::string escapeValue(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\\') out.push_back('\\');
        out.push_back(c);
    }
    return out;
}

#ifdef _WIN32

std::wstring wide(std::string_view utf8)
{
    return toFsPath(utf8).wstring();
}

// Quotes one argument for the command line the shortcut hands to the program.
std::wstring quoteWindowsArgument(const std::wstring& arg)
{
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // backslashes before a quote are doubled, and the quote escaped
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out.push_back(c);
    }
    out.append(backslashes * 2, L'\\'); // before the closing quote
    out.push_back(L'"');
    return out;
}

AutostartResult writeShortcut(const fs::path& link, const std::string& program,
                              const std::string& home)
{
    const HRESULT init = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const bool uninit = SUCCEEDED(init);
    IShellLinkW* shellLink = nullptr;
    HRESULT hr = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                    reinterpret_cast<void**>(&shellLink));
    if (SUCCEEDED(hr)) {
        const fs::path programPath = toFsPath(program);
        shellLink->SetPath(programPath.c_str());
        shellLink->SetWorkingDirectory(programPath.parent_path().c_str());
        shellLink->SetDescription(L"TIRA");
        if (!home.empty())
            shellLink->SetArguments((L"--home " + quoteWindowsArgument(wide(home))).c_str());
        IPersistFile* file = nullptr;
        hr = shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
        if (SUCCEEDED(hr)) {
            hr = file->Save(link.c_str(), TRUE);
            file->Release();
        }
        shellLink->Release();
    }
    if (uninit) ::CoUninitialize();
    if (FAILED(hr)) return {false, "cannot write " + fromFsPath(link)};
    return {true, "TIRA starts at login: " + fromFsPath(link)};
}

#else

AutostartResult writeDesktopEntry(const fs::path& entry, const std::string& program,
                                  const std::string& home)
{
    std::vector<std::string> args;
    if (!home.empty()) args = {"--home", home};
    const std::string exec = desktopExec(program, args);
    if (exec.empty()) return {false, "a path with a line break cannot start at login"};
    std::error_code error;
    fs::create_directories(entry.parent_path(), error);
    if (error)
        return {false, "cannot create " + fromFsPath(entry.parent_path()) + ": " + error.message()};
    // a half-written entry must never be what the desktop finds at the next login
    const AtomicWriteResult written =
        writeFileAtomically(fromFsPath(entry), autostartDesktopEntry(exec));
    if (!written.ok) return {false, "cannot write " + fromFsPath(entry) + ": " + written.reason};
    return {true, "TIRA starts at login: " + fromFsPath(entry)};
}

#endif

} // namespace

fs::path autostartEntryPath()
{
#ifdef _WIN32
    PWSTR folder = nullptr;
    fs::path link;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_Startup, 0, nullptr, &folder)))
        link = fs::path(folder) / L"TIRA.lnk";
    ::CoTaskMemFree(folder);
    return link;
#else
    const fs::path base = userConfigBase();
    if (base.empty()) return {};
    return base / "autostart" / "tira.desktop";
#endif
}

std::string desktopExec(std::string_view program, const std::vector<std::string>& args)
{
    if (program.find('\n') != std::string_view::npos) return {};
    std::string exec = quoteExecArgument(program);
    for (const std::string& arg : args) {
        if (arg.find('\n') != std::string::npos) return {};
        exec += ' ';
        exec += quoteExecArgument(arg);
    }
    return escapeValue(exec);
}

std::string autostartDesktopEntry(std::string_view exec)
{
    std::string entry = "[Desktop Entry]\n"
                        "Type=Application\n"
                        "Version=1.4\n"
                        "Name=TIRA Daily Reminder\n"
                        "Name[ja]=TIRA 今日のお知らせ\n"
                        "Comment=Today's reminders, shown at login\n"
                        "Comment[ja]=ログイン時に今日のお知らせを表示します\n"
                        "Exec=";
    entry += exec;
    entry += "\n"
             "Icon=tira\n"
             "Terminal=false\n"
             "X-GNOME-Autostart-enabled=true\n";
    return entry;
}

AutostartResult setAutostart(bool on, const std::string& program, const std::string& home)
{
    const fs::path entry = autostartEntryPath();
    if (entry.empty()) return {false, "no folder for login entries (HOME is not set)"};
    if (!on) {
        std::error_code error;
        const bool removed = fs::remove(entry, error);
        if (error) return {false, "cannot remove " + fromFsPath(entry) + ": " + error.message()};
        return {true, removed ? "TIRA no longer starts at login: removed " + fromFsPath(entry)
                              : "TIRA does not start at login (" + fromFsPath(entry) +
                                    " does not exist)"};
    }
#ifdef _WIN32
    return writeShortcut(entry, program, home);
#else
    return writeDesktopEntry(entry, program, home);
#endif
}

} // namespace tira
