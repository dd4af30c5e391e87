// TForm2b, the association editor: an extension, its description and the program that
// opens it. The caller fills the fields, calls Show() and reads Saved.
#pragma once

#include "services/class_store.h"
#include "ui/box_window.h"
#include "ui/confirm_box.h"
#include "ui/info_box.h"

#include <cstdint>
#include <string>

namespace taliveer {

namespace editor_ids {
inline constexpr int kLabel1 = 101;
inline constexpr int kLabel2 = 102;
inline constexpr int kLabel3 = 103;
inline constexpr int kEdit1 = 104;  // extension
inline constexpr int kEdit2 = 105;  // description
inline constexpr int kEdit3 = 106;  // program (read-only)
inline constexpr int kSelectButton = 107;
inline constexpr int kButton1 = IDOK;      // 保存
inline constexpr int kButton2 = IDCANCEL;  // 取消 (Escape)
}  // namespace editor_ids

class TForm2b : public BoxWindow {
public:
    TForm2b(const BoxHost& host, TForm3a& infoBox, TForm3b& confirmBox);

    std::uint8_t EditMode = 1;  // 1 add, 2 edit
    std::wstring Extension;
    std::wstring Description;
    std::wstring ProgramPath;
    std::wstring InitialFolder;
    std::wstring UndoFolder;  // where the values a save replaces are kept first
    std::uint8_t Saved = 0;

    // Fills the boxes from the fields and shows the editor modally.
    void Show();

protected:
    void OnButton(int id) override;
    void OnCloseRequest() override;
    void OnCommand(int id, int code) override;

private:
    void ShowForm();
    void Edit1Exit();
    void SelectButtonClick();
    void Button1Click();
    void Button2Click();
    // Writes the values whose text changed (the icon only with a changed program), after
    // saving those it replaces; a refused write puts back what was already written. False,
    // and the user told what state the association is in, when it did not go through.
    bool WriteAssociation(const std::wstring& progId, ClassHive hive, std::wstring& said);
    // The other extensions that name the same file type.
    std::wstring OtherExtensionsOf(const std::wstring& progId) const;

    std::wstring openedProgram_;  // the program box as the editor opened
    TForm3a& infoBox_;
    TForm3b& confirmBox_;
};

}  // namespace taliveer
