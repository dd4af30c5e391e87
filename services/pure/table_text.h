// A page's rows as text that leaves the program: tab-separated for the clipboard, so that it
// pastes into a spreadsheet as a table, and CSV (RFC 4180) for a file. Each begins with a
// header line of the column captions. Pure.
#pragma once

#include <string>
#include <vector>

namespace taliveer {

using TableRow = std::vector<std::wstring>;

// Header and rows, cells separated by tabs, lines by CRLF. A tab or line break inside a cell
// would break the table and becomes a space.
std::wstring TabSeparatedText(const TableRow& header, const std::vector<TableRow>& rows);

// The CSV text: cells separated by commas, lines by CRLF; a cell holding a comma, a double
// quote or a line break is quoted, its quotes doubled.
std::wstring CsvText(const TableRow& header, const std::vector<TableRow>& rows);

// The bytes of a CSV file: UTF-8 with a byte-order mark, as spreadsheet programs read
// Chinese correctly.
std::string CsvFileBytes(const TableRow& header, const std::vector<TableRow>& rows);

}  // namespace taliveer
