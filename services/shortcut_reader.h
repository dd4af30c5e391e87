// Reads the targets of .lnk files through one shell-link object.
#pragma once

#include "services/unique_handle.h"

#include <objidl.h>
#include <shobjidl.h>

#include <optional>
#include <string>

namespace taliveer {

struct ShellLinkReader {
    ComPtr<IUnknown> Object;
    ComPtr<IShellLinkW> Link;
    ComPtr<IPersistFile> File;

    // Creates the object and asks for its two interfaces; Ready() tells whether it worked.
    void Create();
    bool Ready() const { return Link && File; }
    void Release() {
        File.reset();
        Link.reset();
        Object.reset();
    }

    // The shortcut's target as stored (environment variables unexpanded); nothing when the
    // file cannot be loaded as a shortcut.
    std::optional<std::wstring> ReadTarget(const std::wstring& shortcutPath);
};

}  // namespace taliveer
