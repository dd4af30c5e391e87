#include "pages/associations/association_gather.h"

#include "pages/associations/pure/association_rules.h"
#include "services/class_store.h"
#include "services/reg_unit.h"

namespace taliveer {
namespace {
constexpr wchar_t kOpenCommandSubkey[] = L"shell\\open\\command";
constexpr wchar_t kDefaultIconSubkey[] = L"DefaultIcon";
}  // namespace

AssociationsRead ReadAssociations(AssociationSink& sink, ExtensionOrder order) {
    // The user's hive is looked in only for the keys it has.
    const ClassKeys keys;
    const UserChoices choices;
    auto add = [&](const std::wstring& name) {
        AssociationRow row;
        row.extension = name;
        // An empty ProgID addresses the root's own values, as stored. Each file type is
        // opened once in each hive; its subkeys are opened from there.
        const std::wstring progId = ClassKeyReader(name, &keys).String(L"");
        const ClassKeyReader type(progId, &keys);
        row.description = type.String(L"");
        if (row.description.empty()) row.description = progId;
        row.ownCommand = ClassKeyReader(type, kOpenCommandSubkey).String(L"");
        row.command = row.ownCommand;
        row.iconLocation = ClassKeyReader(type, kDefaultIconSubkey).String(L"");
        // What Windows runs is the user's choice, whatever the extension names.
        const std::wstring choice = choices.ProgIdOf(name);
        if (!choice.empty() && ::lstrcmpiW(choice.c_str(), progId.c_str()) != 0) {
            row.userChoice = choice;
            const ClassKeyReader chosen(choice, &keys);
            row.command = ClassKeyReader(chosen, kOpenCommandSubkey).String(L"");
            const std::wstring icon = ClassKeyReader(chosen, kDefaultIconSubkey).String(L"");
            if (!icon.empty()) row.iconLocation = icon;
        }
        sink.Add(row);
    };
    if (order == ExtensionOrder::SortedFirst) {
        for (const std::wstring& name : keys.Extensions()) {
            if (!sink.PumpMessagesAndContinue()) return AssociationsRead::Stopped;
            add(name);
        }
        return AssociationsRead::Completed;
    }
    ExtensionMerge merge = keys.MergedExtensions();
    while (const std::optional<std::wstring> name = merge.Next()) {
        if (!sink.PumpMessagesAndContinue()) return AssociationsRead::Stopped;
        add(*name);
    }
    return merge.FinishInOrder() ? AssociationsRead::Completed : AssociationsRead::OutOfOrder;
}

}  // namespace taliveer
