#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace orb {

/// One record of a CSV file with the line of the file it starts on (a quoted value may span lines).
struct CsvRecord {
    int line = 0;
    std::vector<std::string> fields;
};

/// A CSV text that does not follow RFC 4180; what() says in Czech why, line() where.
class CsvError : public std::runtime_error {
  public:
    CsvError(int line, const std::string& message) : std::runtime_error(message), line_(line) {}
    int line() const { return line_; }

  private:
    int line_;
};

/// Splits a CSV text (RFC 4180: comma-separated, values with a comma, quote or line break in double
/// quotes, a quote inside doubled; CRLF or LF line ends) into its records. A UTF-8 byte-order mark at the
/// start, as spreadsheets write it, is skipped; empty lines are skipped. Throws CsvError.
std::vector<CsvRecord> ParseCsv(const std::string& text);

/// Returns the fields as one CSV line ending in CRLF, each quoted only when it must be.
std::string CsvLine(const std::vector<std::string>& fields);

} // namespace orb
