#include "services/class_store.h"

#include "services/unique_handle.h"

#include <algorithm>
#include <memory>
#include <optional>

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

LSTATUS ClassKeyStatus(ClassHive hive, std::wstring_view key) {
    return RegKeyReadStatus(ClassRoot(hive), ClassPath(hive, key), RegView::Bits64);
}

std::wstring ClassKeyName(ClassHive hive, std::wstring_view key) {
    return (hive == ClassHive::User ? L"HKEY_CURRENT_USER\\" : L"HKEY_LOCAL_MACHINE\\") + ClassPath(hive, key);
}

std::wstring ReadClassString(std::wstring_view key, std::wstring_view valueName) {
    // The user's value wins wherever it exists, even empty.
    return ClassKeyReader(key).String(valueName);
}

namespace {

int CompareCaseless(std::wstring_view a, std::wstring_view b) {
    return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) -
           CSTR_EQUAL;
}
bool CaselessLess(std::wstring_view a, std::wstring_view b) { return CompareCaseless(a, b) < 0; }
bool CaselessEqual(std::wstring_view a, std::wstring_view b) { return CompareCaseless(a, b) == 0; }

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
    ReadKeyNames(ClassRoot(ClassHive::User), ClassPath(ClassHive::User, L""), userKeys_);
    std::sort(userKeys_.begin(), userKeys_.end(), CaselessLess);
    for (const std::wstring& name : userKeys_) {
        if (!name.empty() && name.front() == L'.') userExtensions_.push_back(name);
    }
}

std::vector<std::wstring> ClassKeys::Extensions() const {
    // The user's names come first, so that a stable sort keeps the user's spelling.
    std::vector<std::wstring> extensions = userExtensions_;
    StringList names;
    ReadKeyNames(ClassRoot(ClassHive::Machine), ClassPath(ClassHive::Machine, L""), names);
    for (std::wstring& name : names) {
        if (!name.empty() && name.front() == L'.') extensions.push_back(std::move(name));
    }
    std::stable_sort(extensions.begin(), extensions.end(), CaselessLess);
    extensions.erase(std::unique(extensions.begin(), extensions.end(), CaselessEqual), extensions.end());
    return extensions;
}

ExtensionMerge ClassKeys::MergedExtensions() const {
    auto machine = std::make_shared<RegKeyReader>(ClassRoot(ClassHive::Machine), ClassPath(ClassHive::Machine, L""),
                                                  RegView::Bits64);
    auto next = [machine, index = DWORD{0}]() mutable -> std::optional<std::wstring> {
        std::wstring name;
        if (!machine->SubkeyName(index++, name)) return std::nullopt;
        return name;
    };
    return ExtensionMerge(userExtensions_, std::move(next), &CompareCaseless);
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
