// Whatever the program removes comes back exactly: entries of every kind the actions remove,
// with names and data no well-behaved installer writes, go through the same code the buttons
// call, come back by opening their backups with the system's registry editor, and are
// compared key by key, value by value, byte by byte with what was there before.
// TALIVEER_SOAK_SEED and TALIVEER_SOAK_CYCLES choose the seed and the number of entries.
#include "pages/autostart/autostart_removal.h"
#include "pages/autostart/pure/autostart_rules.h"
#include "pages/uninstall/pure/uninstall_rules.h"
#include "services/class_store.h"
#include "services/reg_unit.h"
#include "services/undo_backup.h"
#include "services/unique_handle.h"
#include "tests/wine/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace taliveer {
namespace {

using test::Utf8;

// ---- what the registry holds, to compare ----------------------------------------------

using ValueMap = std::map<std::wstring, RegValueData>;    // by value name
using TreeDump = std::map<std::wstring, ValueMap>;         // by key path below the dumped key

REGSAM Sam(RegView view) { return view == RegView::Bits32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY; }

bool DumpTree(HKEY root, const std::wstring& path, RegView view, const std::wstring& below, TreeDump& out) {
    std::vector<RegValueData> values;
    if (!ReadAllValues(root, path, view, values)) return false;
    ValueMap& map = out[below];
    for (auto& v : values) map[v.name] = std::move(v);
    StringList subkeys;
    ReadKeyNamesIn(root, path, view, subkeys);
    for (const auto& sub : subkeys) DumpTree(root, path + L"\\" + sub, view, below + L"\\" + sub, out);
    return true;
}

std::string Printable(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        if (c < 0x20 || c == 0x7f) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", static_cast<unsigned>(c));
            out += hex;
        } else {
            out += Utf8(std::wstring(1, c));
        }
    }
    return out;
}

std::string Describe(const RegValueData& v) {
    std::ostringstream s;
    s << "\"" << Printable(v.name) << "\" type " << v.type << ", " << v.data.size() << " bytes";
    for (size_t i = 0; i < v.data.size() && i < 24; ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02x", v.data[i]);
        s << hex;
    }
    if (v.data.size() > 24) {
        s << " ... last";
        for (size_t i = v.data.size() - 6; i < v.data.size(); ++i) {
            char hex[4];
            std::snprintf(hex, sizeof hex, " %02x", v.data[i]);
            s << hex;
        }
        // Where it first differs from the other side shows in the comparison below.
    }
    return s.str();
}

// Wine's registry editor changes string data (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) that it
// reads from a hex(1), hex(2) or hex(7) line: after data without a terminator it puts one;
// data of an odd number of bytes it reads past its end (the last bytes come back as whatever
// follows in its memory, or the value is not written, and a single byte makes it fail on the
// whole file). Windows' editor keeps the bytes as they are. The terminator, exactly, and
// odd-sized strings are the only things the comparison leaves out; they are counted.
int g_terminatorsAdded = 0;
int g_oddStringsLeftOut = 0;
bool IsText(std::uint32_t type) {
    return type == reg_type::kString || type == reg_type::kExpandString || type == reg_type::kMultiString;
}
bool LeftOut(const RegValueData& before) {
    if (!IsText(before.type) || before.data.size() % 2 == 0) return false;
    ++g_oddStringsLeftOut;
    return true;
}
bool EditorAddedTerminator(const RegValueData& before, const RegValueData& after) {
    if (before.type != after.type || !IsText(before.type) || after.data.size() != before.data.size() + 2) return false;
    if (!std::equal(before.data.begin(), before.data.end(), after.data.begin())) return false;
    if (after.data[before.data.size()] != 0 || after.data.back() != 0) return false;
    ++g_terminatorsAdded;
    return true;
}

// The first difference between two values or key trees, the smallest unit that differs; empty
// when they are the same.
std::string CompareValues(const std::wstring& where, const ValueMap& before, const ValueMap& after) {
    for (const auto& [name, value] : before) {
        if (LeftOut(value)) continue;
        auto found = after.find(name);
        if (found == after.end()) return "key " + Printable(where) + ": value missing: " + Describe(value);
        if (EditorAddedTerminator(value, found->second)) continue;
        if (found->second.type != value.type || found->second.data != value.data) {
            return "key " + Printable(where) + ": value differs: before " + Describe(value) + ", after " +
                   Describe(found->second);
        }
    }
    for (const auto& [name, value] : after) {
        if (!before.count(name)) return "key " + Printable(where) + ": value added: " + Describe(value);
    }
    return {};
}

