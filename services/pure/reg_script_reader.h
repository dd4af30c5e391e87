// Reads registry scripts back: "Windows Registry Editor Version 5.00" (UTF-16LE with a
// byte-order mark, as this program and the system's editor write it) and "REGEDIT4" (ANSI).
// Deletions ("[-key]", "name"=-) are listed, never meant to be acted on. Pure.
#pragma once

#include "services/pure/reg_script.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace taliveer {

struct ScriptKey {
    std::wstring root;  // the full root name: HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, ...
    std::wstring path;  // below the root; empty for the root itself
    int line = 0;       // where it first appears
    bool deleted = false;                   // "[-...]": the script would delete the key
    std::vector<RegValueData> values;       // in the order written; a name written twice keeps the last
    std::vector<std::wstring> deletedValues;  // "name"=-
};

struct ScriptReading {
    bool ok = false;
    bool regedit4 = false;
    std::vector<ScriptKey> keys;  // in order of first appearance; a key written twice is one
    int errorLine = 0;            // when not ok: the first line that could not be read
    std::wstring error;           // and why
    bool HasDeletions() const;
    int ValueCount() const;
};

// Text of an ANSI ("REGEDIT4") file: bytes of the system's ANSI code page to text. The
// default takes each byte as the character of the same number.
using AnsiDecoder = std::function<std::wstring(std::string_view)>;

// The file as it is on disk: UTF-16LE after its mark, else ANSI through `ansi`.
ScriptReading ReadRegScriptFile(std::span<const std::uint8_t> bytes, const AnsiDecoder& ansi = {});

// The decoded text. In a REGEDIT4 script hex(2) and hex(7) data are ANSI bytes, which the
// editor stores as UTF-16; `ansi` turns them into text likewise.
ScriptReading ReadRegScriptText(std::wstring_view text, const AnsiDecoder& ansi = {});

// "第 12 行: reason"
std::wstring ScriptErrorText(const ScriptReading& reading);

}  // namespace taliveer
