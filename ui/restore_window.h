// The restore window: every backup in the Undo folder, newest first, with its state against
// the registry now; a preview of what restoring the selected one would change; and the
// restore itself, which asks first, saves what it replaces, and says what came back.
#pragma once

#include "services/backup_restore.h"
#include "ui/box_window.h"
#include "ui/confirm_box.h"
#include "ui/info_box.h"

#include <string>
#include <vector>

namespace taliveer {

namespace restore_ids {
inline constexpr int kListLabel = 101;
inline constexpr int kBackupList = 102;
inline constexpr int kPreviewLabel = 103;
inline constexpr int kPreviewList = 104;
inline constexpr int kRestoreButton = 105;
inline constexpr int kCloseButton = IDCANCEL;  // Escape
}  // namespace restore_ids

struct RestorePlaces {
    std::wstring undo;
    std::wstring windows;      // the registry editor lives here
    std::wstring userStartup;  // where a shortcut of unknown origin may go back to
};

class RestoreWindow : public BoxWindow {
public:
    RestoreWindow(const BoxHost& host, TForm3a& infoBox, TForm3b& confirmBox, RestorePlaces places);

    // Lists the backups and shows the window modally.
    void Show();

    // Lists the backups again (the one named stays selected when it is still there).
    void Refresh(const std::wstring& keepSelected = {});

    // What the window lists, for tests.
    const std::vector<BackupFile>& Backups() const { return backups_; }
    // Selects a backup's row (as a click does) and shows its preview.
    void Select(int index);
    int Selected() const;
    // Whether a restore wrote to the registry or a folder since the window opened.
    bool RestoredSomething() const { return restored_; }
    // The "恢复" button.
    void RestoreClick();

protected:
    void OnButton(int id) override;
    void OnCloseRequest() override { CloseBox(); }
    void OnNotify(const NMHDR& header) override;
    void OnRescaled() override;

private:
    void ShowPreview(int index);
    void RestoreShortcutCopy(const BackupFile& backup);

    TForm3a& infoBox_;
    TForm3b& confirmBox_;
    RestorePlaces places_;
    std::vector<BackupFile> backups_;
    bool restored_ = false;
};

}  // namespace taliveer
