#include "pages/associations/association_editor.h"

#include "pages/associations/pure/association_rules.h"
#include "services/file_system.h"
#include "services/reg_unit.h"
#include "services/system_message.h"
#include "ui/program_chooser.h"

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
    const wchar_t* question = mode == EditorMode::Edit                     ? kSaveAssociation
                              : RegKeyExists(HKEY_CLASSES_ROOT, Extension) ? kReplaceExistingAssociation
                                                                           : kAddAssociation;
    if (!confirmBox_.Ask(question)) return;

    // An edited association keeps the file type its extension names now; only where it
    // names none is one made as for a new association. Never an empty one, which would
    // write at the root of HKEY_CLASSES_ROOT.
    std::wstring progId;
    if (mode == EditorMode::Edit) progId = ReadRegString(HKEY_CLASSES_ROOT, Extension, L"");
    if (progId.empty()) progId = ProgIdForExtension(Extension);
    if (!WriteAssociation(progId)) return;
    // Explorer shows the new icon and command at once.
    ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    Saved = 1;
    CloseBox();
}

bool TForm2b::WriteAssociation(const std::wstring& progId) {
    const std::pair<std::wstring, std::wstring> writes[] = {
        {Extension, progId},
        {progId, Description},
        {progId + L"\\shell\\open\\command", ProgramPath + ArgumentSuffix(ProgramPath)},
        {progId + L"\\DefaultIcon", IconLocation(ProgramPath)},
    };
    for (const auto& [key, data] : writes) {
        const LSTATUS status = SetRegString(HKEY_CLASSES_ROOT, key, L"", data, RegView::Bits64);
        if (status != ERROR_SUCCESS) {
            infoBox_.Show(L"无法写入 HKEY_CLASSES_ROOT\\" + key + L" 的默认值\n" + SystemMessage(static_cast<DWORD>(status)));
            return false;
        }
    }
    return true;
}

void TForm2b::Button2Click() {
    Saved = 0;
    CloseBox();
}

}  // namespace taliveer
