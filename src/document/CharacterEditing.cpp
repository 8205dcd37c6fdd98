#include "document/CharacterEditing.h"

namespace glyfora::document {
namespace {

bool ValidCode(std::int64_t code) {
    return code >= 0 && code < CharacterCodeCount;
}

// Character or const Character, so the setter and the getter share one table.
template <typename Record> auto& MetricField(Record& character, CharacterMetric metric) {
    switch (metric) {
    case CharacterMetric::SourceX:
        return character.Source.X;
    case CharacterMetric::SourceY:
        return character.Source.Y;
    case CharacterMetric::SourceWidth:
        return character.Source.Width;
    case CharacterMetric::SourceHeight:
        return character.Source.Height;
    case CharacterMetric::OutlayX:
        return character.Outlay.X;
    case CharacterMetric::OutlayY:
        return character.Outlay.Y;
    case CharacterMetric::OutlayWidth:
        return character.Outlay.Width;
    case CharacterMetric::OutlayHeight:
        break;
    }
    return character.Outlay.Height;
}

} // namespace

Character* CopyCharacter(Typeface& typeface, const Character* original) {
    auto& characters = typeface.Content.Characters;
    if (original == nullptr || !characters.MakeCurrent(original)) {
        return nullptr;
    }
    const Character duplicate = *original;
    Character& copy = characters.InsertAfterCurrent(duplicate);
    typeface.Modified = true;
    return &copy;
}

bool DeleteCharacter(Typeface& typeface, Character* character) {
    auto& characters = typeface.Content.Characters;
    if (character == nullptr || !characters.MakeCurrent(character)) {
        return false;
    }
    if (FindCharacter(typeface, character->Index) == character) {
        typeface.Content.CharacterIndex.Set(character->Index, nullptr);
    }
    characters.DeleteCurrent();
    RebuildIndexes(typeface);
    typeface.Modified = true;
    return true;
}

bool RecodeCharacter(Typeface& typeface, Character& character, std::int64_t code) {
    if (!ValidCode(code)) {
        return false;
    }
    if (FindCharacter(typeface, character.Index) == &character) {
        typeface.Content.CharacterIndex.Set(character.Index, nullptr);
    }
    character.Index = code;
    const Character* holder = FindCharacter(typeface, code);
    const bool taken = holder != nullptr && holder != &character;
    if (!taken) {
        typeface.Content.CharacterIndex.Set(code, &character);
    }
    RebuildIndexes(typeface);
    typeface.Modified = true;
    return taken;
}

void SetCharacterMetric(Typeface& typeface, Character& character, CharacterMetric metric,
                        std::int64_t value) {
    MetricField(character, metric) = value;
    typeface.Modified = true;
}

std::int64_t CharacterMetricValue(const Character& character, CharacterMetric metric) {
    return MetricField(character, metric);
}

Rect64 NormalisedRect(const Rect64& rect) {
    Rect64 result = rect;
    if (result.Width < 0) {
        result.X += result.Width;
        result.Width = -result.Width;
    }
    if (result.Height < 0) {
        result.Y += result.Height;
        result.Height = -result.Height;
    }
    return result;
}

Character* AddCharacterForCell(Typeface& typeface, std::int64_t code, const Rect64& cell) {
    if (!ValidCode(code)) {
        return nullptr;
    }
    Character& character = AddCharacter(typeface, code);
    character.Source = NormalisedRect(cell);
    character.Outlay = Rect64{0, 0, character.Source.Width, character.Source.Height};
    typeface.Modified = true;
    return &character;
}

} // namespace glyfora::document