std::string CompareTrees(const std::wstring& where, const TreeDump& before, const TreeDump& after) {
    for (const auto& [key, values] : before) {
        auto found = after.find(key);
        if (found == after.end()) return "key missing: " + Printable(where + key);
        if (std::string d = CompareValues(where + key, values, found->second); !d.empty()) return d;
    }
    for (const auto& [key, values] : after) {
        if (!before.count(key)) return "key added: " + Printable(where + key);
    }
    return {};
}

// ---- hostile names and data ------------------------------------------------------------

class Hostile {
public:
    explicit Hostile(unsigned seed) : rng_(seed) {}

    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    // A name made of pieces no installer should use; never a line break (a script line
    // cannot carry it; that case has its own check), never a backslash in a key name.
    std::wstring Name(bool keyName) {
        static const std::vector<std::wstring> pieces{
            L"\"", L"\"\"", L"\\", L"\\\\", L"=", L"==", L"/", L"@", L"[", L"]", L"[x]", L"\t", L"\x01", L"\x1b",
            L"\x7f", L" ", L"  ", L"中文名", L"программа", L"برنامج", L"プログラム", L"\xD83D\xDE00", L".exe", L".EXE",
            L"%SystemRoot%", L";", L",", L"'", L"&", L"?", L"*", L"|", L"<", L">", L":", L"-", L"_", L"Tal", L"x"};
        static const std::vector<std::wstring> devices{L"CON", L"NUL", L"PRN", L"AUX", L"COM1", L"LPT1", L"con.txt"};
        std::wstring name;
        if (Below(8) == 0) {
            name = devices[static_cast<size_t>(Below(static_cast<int>(devices.size())))];
        } else {
            const int count = 1 + Below(7);
            for (int i = 0; i < count; ++i) {
                const std::wstring& piece = pieces[static_cast<size_t>(Below(static_cast<int>(pieces.size())))];
                if (keyName && piece.find(L'\\') != std::wstring::npos) continue;
                name += piece;
            }
        }
        // Unique within the run, at a varying place.
        const std::wstring tag = L"S" + std::to_wstring(++serial_);
        if (Below(2)) name = tag + name;
        else name += tag;
        return name;
    }

    RegValueData Value(std::wstring name) {
        RegValueData v;
        v.name = std::move(name);
        auto bytes = [&](size_t n) {
            std::vector<std::uint8_t> out(n);
            for (auto& b : out) b = static_cast<std::uint8_t>(Below(256));
            return out;
        };
        auto text = [&](const std::wstring& t, bool terminator) {
            std::vector<std::uint8_t> out;
            for (wchar_t c : t) {
                out.push_back(static_cast<std::uint8_t>(c & 0xff));
                out.push_back(static_cast<std::uint8_t>((c >> 8) & 0xff));
            }
            if (terminator) out.insert(out.end(), {0, 0});
            return out;
        };
        switch (Below(14)) {
        case 0: v.type = reg_type::kString; v.data = text(Name(false), true); break;
        case 1: v.type = reg_type::kString; v.data = text(Name(false), false); break;         // no terminator
        // Odd size (never a single byte: Wine's editor fails on the whole file then; the
        // script writer puts such values last).
        case 2: v.type = reg_type::kString; v.data = text(Name(false), true); v.data.pop_back(); break;
        case 3: v.type = reg_type::kString; v.data = text(L"a\0b" + Name(false), true); v.data[2] = 0; break;
        case 4: v.type = reg_type::kExpandString; v.data = text(L"%SystemRoot%\\" + Name(false), true); break;
        case 5: v.type = reg_type::kMultiString; v.data = text(Name(false) + L'\0' + Name(false) + L'\0', true); break;
        case 6: v.type = reg_type::kMultiString; v.data = text(Name(false), Below(2)); break;    // malformed list
        case 7: v.type = reg_type::kBinary; v.data = bytes(static_cast<size_t>(Below(40))); break;
        case 8: v.type = reg_type::kDword; v.data = bytes(Below(6) ? 4 : static_cast<size_t>(Below(9))); break;
        case 9: v.type = reg_type::kQword; v.data = bytes(Below(6) ? 8 : static_cast<size_t>(Below(12))); break;
        case 10: v.type = reg_type::kNone; v.data = bytes(static_cast<size_t>(Below(10))); break;
        case 11: v.type = static_cast<std::uint32_t>(0x20 + Below(0x1000)); v.data = bytes(static_cast<size_t>(Below(7))); break;
        case 12: v.type = Below(2) ? reg_type::kBinary : reg_type::kString; v.data = bytes(65536 + static_cast<size_t>(Below(2))); break;
        default: v.type = reg_type::kString; v.data = text(L"\"C:\\Program Files\\" + Name(false) + L"\\app.exe\" /x", true); break;
        }
        return v;
    }

private:
    std::mt19937 rng_;
    unsigned serial_ = 0;
};

