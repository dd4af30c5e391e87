#include "services/reg_unit.h"

#include "services/pure/path_text.h"
#include "services/pure/reg_path.h"
#include "services/pure/reg_location.h"
#include "services/unique_handle.h"

#include <sddl.h>

#include <algorithm>
#include <cstring>
#include "services/pure/wide_text.h"

namespace taliveer {
namespace {

constexpr REGSAM kExistenceCheck = STANDARD_RIGHTS_READ | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS;
constexpr REGSAM kFullAccess64 = KEY_ALL_ACCESS | KEY_WOW64_64KEY;

using View = RegView;

REGSAM ViewFlag(View view) { return view == View::Bits32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY; }
REGSAM WithView(REGSAM access, View view) { return access | ViewFlag(view); }

UniqueHKey OpenKey(HKEY root, std::wstring_view path, REGSAM access, LSTATUS* status = nullptr) {
    const std::wstring relative(RelativeKeyPath(path));
    UniqueHKey key;
    const LSTATUS result = ::RegOpenKeyExW(root, relative.c_str(), 0, access, key.put());
    if (result != ERROR_SUCCESS) key.reset();
    if (status) *status = result;
    return key;
}

UniqueHKey CreateKey(HKEY root, std::wstring_view path, REGSAM access) {
    const std::wstring relative(RelativeKeyPath(path));
    UniqueHKey key;
    if (::RegCreateKeyExW(root, relative.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                          nullptr, key.put(), nullptr) != ERROR_SUCCESS) {
        key.reset();
    }
    return key;
}

// Names come back cut at their first NUL; a name longer than the buffer grows it. `status`
// says whether every name was read.
int ReadNames(HKEY root, std::wstring_view path, StringList& names, View view, bool subkeys,
              LSTATUS* outcome = nullptr) {
    names.clear();
    LSTATUS opened = ERROR_SUCCESS;
    UniqueHKey key = OpenKey(root, path, WithView(KEY_READ, view), &opened);
    if (outcome) *outcome = opened;
    if (!key) return 0;
    std::vector<wchar_t> buffer(256);
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(buffer.size());
        LSTATUS status = subkeys ? ::RegEnumKeyExW(key.get(), index, buffer.data(), &length, nullptr,
                                                   nullptr, nullptr, nullptr)
                                 : ::RegEnumValueW(key.get(), index, buffer.data(), &length, nullptr,
                                                   nullptr, nullptr, nullptr);
        if (status == ERROR_MORE_DATA) {
            // Value names may be up to 16,383 characters; key names 255.
            if (buffer.size() >= 32768) {
                if (outcome) *outcome = ERROR_MORE_DATA;
                break;
            }
            buffer.resize(32768);
            --index;
            continue;
        }
        if (status != ERROR_SUCCESS) {
            if (status != ERROR_NO_MORE_ITEMS && outcome) *outcome = status;
            break;
        }
        names.emplace_back(UpToFirstNul(std::wstring_view(buffer.data(), length)));
    }
    return static_cast<int>(names.size());
}

// Reads a value's raw bytes and type, growing the buffer until it fits.
bool QueryValue(HKEY key, std::wstring_view valueName, DWORD& type, std::vector<BYTE>& data) {
    const std::wstring name(valueName);
    DWORD size = 256;
    for (int attempt = 0; attempt < 8; ++attempt) {
        data.resize(size);
        DWORD got = size;
        const LSTATUS status = ::RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &got);
        if (status == ERROR_SUCCESS) {
            data.resize(got);
            return true;
        }
        if (status != ERROR_MORE_DATA) return false;
        size = got > size ? got : size * 2;
    }
    return false;
}

std::wstring ReadString(HKEY root, std::wstring_view path, std::wstring_view valueName, View view) {
    return RegKeyReader(root, path, view).String(valueName);
}

void SetValue(HKEY root, std::wstring_view path, std::wstring_view valueName, DWORD type,
              const BYTE* data, DWORD size) {
    UniqueHKey key = CreateKey(root, path, kFullAccess64);
    if (!key) return;
    const std::wstring name(valueName);
    if (::RegSetValueExW(key.get(), name.c_str(), 0, type, data, size) != ERROR_SUCCESS) {
        throw RegistryError(FormatValueError(L"Failed to set data for '%s'", valueName));
    }
}

