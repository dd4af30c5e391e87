#include "pages/associations/association_editor.h"

#include "pages/associations/pure/association_rules.h"
#include "services/file_system.h"
#include "services/reg_unit.h"
#include "services/system_message.h"
#include "services/undo_backup.h"
#include "ui/program_chooser.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include <shlobj.h>

namespace taliveer {
namespace {

using namespace editor_ids;

constexpr ControlSpec kEditorLayout[] = {
    {kLabel1, L"Label1", ControlKind::Label, 0, 20, 12, 60, 15, L"扩展", FontId::Arial12, kBlack, flag::kAutoSize},
    {kLabel2, L"Label2", ControlKind::Label, 0, 112, 12, 60, 15, L"描述", FontId::Arial12, kBlack, flag::kAutoSize},
    {kLabel3, L"Label3", ControlKind::Label, 0, 20, 68, 120, 15, L"指定一个程序", FontId::Arial12, kBlack, flag::kAutoSize},
    {kEdit1, L"Edit1", ControlKind::Edit, 0, 20, 32, 80, 21, L"", FontId::Arial12, kBlack, 0},
    {kEdit2, L"Edit2", ControlKind::Edit, 0, 112, 32, 258, 21, L"", FontId::Arial12, kBlack, 0},
    {kEdit3, L"Edit3", ControlKind::Edit, 0, 20, 88, 320, 21, L"", FontId::Arial12, kBlack, flag::kReadOnly},
    {kSelectButton, L"SelectButton", ControlKind::PushButton, 0, 348, 87, 24, 24, L"...", FontId::Arial12, kBlack, 0},
    {kButton1, L"Button1", ControlKind::PushButton, 0, 96, 128, 100, 25, L"保存", FontId::Arial12, kBlack, flag::kDefault},
    {kButton2, L"Button2", ControlKind::PushButton, 0, 208, 128, 100, 25, L"取消", FontId::Arial12, kBlack, 0},
};


}  // namespace

TForm2b::TForm2b(const BoxHost& host, TForm3a& infoBox, TForm3b& confirmBox)
    : BoxWindow(host, L"关联", 390, 170, kEditorLayout, RGB(255, 255, 255)), infoBox_(infoBox), confirmBox_(confirmBox) {}

void TForm2b::Show() {
    ShowForm();
    ShowModal();
}

void TForm2b::ShowForm() {
    ::SetWindowTextW(hwnd(), EditMode == 1 ? L"添加新关联" : L"编辑关联");
    ::SetWindowTextW(Control(kEdit1), Extension.c_str());
    ::SetWindowTextW(Control(kEdit2), Description.c_str());
    ::SetWindowTextW(Control(kEdit3), ProgramPath.c_str());
    openedProgram_ = EditMode == 1 ? std::wstring() : ProgramPath;
}

void TForm2b::OnButton(int id) {
    if (id == kSelectButton) SelectButtonClick();
    if (id == kButton1) Button1Click();
}

void TForm2b::OnCloseRequest() { Button2Click(); }

void TForm2b::OnCommand(int id, int code) {
    if (id == kEdit1 && code == EN_KILLFOCUS) Edit1Exit();
}

void TForm2b::Edit1Exit() {
    if (EditMode != 1) return;
    const std::wstring extension = WindowText(Control(kEdit1));
    if (extension.empty()) return;
    ::SetWindowTextW(Control(kEdit2), DefaultDescription(extension).c_str());
}

void TForm2b::SelectButtonClick() {
    const std::wstring chosen = ChooseProgramFile(hwnd(), InitialFolder);
    if (!chosen.empty()) ::SetWindowTextW(Control(kEdit3), chosen.c_str());
}

void TForm2b::Button1Click() {
    const std::wstring extension = WindowText(Control(kEdit1));
    const std::wstring description = WindowText(Control(kEdit2));
    const std::wstring program = WindowText(Control(kEdit3));
    const EditorMode mode = EditMode == 1 ? EditorMode::Add : EditorMode::Edit;
    if (!extension.empty() && !description.empty() && !program.empty()) {
        Extension = extension;
        Description = description;
        ProgramPath = program;
    }
    if (const auto complaint = AssociationComplaint(mode, extension, description, program,
                                                    [](const std::wstring& file) { return FileExists(file); })) {
        infoBox_.Show(*complaint);
        return;
    }
    // Written where Windows would put it: into the classes that hold the extension (the
    // user's first), a new one into the user's unless the program runs elevated.
    // A copy that cannot be read can be neither saved first nor told apart from none.
    const LSTATUS userStatus = ClassKeyStatus(ClassHive::User, Extension);
    const LSTATUS machineStatus = ClassKeyStatus(ClassHive::Machine, Extension);
    for (const auto& [hive, status] : {std::pair{ClassHive::User, userStatus}, std::pair{ClassHive::Machine, machineStatus}}) {
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND && status != ERROR_PATH_NOT_FOUND) {
            infoBox_.Show(UnreadableAssociationText(ClassKeyName(hive, Extension), SystemMessage(static_cast<DWORD>(status))));
            return;
        }
    }
    const bool userHas = userStatus == ERROR_SUCCESS;
    const bool machineHas = machineStatus == ERROR_SUCCESS;
    const ClassHive hive = userHas      ? ClassHive::User
                           : machineHas ? ClassHive::Machine
                           : RunsElevated() ? ClassHive::Machine
                                            : ClassHive::User;
    std::wstring question = mode == EditorMode::Edit          ? kSaveAssociation
                            : userHas || machineHas ? kReplaceExistingAssociation
                                                    : kAddAssociation;
    // A program the user chose in "Open with" goes on opening these files, whatever is saved.
    const std::wstring choice = UserChoiceProgId(Extension);
    if (!choice.empty() && ::lstrcmpiW(choice.c_str(), ReadClassString(Extension, L"").c_str()) != 0) {
        question = UserChoiceWarningText(Extension, choice) + L"\n" + question;
    }
    if (!confirmBox_.Ask(question)) return;

