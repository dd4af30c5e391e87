#include "pages/associations/association_gather.h"

#include "pages/associations/pure/association_rules.h"
#include "services/class_store.h"
#include "services/reg_unit.h"

namespace taliveer {

bool ReadAssociations(AssociationSink& sink) {
    for (const std::wstring& name : ClassExtensions()) {
        if (!sink.PumpMessagesAndContinue()) return false;
        AssociationRow row;
        row.extension = name;
        // An empty ProgID addresses the root's own values, as stored.
        const std::wstring progId = ReadClassString(name, L"");
        row.description = ReadClassString(ProgIdSubkey(progId, L""), L"");
        if (row.description.empty()) row.description = progId;
        row.ownCommand = ReadClassString(ProgIdSubkey(progId, L"\\shell\\open\\command"), L"");
        row.command = row.ownCommand;
        row.iconLocation = ReadClassString(ProgIdSubkey(progId, L"\\DefaultIcon"), L"");
        // What Windows runs is the user's choice, whatever the extension names.
        const std::wstring choice = UserChoiceProgId(name);
        if (!choice.empty() && ::lstrcmpiW(choice.c_str(), progId.c_str()) != 0) {
            row.userChoice = choice;
            row.command = ReadClassString(choice + L"\\shell\\open\\command", L"");
            const std::wstring icon = ReadClassString(choice + L"\\DefaultIcon", L"");
            if (!icon.empty()) row.iconLocation = icon;
        }
        sink.Add(row);
    }
    return true;
}

}  // namespace taliveer
