// The uninstall command split on any text: it never reads outside the text, and where it
// splits, the program and its parameters put together give the trimmed command back.
#include "pages/uninstall/pure/uninstall_rules.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    std::wstring command;
    for (std::size_t i = 1; i + 1 < size; i += 2) {
        command.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
    }
    // The first byte picks which of the candidate files "exist".
    const unsigned pick = data[0];
    unsigned asked = 0;
    const auto exists = [&](const std::wstring&) { return ((pick >> (asked++ % 8)) & 1) != 0; };
    const auto launch = taliveer::SplitUninstallCommand(command, L"C:\\Windows\\system32\\", exists);
    if (!launch) return 0;
    std::wstring unquoted = command;
    for (wchar_t& c : unquoted) {
        if (c == L'"') c = L' ';
    }
    std::size_t begin = 0, end = unquoted.size();
    while (begin < end && unquoted[begin] <= L' ') ++begin;
    while (end > begin && unquoted[end - 1] <= L' ') --end;
    const std::wstring trimmed = unquoted.substr(begin, end - begin);
    const bool msiexec = launch->file == L"C:\\Windows\\system32\\MsiExec.exe" && launch->parameters.size() <= trimmed.size();
    if (!msiexec && launch->file + launch->parameters != trimmed) std::abort();
    return 0;
}
