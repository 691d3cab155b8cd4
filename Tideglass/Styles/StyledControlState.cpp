#include "Styles/StyledControlState.h"

#include <functional>

namespace {

constexpr const char* stateNames[] = {"default", "disabled", "selected", "highlighted",
                                      "focused", "on",       "mixed",    "invalid"};

} // namespace

int StyledControlState::countOfSetOptions() const {
    int count = 0;
    for (auto member : allStates)
        count += contains(member) ? 1 : 0;
    return count;
}

std::vector<StyledControlState> StyledControlState::toArray() const {
    std::vector<StyledControlState> members{default_};
    for (auto member : allStates)
        if (contains(member))
            members.push_back(member);
    return members;
}

std::string StyledControlState::description() const {
    std::string text;
    for (int bit = 0; bit < 8; ++bit) {
        if ((rawValue & (std::int64_t{1} << bit)) == 0)
            continue;
        if (!text.empty())
            text += ", ";
        text += stateNames[bit];
    }
    return text;
}

std::size_t
std::hash<StyledControlState>::operator()(const StyledControlState& state) const noexcept {
    return std::hash<std::string>{}(state.description());
}
