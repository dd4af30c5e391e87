// Rules of the association page that need no system: the search and the count. Pure.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace taliveer {

// The search text upper-cased (ASCII letters only), with a leading "." when it has none.
std::wstring AssociationSearchKey(std::wstring_view text);

// Index of the first caption that, upper-cased the same way, begins with the key made from
// `text`; -1 when none does or the text is empty.
int FindPrefixRow(const std::vector<std::wstring>& captions, std::wstring_view text);

// The file-type key under which a ProgID's values are read: "" names the root itself.
std::wstring ProgIdSubkey(std::wstring_view progId, std::wstring_view subkey);

// The description the editor offers for an extension typed in add mode: the extension
// without its dot, then ".file" ("txt" and ".txt" both give "txt.file").
std::wstring DefaultDescription(std::wstring_view extensionText);

// The file type an added association is written under: the extension without its first
// character, then ".file" (".txt" gives "txt.file", "." gives ".file").
std::wstring ProgIdForExtension(std::wstring_view extension);

// What follows the program in the open command: nothing when the program text already
// holds "%", "/" or " -" (it carries its own arguments), else  "%1" in quotes.
std::wstring ArgumentSuffix(std::wstring_view program);

// The icon location written for a program: the program in quotes, ", -1".
std::wstring IconLocation(std::wstring_view program);

enum class EditorMode { Add = 1, Edit = 2 };

// The first complaint about what the editor's boxes hold, in the order the user is told;
// nothing when they may be saved. `fileExists` is asked in add mode only.
std::optional<std::wstring> AssociationComplaint(EditorMode mode, std::wstring_view extension,
                                                 std::wstring_view description, std::wstring_view program,
                                                 const std::function<bool(const std::wstring&)>& fileExists);

inline constexpr wchar_t kReplaceExistingAssociation[] = L"该关联已经存在!你确定要更换新的吗?";
inline constexpr wchar_t kAddAssociation[] = L"你确定你要添加新的关联吗?";
inline constexpr wchar_t kSaveAssociation[] = L"你确定你要保存这个关联吗?";
inline constexpr wchar_t kSelectAssociation[] = L"请选择一个关联!";

// "您确定您要删除关联 "<extension>" ?"
std::wstring ConfirmRemoveAssociationText(std::wstring_view extension);

// Said before saving an extension whose files the user opens with a program chosen in
// Windows' "Open with": Windows keeps using that choice until the user picks another in
// Default Apps, whatever is saved here.
std::wstring UserChoiceWarningText(std::wstring_view extension, std::wstring_view chosenProgId);

// Said when the editor cannot read a copy of the extension's key: it is neither saved first
// nor written over. `key` is the key's full name, `reason` the system's.
std::wstring UnreadableAssociationText(std::wstring_view key, std::wstring_view reason);

// "12 个关联"
std::wstring AssociationCountText(int rows);

}  // namespace taliveer
