#include "services/pure/command_line.h"

#include <gtest/gtest.h>


namespace taliveer {
namespace {

const PrefixFolders kFolders{L"C:\\Windows\\", L"C:\\Documents and Settings\\Ann\\"};

// Stands in for the system's locale-aware upper-casing: beyond ASCII too.
std::wstring LocaleUpper(std::wstring_view text) {
    std::wstring out(text);
    for (wchar_t& c : out) {
        if ((c >= L'a' && c <= L'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) c = static_cast<wchar_t>(c - 0x20);
    }
    return out;
}

std::wstring Extract(std::wstring_view command) { return ExtractProgramFile(command, kFolders, AsciiUpperCase); }

struct Example {
    const wchar_t* command;
    const wchar_t* file;
};

TEST(ExtractProgramFile, QuotedUnquotedHostedAndPrefixedCommandsGiveTheirProgramFile) {
    const Example examples[] = {
        {L"\"C:\\Program Files\\Foo\\foo.exe\" /background", L"C:\\PROGRAM FILES\\FOO\\FOO.EXE"},
        {L"%SystemRoot%\\system32\\rundll32.exe shell32.dll,Control_RunDLL", L"C:\\Windows\\SYSTEM32\\RUNDLL32.EXE"},
        {L"rundll32.exe C:\\Tools\\hook.abc,Start", L"C:\\TOOLS\\HOOK.ABC"},
        {L"C:\\A\\B.EXE D:\\C.TXT", L"C:\\A\\B.EXE"},
        {L"x \"D:\\Games\\Run Me\\game.exe\" -w", L"D:\\GAMES\\RUN ME\\GAME.EXE"},
        {L"start notepad.exe", L"NOTEPAD.EXE"},
        {L"%ProgramFiles(x86)%\\App\\app.exe", L"C:\\Program Files (x86)\\APP\\APP.EXE"},
        {L"%ProgramW6432%\\App\\app.exe", L"C:\\Program Files\\APP\\APP.EXE"},
        {L"%USERPROFILE%\\tool.bat", L"C:\\Documents and Settings\\Ann\\TOOL.BAT"},
        {L"C:\\Program Files\\App.DLLs\\x.exe", L"C:\\PROGRAM FILES\\APP.DLL"},
        {L"C:\\x\\setup.msi", L"C:\\X\\SETUP.MSI"},
        {L"   ", L""},
    };
    for (const Example& e : examples) EXPECT_EQ(Extract(e.command), e.file) << e.command;
}

TEST(ExtractProgramFile, BlankAndEmptyInput) {
    EXPECT_EQ(Extract(L""), L"");
    EXPECT_EQ(Extract(L" \t\r\n"), L"");
    EXPECT_EQ(Extract(L"\"\""), L"");  // only quotes: nothing left once the quotes are gone
}

TEST(ExtractProgramFile, PrefixesAreFoundInAnyCaseAndOtherVariablesStay) {
    EXPECT_EQ(Extract(L"%windir%\\regedit.exe"), L"C:\\Windows\\REGEDIT.EXE");
    EXPECT_EQ(Extract(L"%ProgramFiles%\\A\\a.exe"), L"C:\\Program Files\\A\\A.EXE");
    EXPECT_EQ(Extract(L"%APPDATA%\\x\\y.exe"), L"%APPDATA%\\X\\Y.EXE");
    EXPECT_EQ(Extract(L"%SystemRoot%system32\\a.exe"), L"%SYSTEMROOT%SYSTEM32\\A.EXE");  // no backslash: no rule
}

TEST(ExtractProgramFile, CommasWithAndWithoutDots) {
    // Icon index after the comma.
    EXPECT_EQ(Extract(L"C:\\Icons\\pack.ico,3"), L"C:\\ICONS\\PACK.ICO");
    EXPECT_EQ(Extract(L"%SystemRoot%\\system32\\shell32.dll,-154"), L"C:\\Windows\\SYSTEM32\\SHELL32.DLL");
    // The text before a comma goes only when a colon follows the comma.
    EXPECT_EQ(Extract(L"host,C\\prog.exe"), L"HOST,C\\PROG.EXE");
    EXPECT_EQ(Extract(L"a,b:x.ico"), L"B:X.ICO");
    // A comma and no dot at all: left as it is.
    EXPECT_EQ(Extract(L"C:\\tools\\thing,5"), L"C:\\TOOLS\\THING,5");
    // The dot after the comma does not count for the cut.
    EXPECT_EQ(Extract(L"C:\\x\\y,z.abcd"), L"C:\\X\\Y,Z.ABCD");
}

TEST(ExtractProgramFile, TextBeforeTheFirstAbsolutePathIsDropped) {
    EXPECT_EQ(Extract(L"MsiExec.exe /X{1234} C:\\Program Files\\x\\u.exe"), L"C:\\PROGRAM FILES\\X\\U.EXE");
    EXPECT_EQ(Extract(L"cmd /c \"C:\\s\\run.cmd\" arg"), L"C:\\S\\RUN.CMD");
    EXPECT_EQ(Extract(L"C:\\a.exe"), L"C:\\A.EXE");
    EXPECT_EQ(Extract(L"X:\\"), L"X:\\");
}

TEST(ExtractProgramFile, EarliestExtensionWinsAndStartIsDropped) {
    EXPECT_EQ(Extract(L"C:\\cmd.exe.bat"), L"C:\\CMD.EXE");
    EXPECT_EQ(Extract(L"C:\\a.ocx.dll"), L"C:\\A.OCX");  // every cut only shortens
    EXPECT_EQ(Extract(L"START C:\\a.exe"), L"C:\\A.EXE");
    EXPECT_EQ(Extract(L"startx.exe"), L"STARTX.EXE");
}

TEST(ExtractProgramFile, UsesTheGivenLocaleUpperCasing) {
    EXPECT_EQ(ExtractProgramFile(L"c:\\é\\ü.exe", kFolders, LocaleUpper), L"C:\\É\\Ü.EXE");
    EXPECT_EQ(ExtractProgramFile(L"c:\\é\\ü.exe", kFolders, AsciiUpperCase), L"C:\\é\\ü.EXE");
    EXPECT_EQ(ExtractProgramFile(L"D:\\程序\\应用.exe", kFolders, LocaleUpper), L"D:\\程序\\应用.EXE");
}

TEST(ExpandPathPrefixes, FiresOnlyOnTheExactCaseButReplacesEveryCase) {
    EXPECT_EQ(ExpandPathPrefixes(L"%windir%\\x", kFolders), L"%windir%\\x");
    EXPECT_EQ(ExpandPathPrefixes(L"%WINDIR%\\a;%windir%\\b", kFolders), L"C:\\Windows\\a;C:\\Windows\\b");
    EXPECT_EQ(ExpandPathPrefixes(L"%SYSTEMROOT%\\a", kFolders), L"C:\\Windows\\a");
    EXPECT_EQ(ExpandPathPrefixes(L"%PROGRAMFILES%\\a %PROGRAMFILES(X86)%\\b %PROGRAMW6432%\\c", kFolders),
              L"C:\\Program Files\\a C:\\Program Files (x86)\\b C:\\Program Files\\c");
    EXPECT_EQ(ExpandPathPrefixes(L"%USERPROFILE%\\d", kFolders), L"C:\\Documents and Settings\\Ann\\d");
    EXPECT_EQ(ExpandPathPrefixes(L"%WINDIR%", kFolders), L"%WINDIR%");
    EXPECT_EQ(ExpandPathPrefixes(L"", kFolders), L"");
}

}  // namespace
}  // namespace taliveer
