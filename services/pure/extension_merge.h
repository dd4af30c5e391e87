// The extensions of the file classes in the order the association page lists them (by name,
// without regard to letter case, each once), merged from the user's extensions, all read
// beforehand, and the machine's key names as the registry lists them, read one by one only as
// far as the next extension needs. Windows and Wine list a key's subkeys in that same order,
// so the first rows need only the first names; whether the registry kept to it is known once
// every name has been read.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace taliveer {

class ExtensionMerge {
public:
    // The machine's next key name, nothing after the last one.
    using NextName = std::function<std::optional<std::wstring>()>;
    // Compares two names without regard to case: below, at or above zero.
    using Compare = int (*)(std::wstring_view, std::wstring_view);

    // `userExtensions` in order and each once; where both hives hold an extension the user's
    // spelling is the one given.
    ExtensionMerge(std::vector<std::wstring> userExtensions, NextName machineNames, Compare compare);

    // The next extension; nothing once all are given, or as soon as the machine's names were
    // seen out of order (then FinishInOrder is false).
    std::optional<std::wstring> Next();

    // Reads the machine's remaining names: true when all of them came in order, so that
    // Next gave every extension, each in its place; false means the caller must sort.
    bool FinishInOrder();

private:
    // Reads machine names up to its next extension or the end of the extensions.
    void ReadMachine();
    // Takes the next machine name, noting whether it came in order.
    std::optional<std::wstring> Take();

    std::vector<std::wstring> user_;
    size_t nextUser_ = 0;
    NextName machineNames_;
    Compare compare_;
    std::optional<std::wstring> pending_;  // the machine's next extension
    std::wstring last_;                    // the machine's last name read
    bool machineDone_ = false;             // no machine extension can follow
    bool readAll_ = false;
    bool outOfOrder_ = false;
};

}  // namespace taliveer