bool Write(HKEY root, const std::wstring& path, RegView view, const RegValueData& v) {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE | Sam(view), nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    UniqueHKey owner(key);
    return ::RegSetValueExW(key, v.name.c_str(), 0, v.type, v.data.empty() ? nullptr : v.data.data(),
                            static_cast<DWORD>(v.data.size())) == ERROR_SUCCESS;
}

// ---- one entry of each kind the actions remove ------------------------------------------

enum class Kind { RunValue, DisabledItem, UninstallRecord, Association };

struct Entry {
    Kind kind;
    wchar_t digit = L'0';  // autostart source
    HKEY root = nullptr;
    std::wstring key;      // the value's key, or the key that goes whole
    RegView view = RegView::Bits64;
    std::wstring name;     // value name, item name, record caption or extension
    TreeDump before;
    RegValueData value;    // a Run value
    std::wstring approvalKey;  // where Task Manager keeps its enabled state, when it has one
    RegValueData approval;
    std::string Where() const {
        return "kind " + std::to_string(static_cast<int>(kind)) + " source " + Utf8(std::wstring(1, digit)) + " " +
               (root == HKEY_LOCAL_MACHINE ? "HKLM" : root == HKEY_CLASSES_ROOT ? "HKCR" : "HKCU") + "\\" +
               Printable(key) + (view == RegView::Bits32 ? " (32-bit view)" : "") + " name \"" + Printable(name) + "\"";
    }
};

void FillTree(Hostile& h, HKEY root, const std::wstring& path, RegView view, int depth, int values) {
    for (int i = 0; i < values; ++i) Write(root, path, view, h.Value(h.Below(6) ? h.Name(false) : L""));
    if (depth <= 0) return;
    const int subkeys = h.Below(3);
    for (int i = 0; i < subkeys; ++i) {
        const std::wstring sub = path + L"\\" + h.Name(true);
        // An empty subkey comes back too.
        if (h.Below(4) == 0) {
            HKEY key = nullptr;
            if (::RegCreateKeyExW(root, sub.c_str(), 0, nullptr, 0, KEY_READ | Sam(view), nullptr, &key, nullptr) ==
                ERROR_SUCCESS) {
                ::RegCloseKey(key);
            }
        } else {
            FillTree(h, root, sub, view, depth - 1, 1 + h.Below(4));
        }
    }
}

Entry MakeEntry(Hostile& h) {
    Entry e;
    switch (h.Below(4)) {
    case 0: {
        static const wchar_t digits[] = {L'1', L'2', L'3', L'4', L'6', L'7'};
        e.kind = Kind::RunValue;
        e.digit = digits[h.Below(6)];
        const AutostartPlace place = PlaceOfSource(e.digit);
        e.root = place.machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
        e.key = place.key;
        e.view = RegView::Bits64;
        e.name = h.Name(false);
        e.value = h.Value(e.name);
        Write(e.root, e.key, e.view, e.value);
        // Half of them have an enabled state as Task Manager keeps it, enabled or not.
        if (const std::wstring approved = StartupApprovedKeyOf(e.digit); !approved.empty() && h.Below(2)) {
            e.approvalKey = approved;
            e.approval = RegValueData{e.name, REG_BINARY, {}};
            for (int i = 0; i < 12; ++i) e.approval.data.push_back(static_cast<std::uint8_t>(h.Below(256)));
            Write(e.root, e.approvalKey, RegView::Bits64, e.approval);
        }
        break;
    }
    case 1:
        e.kind = Kind::DisabledItem;
        e.digit = L'5';
        e.root = HKEY_LOCAL_MACHINE;
        e.name = h.Name(true);
        e.key = kMsConfigKey + e.name;
        e.view = RegView::Bits64;
        FillTree(h, e.root, e.key, e.view, 1, 2 + h.Below(5));
        break;
    case 2: {
        e.kind = Kind::UninstallRecord;
        e.root = h.Below(2) ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
        e.key = kUninstallKey + h.Name(true);
        // The machine's 32-bit programs keep their records in the 32-bit view.
        e.view = e.root == HKEY_LOCAL_MACHINE && h.Below(2) ? RegView::Bits32 : RegView::Bits64;
        e.name = h.Name(false);  // the caption the row shows
        FillTree(h, e.root, e.key, e.view, 2, 1 + h.Below(5));
        RegValueData display{L"DisplayName", reg_type::kString, {}};
        for (wchar_t c : e.name + L'\0') {
            display.data.push_back(static_cast<std::uint8_t>(c & 0xff));
            display.data.push_back(static_cast<std::uint8_t>(c >> 8));
        }
        Write(e.root, e.key, e.view, display);
        break;
    }
    default:
        e.kind = Kind::Association;
        e.name = L"." + h.Name(true);
        // Half in the user's classes, which Windows merges over the machine's.
        e.root = h.Below(2) ? HKEY_CURRENT_USER : HKEY_CLASSES_ROOT;
        e.key = e.root == HKEY_CURRENT_USER ? ClassPath(ClassHive::User, e.name) : e.name;
        e.view = RegView::Bits64;
        FillTree(h, e.root, e.key, e.view, 2, 1 + h.Below(4));
        break;
    }
    if (e.kind == Kind::RunValue) {
        RegValueData stored;
        ReadValueData(e.root, e.key, e.name, e.view, stored);
        e.before[L""][e.name] = stored;
    } else {
        DumpTree(e.root, e.key, e.view, L"", e.before);
    }
    return e;
}

