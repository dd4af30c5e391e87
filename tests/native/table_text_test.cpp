#include "services/pure/table_text.h"

#include <gtest/gtest.h>

namespace taliveer {
namespace {

TEST(TableText, CsvQuotesOnlyWhatNeedsItAndDoublesQuotes) {
    const TableRow header{L"程序", L"位置/命令", L"访问"};
    const std::vector<TableRow> rows{
        {L"a,b", L"\"C:\\Program Files\\x.exe\" /q", L""},
        {L"line\r\nbreak", L"plain", L"所有用户"},
        {L"", L"", L""},
    };
    EXPECT_EQ(CsvText(header, rows),
              L"程序,位置/命令,访问\r\n"
              L"\"a,b\",\"\"\"C:\\Program Files\\x.exe\"\" /q\",\r\n"
              L"\"line\r\nbreak\",plain,所有用户\r\n"
              L",,\r\n");
    const std::string bytes = CsvFileBytes({L"中"}, {{L"x"}});
    EXPECT_EQ(bytes, "\xEF\xBB\xBF\xE4\xB8\xAD\r\nx\r\n");
}

TEST(TableText, TabSeparatedCellsNeverBreakTheTable) {
    EXPECT_EQ(TabSeparatedText({L"程序", L"命令"}, {{L"a\tb", L"c\r\nd"}, {L"", L"中文"}}),
              L"程序\t命令\r\na b\tc  d\r\n\t中文\r\n");
}

}  // namespace
}  // namespace taliveer
