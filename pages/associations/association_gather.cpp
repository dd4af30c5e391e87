#include "pages/associations/association_gather.h"

#include "pages/associations/pure/association_rules.h"
#include "services/reg_unit.h"

namespace taliveer {

bool ReadAssociations(AssociationSink& sink) {
    StringList names;
    ReadKeyNames(HKEY_CLASSES_ROOT, L"\\", names);
    for (const std::wstring& name : names) {
        if (!sink.PumpMessagesAndContinue()) return false;
        if (name.empty() || name.front() != L'.') continue;
        AssociationRow row;
        row.extension = name;
        // An empty ProgID addresses the root's own values, as stored.
        const std::wstring progId = ReadRegString(HKEY_CLASSES_ROOT, name, L"");
        row.description = ReadRegString(HKEY_CLASSES_ROOT, ProgIdSubkey(progId, L""), L"");
        if (row.description.empty()) row.description = progId;
        row.command = ReadRegString(HKEY_CLASSES_ROOT, ProgIdSubkey(progId, L"\\shell\\open\\command"), L"");
        row.iconLocation = ReadRegString(HKEY_CLASSES_ROOT, ProgIdSubkey(progId, L"\\DefaultIcon"), L"");
        sink.Add(row);
    }
    return true;
}

}  // namespace taliveer
