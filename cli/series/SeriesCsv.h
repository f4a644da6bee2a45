#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace orb {

/// One record of a CSV file with the line of the file it starts on (a quoted value may span lines).
struct CsvRecord {
    int line = 0;
    std::vector<std::string> fields;
};

/// A CSV text that does not follow RFC 4180; what() says in Czech why, line() and column() (the field,
/// counted from 0) where.
class CsvError : public std::runtime_error {
  public:
    CsvError(int line, std::size_t column, const std::string& message)
        : std::runtime_error(message), line_(line), column_(column) {}
    int line() const { return line_; }
    std::size_t column() const { return column_; }

  private:
    int line_;
    std::size_t column_;
};

/// Splits a CSV text (RFC 4180 with the separator given: values with a separator, quote or line break in
/// double quotes, a quote inside doubled; CRLF or LF line ends) into its records. A UTF-8 byte-order
/// mark at the start, as spreadsheets write it, is skipped; empty lines are skipped. Throws CsvError.
std::vector<CsvRecord> ParseCsv(std::string_view text, char separator = ',');

/// Returns the fields as one CSV line ending in CRLF, each quoted only when it must be.
std::string CsvLine(const std::vector<std::string>& fields, char separator = ',');

/// Returns the separator a file's first line uses: the commonest of ',', ';' and tab outside quotes
/// (a spreadsheet in a Czech locale saves ';'), ',' when the line has none of them.
char CsvSeparatorOf(std::string_view text);

/// A CSV file's text in UTF-8, and whether it had to be converted.
struct CsvText {
    std::string utf8;
    bool fromWindows1250 = false;
};

/// Takes a file's bytes as UTF-8 (with or without a byte-order mark, which goes) and, when they are not
/// valid UTF-8, as Windows-1250, which a spreadsheet in a Czech locale saves by default.
CsvText DecodeCsvText(std::string bytes);

} // namespace orb
