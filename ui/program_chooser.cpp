#include "ui/program_chooser.h"

#include <commdlg.h>

#include <vector>

namespace taliveer {

std::wstring ChooseProgramFile(HWND owner, const std::wstring& initialFolder) {
    static constexpr wchar_t kProgramFilter[] = L"程序\0*.exe\0所有文件\0*.*\0";
    std::vector<wchar_t> file(32768, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = kProgramFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!::GetOpenFileNameW(&ofn)) return {};
    return file.data();
}

}  // namespace taliveer
