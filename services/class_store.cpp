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
    // The user's value wins wherever it exists, even empty.
    return ClassKeyReader(key).String(valueName);
}

namespace {

int CompareCaseless(std::wstring_view a, std::wstring_view b) {
    return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE);
}
bool CaselessLess(std::wstring_view a, std::wstring_view b) { return CompareCaseless(a, b) == CSTR_LESS_THAN; }
bool CaselessEqual(std::wstring_view a, std::wstring_view b) { return CompareCaseless(a, b) == CSTR_EQUAL; }

constexpr wchar_t kFileExtsKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts";

}  // namespace

ClassKeyReader::ClassKeyReader(std::wstring_view key, const ClassKeys* keys)
    : user_(keys && !keys->InUserHive(key)
                ? RegKeyReader()
                : RegKeyReader(ClassRoot(ClassHive::User), ClassPath(ClassHive::User, key), RegView::Bits64)),
      machine_(ClassRoot(ClassHive::Machine), ClassPath(ClassHive::Machine, key), RegView::Bits64) {}

ClassKeyReader::ClassKeyReader(const ClassKeyReader& parent, std::wstring_view subkey)
    : user_(parent.user_, subkey), machine_(parent.machine_, subkey) {}

std::wstring ClassKeyReader::String(std::wstring_view valueName) const {
    std::wstring text;
    if (user_.StringIfPresent(valueName, text)) return text;
    machine_.StringIfPresent(valueName, text);
    return text;
}

ClassKeys::ClassKeys() {
    for (ClassHive hive : {ClassHive::User, ClassHive::Machine}) {
        StringList names;
        ReadKeyNames(ClassRoot(hive), ClassPath(hive, L""), names);
        for (std::wstring& name : names) {
            if (!name.empty() && name.front() == L'.') extensions_.push_back(name);
            if (hive == ClassHive::User) userKeys_.push_back(std::move(name));
        }
    }
    // The user's names come first, so that a stable sort keeps the user's spelling.
    std::stable_sort(extensions_.begin(), extensions_.end(), CaselessLess);
    extensions_.erase(std::unique(extensions_.begin(), extensions_.end(), CaselessEqual), extensions_.end());
    std::sort(userKeys_.begin(), userKeys_.end(), CaselessLess);
}

bool ClassKeys::InUserHive(std::wstring_view key) const {
    if (!key.empty() && key.front() == L'\\') key.remove_prefix(1);
    const std::wstring_view first = key.substr(0, key.find(L'\\'));
    if (first.empty()) return true;  // the classes key itself
    const auto at = std::lower_bound(userKeys_.begin(), userKeys_.end(), first, CaselessLess);
    return at != userKeys_.end() && CaselessEqual(*at, first);
}

std::vector<std::wstring> ClassExtensions() { return ClassKeys().Extensions(); }

UserChoices::UserChoices() : fileExts_(HKEY_CURRENT_USER, kFileExtsKey, RegView::Bits64) {}

std::wstring UserChoices::ProgIdOf(std::wstring_view extension) const {
    if (extension.empty() || !fileExts_.IsOpen()) return {};
    return RegKeyReader(fileExts_, std::wstring(extension) + L"\\UserChoice").String(L"ProgId");
}

std::wstring UserChoiceProgId(std::wstring_view extension) { return UserChoices().ProgIdOf(extension); }

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
