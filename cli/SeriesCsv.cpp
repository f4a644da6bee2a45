#include "cli/SeriesCsv.h"

#include <string_view>

namespace orb {

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

/// Reads the text one record at a time, keeping count of the lines it has passed.
class CsvReader {
  public:
    explicit CsvReader(std::string_view text) : text_(text) {
        if (text_.starts_with(ByteOrderMark)) pos_ = ByteOrderMark.size();
    }

    bool atEnd() const { return pos_ >= text_.size(); }

    CsvRecord next() {
        CsvRecord record{line_, {}};
        for (;;) {
            record.fields.push_back(field());
            if (atEnd()) return record;
            const char c = text_[pos_++];
            if (c == ',') continue;
            if (c == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
            ++line_;
            return record;
        }
    }

  private:
    std::string field() {
        if (atEnd() || text_[pos_] != '"') return unquoted();
        const int startLine = line_;
        std::string value;
        for (++pos_;; ++pos_) {
            if (atEnd()) throw CsvError(startLine, "hodnota v uvozovkách nemá ukončovací uvozovky");
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
            throw CsvError(line_, "za ukončovací uvozovkou smí být jen čárka nebo konec řádku");
        return value;
    }

    std::string unquoted() {
        const std::size_t start = pos_;
        while (!atEnd() && !endsField(text_[pos_])) {
            if (text_[pos_] == '"')
                throw CsvError(line_, "uvozovka uprostřed hodnoty; hodnotu s uvozovkou dejte celou do "
                                      "uvozovek a uvozovku zdvojte");
            ++pos_;
        }
        return std::string(text_.substr(start, pos_ - start));
    }

    static bool endsField(char c) { return c == ',' || c == '\r' || c == '\n'; }

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

bool isEmptyLine(const CsvRecord& record) {
    return record.fields.size() == 1 && record.fields[0].empty();
}

} // namespace

std::vector<CsvRecord> ParseCsv(const std::string& text) {
    std::vector<CsvRecord> records;
    for (CsvReader reader(text); !reader.atEnd();) {
        CsvRecord record = reader.next();
        if (!isEmptyLine(record)) records.push_back(std::move(record));
    }
    return records;
}

std::string CsvLine(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string& value = fields[i];
        if (i > 0) line += ',';
        if (value.find_first_of(",\"\r\n") == std::string::npos) {
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

} // namespace orb