bool StillThere(const Entry& e) {
    if (e.kind == Kind::RunValue) {
        RegValueData v;
        return ReadValueData(e.root, e.key, e.name, e.view, v) ||
               (!e.approvalKey.empty() && ReadValueData(e.root, e.approvalKey, e.name, RegView::Bits64, v));
    }
    TreeDump d;
    return DumpTree(e.root, e.key, e.view, L"", d);
}

std::string CompareAfter(const Entry& e) {
    TreeDump after;
    if (!e.approvalKey.empty()) {
        RegValueData v;
        if (!ReadValueData(e.root, e.approvalKey, e.name, RegView::Bits64, v)) return "the enabled state did not come back";
        if (v.type != e.approval.type || v.data != e.approval.data) return "the enabled state came back changed";
    }
    if (e.kind == Kind::RunValue) {
        RegValueData v;
        if (ReadValueData(e.root, e.key, e.name, e.view, v)) after[L""][e.name] = v;
        else after[L""];
    } else if (!DumpTree(e.root, e.key, e.view, L"", after)) {
        return "the key did not come back";
    }
    return CompareTrees(L"", e.before, after);
}

void Forget(const Entry& e) {
    if (!e.approvalKey.empty()) RemoveRegValue(e.root, e.approvalKey, e.name, RegView::Bits64);
    if (e.kind == Kind::RunValue) RemoveRegValue(e.root, e.key, e.name, e.view);
    else RemoveRegTree(e.root, e.key, e.view);
}

// Removes the entry as its page's button does once the user said yes; the backup file's name.
std::wstring RemoveAsTheButtonDoes(const Entry& e, const std::wstring& undo, std::string& problem) {
    switch (e.kind) {
    case Kind::RunValue:
    case Kind::DisabledItem: {
        const AutostartRemovalOutcome out = RemoveAutostartEntries({{e.name, e.digit}}, AutostartFolders{undo, L"", L""});
        if (out.backupFailed) problem = "backup failed: " + Utf8(out.backupError);
        else if (out.removed != 1) problem = "not removed: " + (out.failures.empty() ? "" : Utf8(out.failures[0].reason));
        return out.backupFiles.empty() ? std::wstring() : out.backupFiles[0];
    }
    case Kind::UninstallRecord:
    case Kind::Association: {
        const KeyRemoval removal =
            e.kind == Kind::UninstallRecord
                ? BackUpAndRemoveKey(undo, e.root, e.key, e.view, CleanUninstallCaption(e.name), L"_uninstall.reg")
                : BackUpAndRemoveKey(undo, e.root, e.key, e.view, e.name.substr(1), L"_association.reg");
        if (removal.outcome != KeyRemoval::Outcome::Removed) problem = "not removed: " + Utf8(removal.reason);
        return removal.backupFile;
    }
    }
    return {};
}

unsigned SeedFromEnvironment() {
    if (const char* s = std::getenv("TALIVEER_SOAK_SEED")) return static_cast<unsigned>(std::strtoul(s, nullptr, 10));
    return static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count() & 0x7fffffff);
}

int CyclesFromEnvironment() {
    if (const char* s = std::getenv("TALIVEER_SOAK_CYCLES")) return std::atoi(s);
    return 1000;
}

