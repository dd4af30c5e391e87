#include "services/class_store.h"

#include "services/unique_handle.h"

#include <algorithm>

namespace taliveer {

HKEY ClassRoot(ClassHive hive) { return hive == ClassHive::User ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

std::wstring ClassPath(ClassHive hive, std::wstring_view key) {
    std::wstring path = hive == ClassHive::User ? kUserClasses : kMachineClasses;
    if (key.empty()) path.pop_back();
    return path + std::wstring(key);
}

bool ClassKeyIn(ClassHive hive, std::wstring_view key) {
    return RegKeyExists(ClassRoot(hive), ClassPath(hive, key));
}

std::wstring ReadClassString(std::wstring_view key, std::wstring_view valueName) {
    for (ClassHive hive : {ClassHive::User, ClassHive::Machine}) {
        if (RegValueExists(ClassRoot(hive), ClassPath(hive, key), valueName)) {
            return ReadRegString(ClassRoot(hive), ClassPath(hive, key), valueName);
        }
    }
    return {};
}

std::vector<std::wstring> ClassExtensions() {
    std::vector<std::wstring> extensions;
    for (ClassHive hive : {ClassHive::User, ClassHive::Machine}) {
        StringList names;
        ReadKeyNames(ClassRoot(hive), ClassPath(hive, L""), names);
        for (std::wstring& name : names) {
            if (!name.empty() && name.front() == L'.') extensions.push_back(std::move(name));
        }
    }
    const auto caseless = [](const std::wstring& a, const std::wstring& b) {
        return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                      TRUE);
    };
    std::stable_sort(extensions.begin(), extensions.end(),
                     [&](const std::wstring& a, const std::wstring& b) { return caseless(a, b) == CSTR_LESS_THAN; });
    extensions.erase(std::unique(extensions.begin(), extensions.end(),
                                 [&](const std::wstring& a, const std::wstring& b) { return caseless(a, b) == CSTR_EQUAL; }),
                     extensions.end());
    return extensions;
}

std::wstring UserChoiceProgId(std::wstring_view extension) {
    if (extension.empty()) return {};
    return ReadRegString(HKEY_CURRENT_USER,
                         L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\" + std::wstring(extension) +
                             L"\\UserChoice",
                         L"ProgId");
}

bool RunsElevated() {
    HANDLE raw = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw)) return false;
    UniqueKernelHandle token(raw);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    return ::GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size) &&
           elevation.TokenIsElevated != 0;
}

}  // namespace taliveer
