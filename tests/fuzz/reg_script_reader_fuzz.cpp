// libFuzzer target: any bytes as a registry script (after either header, as UTF-16LE or
// ANSI). The reader never crashes or hangs, and whatever it reads, written again by the
// script writer and read again, is the same keys, names, types and bytes.
#include "services/pure/reg_script_reader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Compare(const taliveer::ScriptReading& a, const taliveer::ScriptReading& b) {
    if (!b.ok || a.keys.size() != b.keys.size()) std::abort();
    for (std::size_t k = 0; k < a.keys.size(); ++k) {
        const auto& x = a.keys[k];
        const auto& y = b.keys[k];
        if (x.root != y.root || x.path != y.path || x.values.size() != y.values.size()) std::abort();
        for (const auto& value : x.values) {
            bool found = false;
            for (const auto& other : y.values)
                if (other.name == value.name && other.type == value.type && other.data == value.data) found = true;
            if (!found) std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::uint8_t mode = data[0];
    ++data;
    --size;
    std::vector<std::uint8_t> file;
    const std::string header = mode & 1 ? "REGEDIT4\r\n" : "Windows Registry Editor Version 5.00\r\n";
    if (mode & 2) {
        file = {0xFF, 0xFE};
        for (char c : header) file.insert(file.end(), {static_cast<std::uint8_t>(c), 0});
    } else {
        file.assign(header.begin(), header.end());
    }
    file.insert(file.end(), data, data + size);
    const taliveer::ScriptReading reading = taliveer::ReadRegScriptFile(file);
    if (!reading.ok) {
        if (reading.errorLine < 1 || reading.error.empty() || !reading.keys.empty()) std::abort();
        return 0;
    }
    taliveer::RegScript script;
    taliveer::ScriptReading kept;
    kept.ok = true;
    for (const auto& key : reading.keys) {
        if (key.deleted) continue;
        script.AddKey(key.root, key.path, key.values);
        kept.keys.push_back(key);
    }
    Compare(kept, taliveer::ReadRegScriptFile(taliveer::EncodeUtf16LeWithBom(script.Text())));
    return 0;
}
