// The association page against HKEY_CLASSES_ROOT of the test prefix, and its search.
#include "pages/associations/association_page.h"
#include "services/reg_unit.h"
#include "tests/wine/icon_bits.h"
#include "tests/wine/list_view_rows.h"
#include "tests/wine/main_window_fixture.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cwctype>
#include <memory>

namespace taliveer {
namespace {

using test::FindRow;
using test::ScratchKey;

using test::ImageBits;

class AssociationPageTest : public test::MainWindowTest {
protected:
    ScratchKey& Key(const std::wstring& name) {
        keys_.push_back(std::make_unique<ScratchKey>(HKEY_CLASSES_ROOT, name));
        return *keys_.back();
    }
    HWND List() { return Hwnd(ids::InfoList(4)); }
    std::vector<test::ListRow> Rows() { return test::ReadRows(List(), 3); }
    void Search(const std::wstring& text) {
        ::SetWindowTextW(Hwnd(ids::kPanel4FindEdit), text.c_str());  // sends EN_CHANGE
        test::PumpFor(10);
    }
    int Top() { return ListView_GetTopIndex(List()); }
    // Where a row can come to the top, as far as the list can scroll.
    int ExpectedTop(int row) {
        const int last = ListView_GetItemCount(List()) - ListView_GetCountPerPage(List());
        return std::max(0, std::min(row, last));
    }
    std::vector<std::unique_ptr<ScratchKey>> keys_;
};

TEST_F(AssociationPageTest, ExtensionsWithDescriptionCommandAndIcon) {
    const std::wstring notepad = state_.WindowsFolder + L"notepad.exe";
    Key(L".taldoc").SetString(L"", L"", L"TalDocFile");
    ScratchKey& type = Key(L"TalDocFile");
    type.SetString(L"", L"", L"Tal 文档");
    type.SetString(L"shell\\open\\command", L"", L"\"" + notepad + L"\" \"%1\"");
    type.SetString(L"DefaultIcon", L"", notepad + L",1");
    Key(L".talnodesc").SetString(L"", L"", L"TalBareType");
    Key(L"TalBareType").SetString(L"DefaultIcon", L"", L"");
    Key(L".talnodefault").SetString(L"", L"Other", L"x");
    Key(L"TalNotAnExtension").SetString(L"", L"", L"x");

    Click(ids::TabLabel(4));
    EXPECT_EQ(form_->PageInFront(), 4);
    const auto rows = Rows();
    const int doc = FindRow(rows, L".taldoc");
    const int nodesc = FindRow(rows, L".talnodesc");
    const int nodefault = FindRow(rows, L".talnodefault");
    ASSERT_GE(doc, 0);
    ASSERT_GE(nodesc, 0);
    ASSERT_GE(nodefault, 0);
    EXPECT_EQ(FindRow(rows, L"TalNotAnExtension"), -1);
    for (const auto& row : rows) EXPECT_EQ(row.cells[0][0], L'.');

    EXPECT_EQ(rows[static_cast<size_t>(doc)].cells[1], L"Tal 文档");
    EXPECT_EQ(rows[static_cast<size_t>(doc)].cells[2], L"\"" + notepad + L"\" \"%1\"");
    EXPECT_EQ(rows[static_cast<size_t>(nodesc)].cells[1], L"TalBareType");  // the ProgID stands in
    EXPECT_EQ(rows[static_cast<size_t>(nodesc)].cells[2], L"");
    EXPECT_EQ(rows[static_cast<size_t>(nodefault)].cells[1], ReadRegString(HKEY_CLASSES_ROOT, L"", L""));
    EXPECT_EQ(rows[static_cast<size_t>(nodefault)].cells[2], ReadRegString(HKEY_CLASSES_ROOT, L"\\shell\\open\\command", L""));

    // ",1" still gives the file's first icon; an empty location the stock icon.
    HIMAGELIST images = form_->ImageList1();
    const auto first = test::ListImageBits(test::SmallIcon(notepad.c_str(), 0).get());
    const auto stock = test::ListImageBits(test::SmallIcon(L"shell32.dll", 2).get());
    ASSERT_NE(first, stock);
    EXPECT_EQ(ImageBits(images, rows[static_cast<size_t>(doc)].image), first);
    EXPECT_EQ(ImageBits(images, rows[static_cast<size_t>(nodesc)].image), stock);
    EXPECT_EQ(ImageBits(images, rows[static_cast<size_t>(nodefault)].image), stock);

    EXPECT_EQ(form_->Controls().Static(ids::InfoLabel(4)).Text(), std::to_wstring(rows.size()) + L" 个关联");
    EXPECT_TRUE(::IsWindowEnabled(form_->hwnd()));
    EXPECT_FALSE(state_.BusyFlag);
}

TEST_F(AssociationPageTest, RowsThatNameOneFileEachHaveTheirOwnImageOfItsIcon) {
    const std::wstring notepad = state_.WindowsFolder + L"notepad.exe";
    std::wstring upper = notepad;
    for (auto& c : upper) c = static_cast<wchar_t>(std::towupper(c));
    for (int i = 0; i < 6; ++i) {
        const std::wstring type = L"TalSameIcon" + std::to_wstring(i);
        Key(L".talsame" + std::to_wstring(i)).SetString(L"", L"", type);
        Key(type).SetString(L"DefaultIcon", L"", (i % 2 ? upper : notepad) + L"," + std::to_wstring(i));
    }
    Click(ids::TabLabel(4));
    const auto rows = Rows();
    HIMAGELIST images = form_->ImageList1();
    EXPECT_EQ(ImageList_GetImageCount(images), static_cast<int>(rows.size()));
    const auto first = test::ListImageBits(test::SmallIcon(notepad.c_str(), 0).get());
    std::vector<int> seen;
    for (int i = 0; i < 6; ++i) {
        const int row = FindRow(rows, L".talsame" + std::to_wstring(i));
        ASSERT_GE(row, 0);
        const int image = rows[static_cast<size_t>(row)].image;
        EXPECT_EQ(std::count(seen.begin(), seen.end(), image), 0) << "row " << i << " shares an image";
        seen.push_back(image);
        EXPECT_EQ(ImageBits(images, image), first) << "row " << i;
    }
}

TEST_F(AssociationPageTest, SearchScrollsTheFirstMatchToTheTopAndNeverMovesTheSelection) {
    for (const wchar_t* ext : {L".taltesta", L".TALTESTB", L".taltestc"}) Key(ext).SetString(L"", L"", L"x");
    // Enough extensions around them that the list scrolls.
    for (int i = 0; i < 60; ++i) Key(L".talfill" + std::to_wstring(100 + i)).SetString(L"", L"", L"x");
    for (int i = 0; i < 30; ++i) Key(L".zalfill" + std::to_wstring(100 + i)).SetString(L"", L"", L"x");
    Click(ids::TabLabel(4));
    const auto rows = Rows();
    ASSERT_GT(static_cast<int>(rows.size()), ListView_GetCountPerPage(List()) * 2);
    auto first = [&](const std::wstring& upperPrefix) {
        for (size_t i = 0; i < rows.size(); ++i) {
            std::wstring c = rows[i].cells[0];
            for (auto& ch : c) ch = static_cast<wchar_t>(::towupper(ch));
            if (c.compare(0, upperPrefix.size(), upperPrefix) == 0) return static_cast<int>(i);
        }
        return -1;
    };
    ListView_SetItemState(List(), 0, LVIS_SELECTED, LVIS_SELECTED);

    for (const wchar_t* text : {L"t", L"T", L".t"}) {
        Search(L"");
        ListView_EnsureVisible(List(), 0, FALSE);
        Search(text);
        EXPECT_EQ(Top(), ExpectedTop(first(L".T")));
    }
    Search(L"taltestb");
    EXPECT_EQ(Top(), ExpectedTop(first(L".TALTESTB")));
    const int before = Top();
    Search(L"taltestzzz");  // no match: the list stays
    EXPECT_EQ(Top(), before);
    Search(L"");  // cleared: nothing changes
    EXPECT_EQ(Top(), before);
    EXPECT_EQ(ListView_GetNextItem(List(), -1, LVNI_SELECTED), 0);

    // The text stays across a rebuild and is not applied again.
    Search(L"taltestc");
    Click(ids::TabLabel(4));
    wchar_t kept[32] = {};
    ::GetWindowTextW(Hwnd(ids::kPanel4FindEdit), kept, 32);
    EXPECT_STREQ(kept, L"taltestc");
    EXPECT_EQ(Top(), 0);
}

TEST_F(AssociationPageTest, TheSearchDoesNothingWhileAPageIsGathering) {
    for (int i = 0; i < 60; ++i) Key(L".talfill" + std::to_wstring(100 + i)).SetString(L"", L"", L"x");
    Key(L".taltestq").SetString(L"", L"", L"x");
    Click(ids::TabLabel(4));
    state_.BusyFlag = true;
    Search(L"taltestq");
    EXPECT_EQ(Top(), 0);
    state_.BusyFlag = false;
    Search(L"taltest");  // typed on once idle: it scrolls
    EXPECT_GT(Top(), 0);
}

}  // namespace
}  // namespace taliveer
