#include "cli/series/SeriesColumns.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <numeric>
#include <regex>
#include <set>

namespace orb {

namespace {

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

std::size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    std::iota(row.begin(), row.end(), 0);
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row.back();
}

/// The settings' keys by their lower-case spelling, and how many columns a header can name at most.
class KnownNames {
  public:
    explicit KnownNames(const Json& settings) {
        for (const auto& [key, value] : settings.items()) {
            keys_.emplace(lowered(key), key);
            columns_ += value.is_array() ? value.size() : 1;
        }
    }

    const std::string* find(const std::string& name) const {
        const auto found = keys_.find(lowered(name));
        return found == keys_.end() ? nullptr : &found->second;
    }

    /// The known key nearest to the name, if one is near enough to be what was meant.
    std::optional<std::string> nearest(const std::string& name) const {
        const std::string wanted = lowered(name);
        std::optional<std::string> best;
        std::size_t bestDistance = std::max<std::size_t>(2, wanted.size() / 3) + 1;
        for (const auto& [folded, key] : keys_) {
            const std::size_t distance = editDistance(wanted, folded);
            if (distance < bestDistance) {
                bestDistance = distance;
                best = key;
            }
        }
        return best;
    }

    std::size_t columns() const { return columns_; }

  private:
    std::map<std::string, std::string> keys_;
    std::size_t columns_ = 0;
};

} // namespace

std::string ColumnLetter(std::size_t column) {
    std::string letters;
    for (std::size_t n = column + 1; n > 0; n = (n - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    return letters;
}

std::string CellPlace(const std::string& unitsName, int line, std::size_t column) {
    return unitsName + ": řádek " + std::to_string(line) + ", sloupec " + ColumnLetter(column);
}

std::optional<std::vector<SeriesColumn>> MatchSeriesHeader(const CsvRecord& header, const Json& settings,
                                                           const std::string& unitsName,
                                                           std::vector<std::string>& refusals) {
    std::vector<std::string> names = header.fields;
    while (!names.empty() && trimmed(names.back()).empty())
        names.pop_back();
    const KnownNames known(settings);
    // Each setting has one column at most: a wider header is no header of settings, and is refused once
    // instead of column by column.
    if (names.size() > known.columns()) {
        refusals.push_back(unitsName + ": řádek " + std::to_string(header.line) + ": záhlaví má " +
                           std::to_string(names.size()) + " sloupců, nastavení je jen " +
                           std::to_string(known.columns()));
        return std::nullopt;
    }
    static const std::regex form(R"(([A-Za-z0-9]+)(\[([0-9]{1,2})\])?)");
    const std::size_t refusedBefore = refusals.size();
    std::vector<SeriesColumn> columns;
    std::set<std::string> named;
    for (std::size_t column = 0; column < names.size(); ++column) {
        const std::string name = trimmed(names[column]);
        const std::string where = CellPlace(unitsName, header.line, column) + ": ";
        auto refuse = [&](const std::string& text) {
            refusals.push_back(where + text);
            columns.emplace_back();
        };
        std::smatch parts;
        const std::string* key = std::regex_match(name, parts, form) ? known.find(parts[1].str()) : nullptr;
        if (name.empty()) {
            refuse("sloupec nemá v záhlaví jméno nastavení");
            continue;
        }
        if (!key) {
            const std::optional<std::string> hint = known.nearest(name.substr(0, name.find('[')));
            refuse("'" + name + "' není jméno nastavení" + (hint ? "; nemyslíte " + *hint + "?" : "") +
                   " (jména vypíše orbctl schema)");
            continue;
        }
        const Json& value = settings.at(*key);
        if (parts[2].matched != value.is_array()) {
            refuse(name + (value.is_array()
                               ? ": nastavení má řádky, zadejte jeden z nich jako " + *key + "[0]"
                               : ": nastavení nemá řádky"));
            continue;
        }
        SeriesColumn target{*key, std::nullopt, *key};
        if (parts[2].matched) {
            target.element = std::stoul(parts[3].str());
            target.name += "[" + std::to_string(*target.element) + "]";
            if (*target.element >= value.size()) {
                refuse(target.name + ": řádky jsou číslovány 0 až " + std::to_string(value.size() - 1));
                continue;
            }
        }
        if (!named.insert(target.name).second) {
            refuse(target.name + ": sloupec je v záhlaví podruhé");
            continue;
        }
        columns.push_back(std::move(target));
    }
    if (refusals.size() > refusedBefore) return std::nullopt;
    return columns;
}

} // namespace orb
