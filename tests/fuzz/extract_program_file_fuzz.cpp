// libFuzzer target: any command line, as UTF-16 code units, through the command-line rules.
#include "services/pure/command_line.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::wstring text;
    for (std::size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
    static const taliveer::PrefixFolders folders{L"C:\\Windows\\", L"C:\\Users\\Ann\\"};
    const std::wstring file = taliveer::ExtractProgramFile(text, folders, taliveer::AsciiUpperCase);
    if (file.find(L'"') != std::wstring::npos) std::abort();  // quotes are always removed
    (void)taliveer::ExpandPathPrefixes(text, folders);
    return 0;
}
