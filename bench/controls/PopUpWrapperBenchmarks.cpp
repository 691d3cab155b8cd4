// The pop-up button wrapper's update, which rebuilds the whole menu from the items and
// searches it for the bound value: a menu of N items (every eighth holding a submenu of
// four), bound to the last item of the last submenu, so the search walks every item.

#include <benchmark/benchmark.h>

#include "Foundation/RunLoop.h"
#include "SwiftUISupport/StyledPopUpButtonWrapper.h"

namespace {

using Item = PopupItem<int>;

std::vector<Item> items(int count) {
    std::vector<Item> out;
    int value = 0;
    for (int i = 0; i < count; ++i) {
        if (i % 8 == 7) {
            Item holder(std::nullopt, "More " + std::to_string(i));
            holder.subMenu = std::vector<Item>{};
            for (int j = 0; j < 4; ++j, ++value)
                holder.subMenu->push_back(Item(value, "Value " + std::to_string(value)));
            out.push_back(std::move(holder));
        } else {
            out.push_back(Item(value, "Value " + std::to_string(value)));
            ++value;
        }
    }
    return out;
}

void AnUpdateOfThePopUpWrapper(benchmark::State& state) {
    RunLoopTestScope scope;
    auto list = items(int(state.range(0)));
    int last = 0;
    for (const auto& item : list)
        for (const auto& sub : item.subMenu.value_or(std::vector<Item>{item}))
            last = std::max(last, sub.object.value_or(0));
    int selection = last;
    StyledPopUpButtonWrapper<int> wrapper(
        list,
        SwiftUI::Binding<int>([&] { return selection; }, [&](const int& v) { selection = v; }));
    StyledPopUpButtonWrapper<int>::Context context{wrapper.makeCoordinator(), {}};
    auto button = wrapper.makeNSView(context);
    for (auto _ : state) {
        wrapper.updateNSView(*button, context);
        benchmark::DoNotOptimize(button->selectedItem());
    }
    if (!button->selectedItem() || button->title() != "Value " + std::to_string(last))
        state.SkipWithError("the bound value's item was not selected");
}
BENCHMARK(AnUpdateOfThePopUpWrapper)->Arg(8)->Arg(64)->Arg(512)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
