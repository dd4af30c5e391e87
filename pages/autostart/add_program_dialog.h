// TForm2a, "添加到自动启动": asks for a program file and adds it to the Run key of the
// current user or of the machine. The caller sets InitialFolder, shows it and reads Added.
#pragma once

#include "ui/box_window.h"
#include "ui/info_box.h"

#include <cstdint>
#include <string>

namespace taliveer {

namespace add_dialog_ids {
inline constexpr int kLabel1 = 101;
inline constexpr int kEdit1 = 102;
inline constexpr int kSelectButton = 103;
inline constexpr int kCheck1 = 104;  // 仅自己: the current user
inline constexpr int kCheck2 = 105;  // 所有用户: the machine
inline constexpr int kButton1 = IDOK;      // 添加程序 (Enter)
inline constexpr int kButton2 = IDCANCEL;  // 取消 (Escape)
}  // namespace add_dialog_ids

class TForm2a : public BoxWindow {
public:
    TForm2a(const BoxHost& host, TForm3a& infoBox);

    std::wstring InitialFolder;  // where the file dialog opens
    std::wstring UndoFolder;     // where a replaced value is saved first
    std::uint8_t Added = 0;      // 1 once a program was added
    std::wstring AddedName;      // the value it was added under
    wchar_t AddedSource = L'1';  // '1': the user's Run key, '3': the machine's

protected:
    void OnButton(int id) override;
    void OnCloseRequest() override;

private:
    void SelectButtonClick();
    void Button1Click();
    void Button2Click();

    TForm3a& infoBox_;
};

}  // namespace taliveer
