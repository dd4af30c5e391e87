#include "services/shortcut_reader.h"

#include <shlguid.h>

#include <vector>

namespace taliveer {

void ShellLinkReader::Create() {
    Release();
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, Object.put_void()))) {
        return;
    }
    Link = Object.As<IShellLinkW>(IID_IShellLinkW);
    File = Object.As<IPersistFile>(IID_IPersistFile);
}

std::optional<std::wstring> ShellLinkReader::ReadTarget(const std::wstring& shortcutPath) {
    if (!Ready()) return std::nullopt;
    if (FAILED(File->Load(shortcutPath.c_str(), STGM_READ))) return std::nullopt;
    std::vector<wchar_t> buffer(MAX_PATH + 1, L'\0');
    if (FAILED(Link->GetPath(buffer.data(), MAX_PATH, nullptr, SLGP_RAWPATH))) return std::wstring();
    return std::wstring(buffer.data());
}

}  // namespace taliveer