    // An edited association keeps the file type its extension names now; only where it
    // names none is one made as for a new association. Never an empty one, which would
    // write at the root of the classes.
    const HKEY root = ClassRoot(hive);
    std::wstring progId;
    if (mode == EditorMode::Edit) progId = ReadRegString(root, ClassPath(hive, Extension), L"");
    if (progId.empty()) progId = ProgIdForExtension(Extension);
    std::wstring said;
    if (!WriteAssociation(progId, hive, said)) return;
    // Explorer shows the new icon and command at once.
    ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    if (!said.empty()) infoBox_.Show(said);
    Saved = 1;
    CloseBox();
}

bool TForm2b::WriteAssociation(const std::wstring& progId, ClassHive hive, std::wstring& said) {
    const HKEY root = ClassRoot(hive);
    const std::wstring rootName = hive == ClassHive::User ? L"HKEY_CURRENT_USER\\" : L"HKEY_LOCAL_MACHINE\\";
    const std::wstring place = rootName + ClassPath(hive, L"");
    struct Write {
        std::wstring key;
        RegValueData value;     // what goes in
        bool existed = false;
        RegValueData old;       // what was there
    };
    std::vector<std::pair<std::wstring, std::wstring>> wanted = {
        {Extension, progId},
        {progId, Description},
        {progId + L"\\shell\\open\\command", ProgramPath + ArgumentSuffix(ProgramPath)},
    };
    // The icon follows the program; an unchanged program keeps the icon it has.
    if (ProgramPath != openedProgram_) wanted.emplace_back(progId + L"\\DefaultIcon", IconLocation(ProgramPath));
    std::vector<Write> writes;
    for (const auto& [key, text] : wanted) {
        Write write;
        write.key = ClassPath(hive, key);
        write.existed = ReadValueData(root, write.key, L"", RegView::Bits64, write.old);
        if (write.existed && ReadRegString(root, write.key, L"") == text) continue;  // nothing to change
        // A command Windows expands (%SystemRoot%...) stays one it expands.
        write.value.type = write.existed && write.old.type == REG_EXPAND_SZ ? REG_EXPAND_SZ : REG_SZ;
        write.value.data = RegStringBytes(text);
        writes.push_back(std::move(write));
    }
    if (writes.empty()) return true;
    said = L"关联 " + Extension + L" 已保存到 " + place + L"。";

    // Everything about to be replaced is saved first, from where each key really lives.
    RegScript script;
    for (const Write& write : writes) {
        std::wstring error;
        if (write.existed && !AppendRegValue(script, root, write.key, L"", RegView::Bits64, error)) {
            infoBox_.Show(L"无法保存 " + write.key + L" 原来的值，没有写入任何内容。\n" + error);
            return false;
        }
    }
    std::wstring backup;
    if (!script.Empty()) {
        const BackupResult saved =
            SaveRegScript(UndoFolder, Extension.empty() ? L"" : Extension.substr(1), L"_association.reg", script);
        if (!saved.written) {
            infoBox_.Show(L"无法写入撤消文件，没有改变关联。\n" + UndoFolder + L"\n" + saved.error);
            return false;
        }
        backup = saved.fileName;
    }

    for (size_t i = 0; i < writes.size(); ++i) {
        const LSTATUS status = SetRegValue(root, writes[i].key, writes[i].value, RegView::Bits64);
        if (status == ERROR_SUCCESS) continue;
        // Half an association is worse than none: what was written goes back as it was.
        bool restored = true;
        for (size_t j = 0; j < i; ++j) {
            const Write& done = writes[j];
            const LSTATUS back = done.existed ? SetRegValue(root, done.key, done.old, RegView::Bits64)
                                              : RemoveRegValue(root, done.key, L"", RegView::Bits64);
            restored = restored && back == ERROR_SUCCESS;
        }
        std::wstring text = L"无法写入 " + rootName + writes[i].key + L" 的默认值\n" +
                            SystemMessage(static_cast<DWORD>(status)) + L"\n";
        text += restored ? L"关联保持原样。" : L"关联只改变了一部分。";
        if (!backup.empty()) text += L"\n原来的值已保存在撤消文件 " + backup + L" 中。";
        infoBox_.Show(text);
        return false;
    }

    const std::wstring extensionKey = ClassPath(hive, Extension);
    const bool typeChanged =
        std::any_of(writes.begin(), writes.end(), [&](const Write& w) { return w.key != extensionKey; });
    if (typeChanged) {
        const std::wstring others = OtherExtensionsOf(progId);
        if (!others.empty()) {
            said += L"\n文件类型 \"" + progId + L"\" 也被 " + others + L" 使用，它们的描述、程序和图标也随之改变。";
        }
    }
    if (!backup.empty()) said += L"\n原来的值已保存在撤消文件 " + backup + L" 中。";
    return true;
}

std::wstring TForm2b::OtherExtensionsOf(const std::wstring& progId) const {
    std::wstring others;
    for (const std::wstring& name : ClassExtensions()) {
        if (::lstrcmpiW(name.c_str(), Extension.c_str()) == 0) continue;
        const std::wstring named = ReadClassString(name, L"");
        if (::lstrcmpiW(named.c_str(), progId.c_str()) == 0) others += (others.empty() ? L"" : L", ") + name;
    }
    return others;
}

void TForm2b::Button2Click() {
    Saved = 0;
    CloseBox();
}

}  // namespace taliveer
