#include "pages/associations/pure/association_rules.h"

#include "services/pure/command_line.h"

namespace taliveer {

std::wstring AssociationSearchKey(std::wstring_view text) {
    std::wstring key = AsciiUpperCase(text);
    if (key.empty() || key.front() != L'.') key.insert(key.begin(), L'.');
    return key;
}

int FindPrefixRow(const std::vector<std::wstring>& captions, std::wstring_view text) {
    if (text.empty()) return -1;
    const std::wstring key = AssociationSearchKey(text);
    for (size_t i = 0; i < captions.size(); ++i) {
        if (AsciiUpperCase(captions[i]).compare(0, key.size(), key) == 0) return static_cast<int>(i);
    }
    return -1;
}

std::wstring ProgIdSubkey(std::wstring_view progId, std::wstring_view subkey) {
    return std::wstring(progId) + std::wstring(subkey);
}

std::wstring AssociationCountText(int rows) { return std::to_wstring(rows) + L" 个关联"; }

std::wstring DefaultDescription(std::wstring_view extensionText) {
    if (extensionText.empty()) return {};
    const std::wstring dotted = extensionText.front() == L'.' ? std::wstring(extensionText) : L"." + std::wstring(extensionText);
    return dotted.substr(1) + L".file";
}

std::wstring ProgIdForExtension(std::wstring_view extension) {
    return std::wstring(extension.empty() ? extension : extension.substr(1)) + L".file";
}

std::wstring ArgumentSuffix(std::wstring_view program) {
    const bool ownArguments = program.find(L'%') != std::wstring_view::npos ||
                              program.find(L'/') != std::wstring_view::npos ||
                              program.find(L" -") != std::wstring_view::npos;
    return ownArguments ? L"" : L" \"%1\"";
}

std::wstring IconLocation(std::wstring_view program) { return L"\"" + std::wstring(program) + L"\", -1"; }

std::optional<std::wstring> AssociationComplaint(EditorMode mode, std::wstring_view extension,
                                                 std::wstring_view description, std::wstring_view program,
                                                 const std::function<bool(const std::wstring&)>& fileExists) {
    if (extension.empty()) return L"请指定一个扩展!";
    if (description.empty()) return L"请指定一个描述!";
    if (program.empty()) return L"请指定一个程序!";
    if (extension.front() != L'.') return L"扩展应该从!";
    if (extension.find(L'\\') != std::wstring_view::npos) return L"无效符号 \"\\\" 在扩展!";
    if (mode == EditorMode::Add && !fileExists(std::wstring(program))) return L"文件未找到!";
    return std::nullopt;
}

std::wstring ConfirmRemoveAssociationText(std::wstring_view extension) {
    return L"您确定您要删除关联 \"" + std::wstring(extension) + L"\" ?";
}

std::wstring UserChoiceWarningText(std::wstring_view extension, std::wstring_view chosenProgId) {
    return L"你在“打开方式”中为 " + std::wstring(extension) + L" 文件选择了 \"" + std::wstring(chosenProgId) +
           L"\"。在 Windows 的“默认应用”设置中改选之前，Windows 会继续使用它，这里保存的设置不起作用。仍要保存吗?";
}

std::wstring UnreadableAssociationText(std::wstring_view key, std::wstring_view reason) {
    return L"无法读取关联 \"" + std::wstring(key) + L"\"，没有保存任何内容。\n" + std::wstring(reason);
}

}  // namespace taliveer
