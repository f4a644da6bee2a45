#include "cli/series/SeriesCsv.h"

#include "cli/terminal/Utf8.h"
#include "image/Cp1250.h"

#include <array>

namespace orb {

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

/// Reads the text one record at a time, keeping count of the lines it has passed.
class CsvReader {
  public:
    CsvReader(std::string_view text, char separator) : text_(text), separator_(separator) {
        if (text_.starts_with(ByteOrderMark)) pos_ = ByteOrderMark.size();
    }

    bool atEnd() const { return pos_ >= text_.size(); }

    CsvRecord next() {
        CsvRecord record{line_, {}};
        for (;;) {
            record.fields.push_back(field(record.fields.size()));
            if (atEnd()) return record;
            const char c = text_[pos_++];
            if (c == separator_) continue;
            if (c == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
            ++line_;
            return record;
        }
    }

  private:
    std::string field(std::size_t column) {
        if (atEnd() || text_[pos_] != '"') return unquoted(column);
        const int startLine = line_;
        std::string value;
        for (++pos_;; ++pos_) {
            if (atEnd()) throw CsvError(startLine, column, "hodnota v uvozovkách nemá ukončovací uvozovky");
            const char c = text_[pos_];
            if (c == '\n') ++line_;
            if (c != '"') {
                value += c;
            } else if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '"') {
                value += '"';
                ++pos_;
            } else {
                ++pos_;
                break;
            }
        }
        if (!atEnd() && !endsField(text_[pos_]))
            throw CsvError(line_, column,
                           std::string("za ukončovací uvozovkou smí být jen ") +
                               (separator_ == ','   ? "čárka"
                                : separator_ == ';' ? "středník"
                                                    : "tabulátor") +
                               " nebo konec řádku");
        return value;
    }

    std::string unquoted(std::size_t column) {
        const std::size_t start = pos_;
        while (!atEnd() && !endsField(text_[pos_])) {
            if (text_[pos_] == '"')
                throw CsvError(line_, column,
                               "uvozovka uprostřed hodnoty; hodnotu s uvozovkou dejte celou do uvozovek "
                               "a uvozovku zdvojte");
            ++pos_;
        }
        return std::string(text_.substr(start, pos_ - start));
    }

    bool endsField(char c) const { return c == separator_ || c == '\r' || c == '\n'; }

    std::string_view text_;
    char separator_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

bool isEmptyLine(const CsvRecord& record) {
    return record.fields.size() == 1 && record.fields[0].empty();
}

} // namespace

std::vector<CsvRecord> ParseCsv(std::string_view text, char separator) {
    std::vector<CsvRecord> records;
    for (CsvReader reader(text, separator); !reader.atEnd();) {
        CsvRecord record = reader.next();
        if (!isEmptyLine(record)) records.push_back(std::move(record));
    }
    return records;
}

std::string CsvLine(const std::vector<std::string>& fields, char separator) {
    const char mustQuote[] = {separator, '"', '\r', '\n', '\0'};
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string& value = fields[i];
        if (i > 0) line += separator;
        if (value.find_first_of(mustQuote) == std::string::npos) {
            line += value;
            continue;
        }
        line += '"';
        for (const char c : value)
            line += c == '"' ? std::string("\"\"") : std::string(1, c);
        line += '"';
    }
    return line + "\r\n";
}

char CsvSeparatorOf(std::string_view text) {
    constexpr std::array<char, 3> Separators = {',', ';', '\t'};
    std::array<int, 3> counts{};
    bool quoted = false;
    for (const char c : text) {
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == '\n') break;
        for (std::size_t i = 0; i < Separators.size(); ++i)
            counts[i] += c == Separators[i] ? 1 : 0;
    }
    std::size_t commonest = 0;
    for (std::size_t i = 1; i < Separators.size(); ++i)
        if (counts[i] > counts[commonest]) commonest = i;
    return Separators[commonest];
}

CsvText DecodeCsvText(std::string bytes) {
    if (bytes.starts_with(ByteOrderMark)) bytes.erase(0, ByteOrderMark.size());
    if (IsUtf8(bytes)) return {std::move(bytes), false};
    return {Cp1250ToUtf8(bytes), true};
}

} // namespace orb
