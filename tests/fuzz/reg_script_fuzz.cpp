// libFuzzer target: any value (name, type, bytes) through the script formatter, and any
// name through the backup-name rules.
#include "services/pure/backup_name.h"
#include "pages/autostart/pure/autostart_rules.h"
#include "pages/uninstall/pure/uninstall_rules.h"
#include "services/pure/reg_script.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const std::uint32_t type = data[0] % 12;
    const std::size_t nameBytes = data[1] % 64 * 2;
    data += 2;
    size -= 2;
    std::wstring name;
    std::size_t i = 0;
    for (; i + 1 < size && i < nameBytes; i += 2) name.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
    taliveer::RegValueData value{name, type, std::vector<std::uint8_t>(data + i, data + size)};

    const std::wstring line = taliveer::FormatRegValue(value);
    // With a name that a line can carry, a value's text never breaks the script's lines
    // but by the editor's own hex continuation ("\" at a line's end).
    if (taliveer::RegNameWritable(name)) {
        for (std::size_t at = 0; at < line.size(); ++at) {
            if (line[at] == L'\r' && !(at + 1 < line.size() && line[at + 1] == L'\n' && at > 0 && line[at - 1] == L'\\'))
                std::abort();
            if (line[at] == L'\n' && !(at > 0 && line[at - 1] == L'\r')) std::abort();
        }
    }

    const std::wstring folder = L"C:\\Undo\\";
    const std::wstring file = taliveer::BackupFileName(folder, name, L"_uninstall.reg", 1 + data[0] % 5);
    if (!file.empty()) {
        if (file.find_first_of(L"\\/:*?\"<>|") != std::wstring::npos) std::abort();
        for (wchar_t c : file)
            if (static_cast<unsigned>(c) < 32u) std::abort();
        if (folder.size() + file.size() > 259) std::abort();
    }
    // The autostart page's cleaned names obey the same rules once made a file name.
    const std::wstring cleaned = taliveer::BackupFileName(folder, taliveer::CleanedAutostartName(name), L"_startup.reg", 1);
    if (!cleaned.empty() && cleaned.find_first_of(L"\\/:*?\"<>|") != std::wstring::npos) std::abort();
    (void)taliveer::CleanUninstallCaption(name);
    return 0;
}