// Removes every subkey of `path` below `parent` (64-bit view), deepest first.
void DeleteSubkeys64(HKEY parent, std::wstring_view path) {
    UniqueHKey key = OpenKey(parent, path, kFullAccess64);
    if (!key) return;
    DWORD count = 0;
    DWORD longest = 0;
    if (::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &count, &longest, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
        return;
    }
    std::vector<wchar_t> buffer(static_cast<size_t>(longest) + 2);
    for (DWORD index = count; index-- > 0;) {
        DWORD length = static_cast<DWORD>(buffer.size());
        if (::RegEnumKeyExW(key.get(), index, buffer.data(), &length, nullptr, nullptr, nullptr,
                            nullptr) != ERROR_SUCCESS) {
            continue;
        }
        const std::wstring subkey(UpToFirstNul(std::wstring_view(buffer.data(), length)));
        DeleteSubkeys64(key.get(), subkey);
        ::RegDeleteKeyW(key.get(), subkey.c_str());
    }
}

}  // namespace

RegistryError::RegistryError(std::wstring message)
    : std::runtime_error(NarrowForLog(message)), message_(std::move(message)) {}

int ReadKeyNames(HKEY root, std::wstring_view path, StringList& names) {
    return ReadNames(root, path, names, View::Bits64, true);
}
int ReadValueNames(HKEY root, std::wstring_view path, StringList& names) {
    return ReadNames(root, path, names, View::Bits64, false);
}

std::wstring ReadRegString(HKEY root, std::wstring_view path, std::wstring_view valueName) {
    return ReadString(root, path, valueName, View::Bits64);
}

bool ReadRegFlag(HKEY root, std::wstring_view path, std::wstring_view valueName) {
    UniqueHKey key;
    for (REGSAM access : {static_cast<REGSAM>(KEY_READ), kExistenceCheck, static_cast<REGSAM>(KEY_QUERY_VALUE)}) {
        key = OpenKey(root, path, access | KEY_WOW64_64KEY);
        if (key) break;
    }
    if (!key) return false;
    const std::wstring name(valueName);
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return false;  // missing flag reads as false
    }
    if (type != REG_DWORD) throw RegistryError(FormatValueError(L"Invalid data type for '%s'", valueName));
    DWORD value = 0;
    size = sizeof value;
    if (::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
                           &size) != ERROR_SUCCESS) {
        throw RegistryError(FormatValueError(L"Failed to get data for '%s'", valueName));
    }
    return value != 0;
}

