#include "services/pure/table_text.h"

#include "services/pure/wide_text.h"

namespace taliveer {
namespace {

std::wstring PlainCell(const std::wstring& cell) {
    std::wstring out = cell;
    for (wchar_t& c : out)
        if (c == L'\t' || c == L'\r' || c == L'\n') c = L' ';
    return out;
}

std::wstring CsvCell(const std::wstring& cell) {
    if (cell.find_first_of(L",\"\r\n") == std::wstring::npos) return cell;
    std::wstring out = L"\"";
    for (wchar_t c : cell) {
        if (c == L'"') out.push_back(L'"');
        out.push_back(c);
    }
    return out + L"\"";
}

template <typename Cell>
std::wstring Lines(const TableRow& header, const std::vector<TableRow>& rows, wchar_t separator, Cell cell) {
    std::wstring out;
    auto line = [&](const TableRow& row) {
        for (size_t i = 0; i < row.size(); ++i) {
            if (i) out.push_back(separator);
            out += cell(row[i]);
        }
        out += L"\r\n";
    };
    line(header);
    for (const TableRow& row : rows) line(row);
    return out;
}

}  // namespace

std::wstring TabSeparatedText(const TableRow& header, const std::vector<TableRow>& rows) {
    return Lines(header, rows, L'\t', PlainCell);
}

std::wstring CsvText(const TableRow& header, const std::vector<TableRow>& rows) {
    return Lines(header, rows, L',', CsvCell);
}

std::string CsvFileBytes(const TableRow& header, const std::vector<TableRow>& rows) {
    return "\xEF\xBB\xBF" + NarrowForLog(CsvText(header, rows));
}

}  // namespace taliveer
