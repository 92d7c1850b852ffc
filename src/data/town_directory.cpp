#include "data/town_directory.h"

#include "data/open_base.h"
#include "data/store_texts.h"
#include "platform/codepage.h"
#include "platform/services.h"
#include "platform/text_file.h"

namespace orbeta {

TownCard TownCardOf(const BaseRecord& record) {
    TownCard card;
    card.key = record.Field(1);
    card.zoneCode = record.Field(kTownZoneCode);
    card.fixedCorrection = record.Field(kTownFixedCorrection);
    card.latitude = record.Field(kTownLatitude);
    card.longitude = record.Field(kTownLongitude);
    card.name = OemToAnsi(record.Field(kTownName));
    card.dstSection = record.Field(kTownDstSection);
    card.where = OemToAnsi(record.Field(kTownWhere));
    return card;
}

BaseRecord TownRecordOf(const TownCard& card) {
    BaseRecord record;
    record.SetField(kTownZoneCode, card.zoneCode);
    record.SetField(kTownFixedCorrection, card.fixedCorrection);
    record.SetField(kTownLatitude, card.latitude);
    record.SetField(kTownLongitude, card.longitude);
    record.SetField(kTownName, AnsiToOem(card.name));
    record.SetField(kTownDstSection, card.dstSection);
    record.SetField(kTownWhere, AnsiToOem(card.where));
    return record;
}

TownSearch FindTownCards(std::string_view typed, std::vector<TownCard>& cards) {
    cards.clear();
    BaseSession base(kTownsStem);
    if (!base) return TownSearch::NoDirectory;
    auto keys = KeysWithPrefix(TownKeyPrefix(typed));
    if (!keys) return TownSearch::NoTown;
    BaseRecord record;
    for (const auto& key : *keys)
        if (ReadRecord(key, record)) cards.push_back(TownCardOf(record));
    return cards.empty() ? TownSearch::NoTown : TownSearch::Found;
}

TownSearch ListTowns(std::string_view typed, std::vector<TownListRow>& lines) {
    lines.clear();
    BaseSession base(kTownsStem);
    if (!base) {
        TellBaseMessages(StoreText("Noab"));  // a damaged store says so instead
        return TownSearch::NoDirectory;
    }
    if (ListKeys(kTownListFile, TownKeyPrefix(typed)).empty()) {
        TellBaseMessages(StoreText("notown"));
        return TownSearch::NoTown;
    }
    // Every line of town.tmp that PickListed counts gets a line of the list, so that
    // list indexes stay those of town.tmp even when a card cannot be read.
    auto listed = ReadFileBytes(kTownListFile);
    BaseRecord record;
    for (const auto& line : SplitLines(listed ? *listed : std::string())) {
        if (line.empty() || line[0] != ' ') continue;
        std::string key = line.substr(1);
        if (ReadRecord(key, record))
            lines.push_back(TownListRowOf(TownCardOf(record)));
        else
            lines.push_back(TownListRow{OemToAnsi(key), {}, {}, {}, {}});
    }
    TellBaseMessages();
    return TownSearch::Found;
}

std::optional<TownChoice> ChooseTown(int k, double moment) {
    TownCard card;
    {
        BaseSession base(kTownsStem);
        if (!base) return std::nullopt;
        auto key = PickListed(kTownListFile, k, false);
        BaseRecord record;
        if (!key || !ReadRecord(*key, record)) return std::nullopt;
        card = TownCardOf(record);
    }
    return FillTownChoice(card, moment);
}

}  // namespace orbeta