void WriteRegString(HKEY root, std::wstring_view path, std::wstring_view valueName, std::wstring_view text) {
    const std::wstring data(text);
    SetValue(root, path, valueName, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
             static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

void WriteRegFlag(HKEY root, std::wstring_view path, std::wstring_view valueName, bool flag) {
    const DWORD value = flag ? 1 : 0;
    SetValue(root, path, valueName, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

bool RegKeyExists(HKEY root, std::wstring_view path) {
    return static_cast<bool>(OpenKey(root, path, kExistenceCheck | KEY_WOW64_64KEY));
}

bool RegValueExists(HKEY root, std::wstring_view path, std::wstring_view valueName) {
    UniqueHKey key = OpenKey(root, path, KEY_READ | KEY_WOW64_64KEY);
    if (!key) return false;
    const std::wstring name(valueName);
    DWORD type = 0;
    DWORD size = 0;
    return ::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
}

bool DeleteRegKey(HKEY root, std::wstring_view path) {
    if (RegKeyExists(root, path)) {
        const std::wstring relative(RelativeKeyPath(path));
        DeleteSubkeys64(root, relative);
        // The key goes in the view its subkeys went in (the view every page reads and backs
        // up); deleting it in the default view would remove the 32-bit mirror instead, with
        // no backup, and leave the 64-bit key standing.
        if (::RegDeleteKeyExW(root, relative.c_str(), KEY_WOW64_64KEY, 0) == ERROR_SUCCESS) return true;
    }
    return DeleteRegLeafKey(root, path);
}

bool DeleteRegLeafKey(HKEY root, std::wstring_view path) {
    const auto split = SplitParentAndName(path);
    if (!split) return false;
    UniqueHKey parent = OpenKey(root, split->parent, kFullAccess64);
    if (!parent) return false;
    return ::RegDeleteKeyW(parent.get(), split->name.c_str()) == ERROR_SUCCESS;
}

bool DeleteRegValue(HKEY root, std::wstring_view path, std::wstring_view valueName) {
    UniqueHKey key = OpenKey(root, path, kFullAccess64);
    if (!key) return false;
    const std::wstring name(valueName);
    if (::RegQueryValueExW(key.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    return ::RegDeleteValueW(key.get(), name.c_str()) == ERROR_SUCCESS;
}

}  // namespace taliveer

namespace taliveer {
namespace {

// Every value of an open key, in the registry's order.
bool ReadValuesOf(HKEY key, std::vector<RegValueData>& values) {
    values.clear();
    DWORD count = 0, longestName = 0, longestData = 0;
    if (::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName,
                           &longestData, nullptr, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    std::vector<wchar_t> name(static_cast<size_t>(longestName) + 2);
    std::vector<BYTE> data(static_cast<size_t>(longestData) + 2);
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = 0;
        const LSTATUS status = ::RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &dataSize);
        if (status == ERROR_MORE_DATA) {
            // Grown since the count was taken: make room and read this index again.
            name.resize(name.size() < 32768 ? 32768 : name.size());
            data.resize(dataSize > data.size() ? dataSize : data.size() * 2);
            if (data.size() > (1u << 28)) return false;
            --index;
            continue;
        }
        if (status == ERROR_NO_MORE_ITEMS) return true;
        if (status != ERROR_SUCCESS) return false;  // a backup must not silently miss a value
        RegValueData value;
        value.name.assign(name.data(), nameLength);
        value.type = type;
        value.data.assign(data.begin(), data.begin() + dataSize);
        values.push_back(std::move(value));
    }
}

// The current user's SID as text ("S-1-5-21-..."), empty when it cannot be read.
std::wstring CurrentUserSid() {
    HANDLE rawToken = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &rawToken)) return {};
    UniqueKernelHandle token(rawToken);
    DWORD size = 0;
    ::GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    if (size == 0 || !::GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size)) return {};
    wchar_t* text = nullptr;
    if (!::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) return {};
    std::wstring sid(text);
    ::LocalFree(text);
    return sid;
}

// The kernel's name of an open key, "\REGISTRY\MACHINE\...".
std::wstring KernelKeyName(HKEY key) {
    using NtQueryKeyFn = LONG(NTAPI*)(HANDLE, int, PVOID, ULONG, PULONG);
    constexpr int kKeyNameInformation = 3;
    const auto query = reinterpret_cast<NtQueryKeyFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryKey")));
    if (!query) return {};
    std::vector<BYTE> buffer(1024);
    for (int attempt = 0; attempt < 4; ++attempt) {
        ULONG needed = 0;
        const LONG status = query(key, kKeyNameInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status >= 0) {
            ULONG length = 0;
            std::memcpy(&length, buffer.data(), sizeof length);
            const size_t chars = std::min<size_t>(length / sizeof(wchar_t), (buffer.size() - sizeof length) / sizeof(wchar_t));
            std::wstring name(chars, L'\0');
            std::memcpy(name.data(), buffer.data() + sizeof length, chars * sizeof(wchar_t));
            return name;
        }
        buffer.resize(std::max<size_t>(needed + 16, buffer.size() * 2));
    }
    return {};
}

// Deletes every subkey below `parent`\`path`, deepest first, each opened in the same view.
LSTATUS DeleteSubkeysIn(HKEY parent, const std::wstring& path, REGSAM viewFlag) {
    UniqueHKey key;
    LSTATUS status = ::RegOpenKeyExW(parent, path.c_str(), 0, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | viewFlag,
                                     key.put());
    if (status != ERROR_SUCCESS) return status;
    StringList subkeys;
    std::vector<wchar_t> buffer(256);
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(buffer.size());
        status = ::RegEnumKeyExW(key.get(), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS) return status;
        subkeys.emplace_back(buffer.data(), length);
    }
    for (const std::wstring& subkey : subkeys) {
        status = DeleteSubkeysIn(key.get(), subkey, viewFlag);
        if (status != ERROR_SUCCESS) return status;
        status = ::RegDeleteKeyExW(key.get(), subkey.c_str(), viewFlag, 0);
        if (status != ERROR_SUCCESS) return status;
    }
    return ERROR_SUCCESS;
}

}  // namespace

RegKeyReader::RegKeyReader(HKEY root, std::wstring_view path, RegView view)
    : view_(view), key_(OpenKey(root, path, WithView(KEY_READ, view))) {}

RegKeyReader::RegKeyReader(const RegKeyReader& parent, std::wstring_view subkey)
    : view_(parent.view_), key_(parent.key_ ? OpenKey(parent.key_.get(), subkey, WithView(KEY_READ, view_)) : UniqueHKey()) {}

bool RegKeyReader::StringIfPresent(std::wstring_view valueName, std::wstring& text) const {
    text.clear();
    RegValueData value;
    if (!Data(valueName, value)) return false;
    if (value.type == REG_SZ || value.type == REG_EXPAND_SZ) {
        text = TrimBlanks(UpToFirstNul(WideFromRegistryBytes(value.data.data(), value.data.size())));
    }
    return true;
}

std::wstring RegKeyReader::String(std::wstring_view valueName) const {
    std::wstring text;
    StringIfPresent(valueName, text);
    return text;
}

bool RegKeyReader::Data(std::wstring_view valueName, RegValueData& value) const {
    if (!key_) return false;
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!QueryValue(key_.get(), valueName, type, data)) return false;
    value.name = std::wstring(valueName);
    value.type = type;
    value.data.assign(data.begin(), data.end());
    return true;
}

