#include "PresetLookup.h"

#include <algorithm>
#include <cctype>

namespace {

std::string folded(const std::string& text) {
    std::string out;
    for (unsigned char c : text)
        out += char(std::tolower(c));
    return out;
}

// Letters to insert, delete or replace to turn one text into the other.
std::size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

} // namespace

PresetLookup lookUpPreset(const std::string& text) {
    const std::string wanted = folded(text);
    PresetLookup found;
    const FactoryPreset* byName = nullptr;
    int names = 0;
    for (const FactoryPreset& preset : allFactoryPresets()) {
        if (folded(preset.id()) == wanted) {
            found.preset = &preset;
            return found;
        }
        if (folded(preset.name) == wanted) {
            byName = &preset;
            ++names;
        }
    }
    if (names == 1) {
        found.preset = byName;
        return found;
    }
    for (const PresetGroup& group : factoryPresetGroups())
        if (folded(group.style) == wanted) {
            found.style = &group;
            return found;
        }
    // Closest first: a name or id that contains the text counts as near as one letter
    // off; farther than a third of the text's letters is no suggestion.
    const std::size_t limit = std::max<std::size_t>(2, wanted.size() / 3);
    std::vector<std::pair<std::size_t, const FactoryPreset*>> near;
    for (const FactoryPreset& preset : allFactoryPresets()) {
        std::size_t distance = std::min(editDistance(wanted, folded(preset.name)),
                                        editDistance(wanted, folded(preset.id())));
        if (wanted.size() >= 3 && (folded(preset.name).find(wanted) != std::string::npos ||
                                   folded(preset.id()).find(wanted) != std::string::npos))
            distance = std::min<std::size_t>(distance, 1);
        if (distance <= limit)
            near.emplace_back(distance, &preset);
    }
    std::stable_sort(near.begin(), near.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < near.size() && i < 3; ++i)
        found.suggestions.push_back(near[i].second);
    return found;
}

std::string presetLabel(const FactoryPreset& preset) {
    return preset.id() == defaultFactoryPreset().id() ? defaultFactoryPreset().name : preset.id();
}

std::string presetLabel(const std::string& id) {
    for (const FactoryPreset& preset : allFactoryPresets())
        if (preset.id() == id)
            return presetLabel(preset);
    return id;
}