// Every file below `folder`, with its size and time, except those below `skip`.
void ListFiles(const std::wstring& folder, const std::wstring& skip, std::set<std::wstring>& out) {
    WIN32_FIND_DATAW found;
    UniqueFindHandle search(::FindFirstFileW((folder + L"*").c_str(), &found));
    if (!search) return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (::CompareStringOrdinal(path.c_str(), -1, skip.c_str(), static_cast<int>(skip.size()) - 1, TRUE) ==
                CSTR_EQUAL) {
                continue;
            }
            if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
            ListFiles(path + L"\\", skip, out);
        } else {
            out.insert(path);
        }
    } while (::FindNextFileW(search.get(), &found));
}

TEST(RemoveRestoreSoak, EveryRemovedEntryComesBackExactlyThroughTheRegistryEditor) {
    const unsigned seed = SeedFromEnvironment();
    const int cycles = CyclesFromEnvironment();
    std::printf("soak: seed %u (TALIVEER_SOAK_SEED=%u repeats this run)\n", seed, seed);
    std::fflush(stdout);
    Hostile h(seed);
    test::UserWow6432NodeGuard wow;  // source 6 makes it
    test::UndoFolderGuard undo(test::TempUndoFolder());
    const std::wstring undoParent = undo.Folder().substr(0, undo.Folder().size() - 5);  // "...\\taliveer undo test\\"

    std::set<std::wstring> filesBefore;
    ListFiles(L"C:\\", undoParent, filesBefore);

    const auto started = std::chrono::steady_clock::now();
    int done = 0, differences = 0;
    constexpr int kBatch = 50;
    while (done < cycles) {
        std::vector<Entry> entries;
        for (int i = 0; i < kBatch && done + i < cycles; ++i) entries.push_back(MakeEntry(h));
        std::vector<std::wstring> files;
        for (const Entry& e : entries) {
            std::string problem;
            const std::wstring file = RemoveAsTheButtonDoes(e, undo.Folder(), problem);
            EXPECT_TRUE(problem.empty()) << "seed " << seed << ": " << e.Where() << ": " << problem;
            EXPECT_FALSE(StillThere(e)) << "seed " << seed << ": still there after its removal: " << e.Where();
            if (!file.empty()) files.push_back(undo.Folder() + file);
        }
        // Opened with the registry editor, several backups to one start of it.
        for (size_t at = 0; at < files.size(); at += 25) {
            std::wstring arguments;
            for (size_t i = at; i < files.size() && i < at + 25; ++i) arguments += L" \"" + files[i] + L"\"";
            test::RunRegistryEditor(arguments);
        }
        for (const Entry& e : entries) {
            const std::string difference = CompareAfter(e);
            if (!difference.empty()) {
                ++differences;
                ADD_FAILURE() << "seed " << seed << ": " << e.Where() << ": " << difference;
            }
            Forget(e);
        }
        for (const auto& file : files) ::DeleteFileW(file.c_str());
        done += static_cast<int>(entries.size());
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    std::set<std::wstring> filesAfter;
    ListFiles(L"C:\\", undoParent, filesAfter);
    int outside = 0;
    for (const auto& f : filesAfter) {
        if (filesBefore.count(f)) continue;
        ++outside;
        ADD_FAILURE() << "a file outside the Undo folder appeared: " << Utf8(f);
    }
    const char* build = sizeof(void*) == 4 ? "32-bit" : "64-bit";
    std::printf("soak (%s build): %d remove->restore cycles, %d differences, seed %u, %.1f s; %d new files outside "
                "the Undo folder (of %zu files in the prefix)\n"
                "soak (%s build): Wine's registry editor's own faults, left out: %d unterminated strings came back "
                "with a terminator; %d odd-sized strings not compared\n",
                build, done, differences, seed, seconds, outside, filesAfter.size(), build, g_terminatorsAdded,
                g_oddStringsLeftOut);
    std::fflush(stdout);
    EXPECT_GE(done, cycles);
}

TEST(RemoveRestoreSoak, ANameALineCannotCarryIsNeitherSavedNorRemoved) {
    test::UndoFolderGuard undo(test::TempUndoFolder());
    const std::wstring name = L"TalSoak line\nbreak";
    test::ScratchValue value(HKEY_CURRENT_USER, kRunKey, 0, name, L"x.exe");
    const AutostartRemovalOutcome out = RemoveAutostartEntries({{name, L'1'}}, AutostartFolders{undo.Folder(), L"", L""});
    EXPECT_EQ(out.removed, 0);
    ASSERT_EQ(out.failures.size(), 1u);
    RegValueData still;
    EXPECT_TRUE(ReadValueData(HKEY_CURRENT_USER, kRunKey, name, RegView::Bits64, still));
    EXPECT_TRUE(undo.Files().empty());
}

}  // namespace
}  // namespace taliveer