bool RegKeyReader::SubkeyName(DWORD index, std::wstring& name) const {
    if (!key_) return false;
    wchar_t buffer[256];  // a key name has at most 255 characters
    DWORD length = 256;
    if (::RegEnumKeyExW(key_.get(), index, buffer, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    name = UpToFirstNul(std::wstring_view(buffer, length));
    return true;
}

bool ReadValueData(HKEY root, std::wstring_view path, std::wstring_view valueName, RegView view, RegValueData& value) {
    return RegKeyReader(root, path, view).Data(valueName, value);
}

bool ReadAllValues(HKEY root, std::wstring_view path, RegView view, std::vector<RegValueData>& values) {
    values.clear();
    UniqueHKey key = OpenKey(root, path, WithView(KEY_READ, view));
    return key && ReadValuesOf(key.get(), values);
}

int ReadKeyNamesIn(HKEY root, std::wstring_view path, RegView view, StringList& names) {
    return ReadNames(root, path, names, view, true);
}

int ReadValueNamesIn(HKEY root, std::wstring_view path, RegView view, StringList& names) {
    return ReadNames(root, path, names, view, false);
}

std::wstring ReadRegStringIn(HKEY root, std::wstring_view path, std::wstring_view valueName, RegView view) {
    return ReadString(root, path, valueName, view);
}

LSTATUS ListSubkeys(HKEY root, std::wstring_view path, RegView view, StringList& names) {
    LSTATUS status = ERROR_SUCCESS;
    ReadNames(root, path, names, view, true, &status);
    return status;
}

LSTATUS RegKeyReadStatus(HKEY root, std::wstring_view path, RegView view) {
    LSTATUS status = ERROR_SUCCESS;
    OpenKey(root, path, WithView(KEY_READ, view), &status);
    return status;
}

std::wstring RealKeyName(HKEY root, std::wstring_view path, RegView view) {
    UniqueHKey key = OpenKey(root, path, WithView(KEY_QUERY_VALUE, view));
    if (!key) return {};
    return ScriptKeyName(KernelKeyName(key.get()), CurrentUserSid());
}

LSTATUS RemoveRegValue(HKEY root, std::wstring_view path, std::wstring_view valueName, RegView view) {
    LSTATUS status = ERROR_SUCCESS;
    UniqueHKey key = OpenKey(root, path, WithView(KEY_SET_VALUE | KEY_QUERY_VALUE, view), &status);
    if (!key) return status;
    const std::wstring name(valueName);
    return ::RegDeleteValueW(key.get(), name.c_str());
}

LSTATUS RemoveRegTree(HKEY root, std::wstring_view path, RegView view) {
    const std::wstring relative(RelativeKeyPath(path));
    if (relative.empty()) return ERROR_INVALID_PARAMETER;  // never a whole root
    const REGSAM viewFlag = ViewFlag(view);
    const LSTATUS status = DeleteSubkeysIn(root, relative, viewFlag);
    if (status != ERROR_SUCCESS) return status;
    return ::RegDeleteKeyExW(root, relative.c_str(), viewFlag, 0);
}

LSTATUS SetRegValue(HKEY root, std::wstring_view path, const RegValueData& value, RegView view) {
    const std::wstring relative(RelativeKeyPath(path));
    UniqueHKey key;
    const LSTATUS status = ::RegCreateKeyExW(root, relative.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                             WithView(KEY_SET_VALUE, view), nullptr, key.put(), nullptr);
    if (status != ERROR_SUCCESS) return status;
    return ::RegSetValueExW(key.get(), value.name.c_str(), 0, value.type, value.data.data(),
                            static_cast<DWORD>(value.data.size()));
}

LSTATUS SetRegString(HKEY root, std::wstring_view path, std::wstring_view valueName, std::wstring_view text,
                     RegView view) {
    const std::wstring relative(RelativeKeyPath(path));
    UniqueHKey key;
    LSTATUS status = ::RegCreateKeyExW(root, relative.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                       WithView(KEY_SET_VALUE, view), nullptr, key.put(), nullptr);
    if (status != ERROR_SUCCESS) return status;
    const std::wstring name(valueName);
    const std::wstring data(text);
    return ::RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                            static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

}  // namespace taliveer
