#include "data/chart_base.h"

#include <cstdio>

#include "data/chart_card.h"
#include "data/open_base.h"
#include "data/store_texts.h"
#include "platform/codepage.h"
#include "platform/file_names.h"
#include "platform/format.h"
#include "platform/services.h"
#include "platform/text_file.h"

namespace orbeta {

std::optional<std::vector<std::string>> ListCards(const std::string& stem,
                                                  const std::string& listFile) {
    BaseSession session(stem);
    if (!session) return std::nullopt;
    ListKeys(listFile, kCardPrefix);
    std::vector<std::string> lines;
    for (const auto& key : ListedKeys(listFile)) {
        BaseRecord card;
        ReadRecord(key, card);  // an unreadable card keeps its line, so indexes match
        lines.push_back(CardListLine(card));
    }
    return lines;
}

std::optional<BaseRecord> ReadListedCard(const std::string& stem, int k,
                                         const std::string& listFile) {
    auto key = PickListed(listFile, k, false);
    if (!key) return std::nullopt;
    BaseSession session(stem);
    BaseRecord card;
    if (!session || !ReadRecord(*key, card)) return std::nullopt;
    return card;
}

std::optional<std::string> RewriteListedCard(const std::string& stem, int k, BaseRecord card,
                                             const std::string& listFile) {
    auto key = PickListed(listFile, k, false);
    if (!key) return std::nullopt;
    BaseSession session(stem);
    card.SetField(kCardKey, *key);
    if (!session || WriteRecord(*key, card) != kWriteDone) return std::nullopt;
    return CardListLine(card);
}

bool DeleteListedCard(const std::string& stem, int k, const std::string& listFile) {
    auto key = PickListed(listFile, k, false);
    if (!key) return false;
    BaseSession session(stem);
    if (!session || DeleteRecord(*key) != 1) return false;
    return PickListed(listFile, k, true).has_value();
}

std::string StoreChart(const std::string& stem, const ChartRecord& chart) {
    BaseSession session(stem);
    if (!session) return {};
    std::string key = NewKey(kCardPrefix);
    if (key.empty() || WriteRecord(key, CardOfChart(chart)) != kWriteDone) return {};
    return key;
}

std::optional<std::string> StemOfChosenFile(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return std::nullopt;
    std::fclose(f);
    size_t nameStart = path.rfind('/');
    nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    size_t dot = path.rfind('.');
    std::string stem = dot != std::string::npos && dot >= nameStart ? path.substr(0, dot) : path;
    if (stem.size() <= nameStart) return std::nullopt;  // a name that is all extension
    if (stem.size() > kMaxStemLength) {
        Svc().Warning(Format("Путь к базе длиннее %zu символов: %s"_cp, kMaxStemLength,
                             PathForMessage(std::u8string(stem.begin(), stem.end())).c_str()));
        return std::nullopt;
    }
    return stem;
}

CreateBaseResult CreateChartBase(const std::string& name) {
    if (name.empty()) return CreateBaseResult::Failed;
    // Any file of the set counts: creating would empty it.
    for (const char* ext : {".bod", ".btr", ".bcr"})
        if (FileExists(name + ext)) {
            Svc().Warning(StoreText("bis"));
            return CreateBaseResult::Exists;
        }
    return CreateBase(name, kDefaultPageSize) == 0 ? CreateBaseResult::Created
                                                   : CreateBaseResult::Failed;
}

}  // namespace orbeta
