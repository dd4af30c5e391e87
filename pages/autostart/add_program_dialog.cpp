#include "pages/autostart/add_program_dialog.h"

#include "pages/autostart/pure/autostart_rules.h"
#include "services/file_system.h"
#include "services/reg_unit.h"
#include "services/system_message.h"
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
    const LSTATUS status =
        SetRegString(machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, kRunKey, ProgramValueName(path), path, RegView::Bits64);
    if (status != ERROR_SUCCESS) {
        // Said, not swallowed: the dialog stays so that the user can choose "仅自己".
        const std::wstring key = std::wstring(machine ? L"HKEY_LOCAL_MACHINE\\" : L"HKEY_CURRENT_USER\\") + kRunKey;
        infoBox_.Show(L"无法写入 " + key + L"\n" + SystemMessage(static_cast<DWORD>(status)));
        return;
    }
    Added = 1;
    CloseBox();
}

void TForm2a::Button2Click() {
    Added = 0;
    CloseBox();
}

}  // namespace taliveer
