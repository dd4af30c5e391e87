#include "app/page_context.h"

#include "app/main_layout.h"

#include "services/backup_restore.h"
#include "services/pure/command_line.h"
#include "services/file_icon.h"
#include "services/file_system.h"

#include <commctrl.h>

#include <utility>

namespace taliveer {

void ClearPage(PageContext& context, int page, PageGeneration& generation) {
    generation.Next();
    ListView_DeleteAllItems(context.controls.Hwnd(ids::InfoList(page)));
    context.iconSources[static_cast<size_t>(page)].clear();
    ImageList_RemoveAll(context.imageList);
    context.extracted.clear();
    context.controls.Static(ids::InfoLabel(page)).SetText(InfoLabelStartText(page));
}

bool PumpAndStillWanted(PageContext& context, const PageGeneration& generation, unsigned mine) {
    // Every 10 ms is often enough for the user and spares a look at the queue per row.
    const ULONGLONG now = ::GetTickCount64();
    if (now - context.lastPump >= 10) {
        context.lastPump = now;
        if (!context.state.Loop.ProcessMessages()) return false;
    }
    // The main window's close frees the shared objects before the window goes.
    const bool windowOpen = context.state.MainWindow != nullptr && context.state.RowIcon != nullptr;
    return windowOpen && generation.current == mine;
}

void ShowUndoLink(PageContext& context, int page) {
    const bool exists = DirectoryExists(context.state.UndoFolder);
    ::ShowWindow(context.controls.Hwnd(ids::UndoLabel(page)), exists ? SW_SHOW : SW_HIDE);
    const bool backups = exists && UndoFolderHoldsBackups(context.state.UndoFolder);
    ::ShowWindow(context.controls.Hwnd(ids::RestoreLabel(page)), backups ? SW_SHOW : SW_HIDE);
}

namespace {

ExtractedIcon Kept(UniqueHIcon icon, int side) {
    IconBitmaps bitmaps = BitmapsOfSmallIcon(icon.get(), side);
    return ExtractedIcon{std::move(icon), std::move(bitmaps)};
}

// The icon a file gives, extracted once since the cache was last emptied; the stock icon,
// extracted once too, for a missing file or one without icons.
ExtractedIcon& KnownIcon(PageContext& context, const std::wstring& file) {
    RowIconSlot& slot = *context.state.RowIcon;
    if (FileExists(file)) {
        const std::wstring key = LocaleUpperCase(file);
        auto known = context.extracted.find(key);
        if (known == context.extracted.end()) {
            GetOwnFileIcon(slot, file);
            known = context.extracted.emplace(key, Kept(std::move(slot.Icon), slot.Width)).first;
        }
        if (known->second.icon) return known->second;
    }
    auto stock = context.extracted.find(std::wstring());
    if (stock == context.extracted.end()) {
        GetStockFileIcon(slot);
        stock = context.extracted.emplace(std::wstring(), Kept(std::move(slot.Icon), slot.Width)).first;
    }
    return stock->second;
}

std::wstring FileOf(const PageContext& context, const std::wstring& commandOrLocation) {
    const PrefixFolders prefixes{context.state.WindowsFolder, context.state.ProfileFolder};
    return ExtractProgramFile(commandOrLocation, prefixes, &LocaleUpperCase);
}

std::wstring FileOf(const PageContext& context, const RowIconSource& source) {
    return source.isFile ? source.text : FileOf(context, source.text);
}

}  // namespace

int AddFileIcon(PageContext& context, const std::wstring& file, int replacing) {
    const ExtractedIcon& known = KnownIcon(context, file);
    if (!known.icon) return -1;
    // The list copies the image: every row keeps one of its own.
    return PutIconImage(context.imageList, known.icon.get(), known.bitmaps, replacing);
}

int AddRowIcon(PageContext& context, const std::wstring& commandOrLocation, int replacing) {
    return AddFileIcon(context, FileOf(context, commandOrLocation), replacing);
}

int AppendRowIconToCome(PageContext& context, int page, const std::wstring& caption, const std::wstring& second,
                        const std::wstring& third, RowIconSource source) {
    auto& sources = context.iconSources[static_cast<size_t>(page)];
    sources.push_back(std::move(source));
    return AppendListRow(context.controls.Hwnd(ids::InfoList(page)), caption, second, third, I_IMAGECALLBACK,
                         static_cast<LPARAM>(sources.size() - 1));
}

void SupplyRowIcon(PageContext& context, int page, NMLVDISPINFOW& request) {
    LVITEMW& item = request.item;
    if (!(item.mask & LVIF_IMAGE) || item.iSubItem != 0) return;
    const auto& sources = context.iconSources[static_cast<size_t>(page)];
    const auto at = static_cast<size_t>(item.lParam);
    if (item.lParam < 0 || at >= sources.size()) {
        item.iImage = -1;  // a row of an emptied list: nothing to extract
        return;
    }
    item.iImage = AddFileIcon(context, FileOf(context, sources[at]));
    item.mask |= LVIF_DI_SETITEM;
}

}  // namespace taliveer
