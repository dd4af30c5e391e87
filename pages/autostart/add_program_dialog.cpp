#include "pages/autostart/add_program_dialog.h"

#include "pages/autostart/pure/autostart_rules.h"
#include "services/file_system.h"
#include "services/reg_unit.h"
#include "services/system_message.h"
#include "services/undo_backup.h"
#include "ui/program_chooser.h"


namespace taliveer {
namespace {

using namespace add_dialog_ids;

constexpr ControlSpec kAddProgramLayout[] = {
    {kLabel1, L"Label1", ControlKind::Label, 0, 16, 20, 200, 15, L"指定一个程序", FontId::Arial12, kBlack, flag::kAutoSize},
    {kEdit1, L"Edit1", ControlKind::Edit, 0, 16, 40, 320, 23, L"", FontId::Arial12, kBlack, flag::kReadOnly},
    {kSelectButton, L"SelectButton", ControlKind::PushButton, 0, 344, 39, 24, 24, L"...", FontId::Arial12, kBlack, 0},
    {kCheck1, L"Check1", ControlKind::RadioButton, 0, 112, 72, 66, 17, L"仅自己", FontId::Arial12, kBlack,
     flag::kGroup | flag::kChecked},
    {kCheck2, L"Check2", ControlKind::RadioButton, 0, 184, 72, 80, 17, L"所有用户", FontId::Arial12, kBlack, 0},
    {kButton1, L"Button1", ControlKind::PushButton, 0, 80, 112, 100, 25, L"添加程序", FontId::Arial12, kBlack,
     flag::kDefault},
    {kButton2, L"Button2", ControlKind::PushButton, 0, 192, 112, 100, 25, L"取消", FontId::Arial12, kBlack, 0},
};


}  // namespace

TForm2a::TForm2a(const BoxHost& host, TForm3a& infoBox)
    : BoxWindow(host, L"添加到自动启动", 382, 150, kAddProgramLayout, RGB(255, 255, 255)), infoBox_(infoBox) {}

void TForm2a::OnButton(int id) {
    switch (id) {
    case kSelectButton: SelectButtonClick(); break;
    case kButton1: Button1Click(); break;
    default: break;  // the radio buttons keep their own state
    }
}

void TForm2a::OnCloseRequest() { Button2Click(); }

void TForm2a::SelectButtonClick() {
    const std::wstring chosen = ChooseProgramFile(hwnd(), InitialFolder);
    if (!chosen.empty()) ::SetWindowTextW(Control(kEdit1), chosen.c_str());
}

void TForm2a::Button1Click() {
    const std::wstring path = WindowText(Control(kEdit1));
    if (path.empty()) {
        infoBox_.Show(kSpecifyProgram);
        return;
    }
    if (!FileExists(path)) {
        infoBox_.Show(kFileNotFound);
        return;
    }
    const bool machine = ::SendMessageW(Control(kCheck2), BM_GETCHECK, 0, 0) == BST_CHECKED;
    const HKEY root = machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    const std::wstring key = std::wstring(machine ? L"HKEY_LOCAL_MACHINE\\" : L"HKEY_CURRENT_USER\\") + kRunKey;
    const std::wstring name = ProgramValueName(path);
    AddedName = name;
    AddedSource = machine ? L'3' : L'1';

    // A value of the same name is replaced without asking, but saved first, exactly as a
    // removal saves it; one that already holds this very command is left as it is.
    RegValueData old;
    std::wstring replacedBackup;
    if (ReadValueData(root, kRunKey, name, RegView::Bits64, old)) {
        if (old.type == REG_SZ && old.data == RegStringBytes(path)) {
            Added = 1;
            CloseBox();
            return;
        }
        RegScript script;
        std::wstring error;
        if (!AppendRegValue(script, root, kRunKey, name, RegView::Bits64, error)) {
            infoBox_.Show(L"无法保存 \"" + name + L"\" 原来的值，没有写入任何内容。\n" + error);
            return;
        }
        const BackupResult saved = SaveRegScript(UndoFolder, CleanedAutostartName(name), L"_startup.reg", script);
        if (!saved.written) {
            infoBox_.Show(L"无法写入撤消文件，没有替换 \"" + name + L"\" 原来的值。\n" + UndoFolder + L"\n" + saved.error);
            return;
        }
        replacedBackup = saved.fileName;
    }
    const LSTATUS status = SetRegString(root, kRunKey, name, path, RegView::Bits64);
    if (status != ERROR_SUCCESS) {
        // Said, not swallowed: the dialog stays so that the user can choose "仅自己".
        infoBox_.Show(L"无法写入 " + key + L"\n" + SystemMessage(static_cast<DWORD>(status)) +
                      (replacedBackup.empty() ? L"" : L"\n原来的值没有改变。"));
        return;
    }
    if (!replacedBackup.empty()) {
        infoBox_.Show(L"\"" + name + L"\" 原来的命令已被替换，原值已保存到撤消文件 " + replacedBackup + L"。");
    }
    Added = 1;
    CloseBox();
}

void TForm2a::Button2Click() {
    Added = 0;
    CloseBox();
}

}  // namespace taliveer
