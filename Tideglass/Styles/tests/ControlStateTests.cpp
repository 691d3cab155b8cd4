// The control-state bit set (algebra, description, hashing) and how a cell's AppKit
// state, a window's first responder and a view tree's selection reach it.

#include "Styles/StyleProtocols.h"

#include "AppKit/NSText.h"
#include "AppKit/NSWindow.h"

#include <gtest/gtest.h>

#include <unordered_set>
#include <vector>

namespace {

using State = StyledControlState;

std::vector<std::int64_t> raw(const std::vector<State>& states) {
    std::vector<std::int64_t> values;
    for (auto s : states)
        values.push_back(s.rawValue);
    return values;
}

TEST(StyledControlState, MembersAndSetAlgebra) {
    EXPECT_EQ(raw({State::default_, State::disabled, State::selected, State::highlighted,
                   State::focused, State::on, State::mixed, State::invalid}),
              (std::vector<std::int64_t>{1, 2, 4, 8, 16, 32, 64, 128}));
    EXPECT_EQ(raw({State::allStates.begin(), State::allStates.end()}),
              (std::vector<std::int64_t>{2, 4, 8, 16, 32, 64, 128}));

    const State onHighlighted{State::on, State::highlighted};
    EXPECT_EQ(onHighlighted.rawValue, 40);
    EXPECT_EQ(State{}.rawValue, 0);
    EXPECT_TRUE(State{}.isEmpty());
    EXPECT_TRUE(onHighlighted.contains(State::on));
    EXPECT_FALSE(onHighlighted.contains(State{State::on, State::mixed}));
    EXPECT_TRUE(onHighlighted.contains(State{})); // every set holds the empty set
    EXPECT_TRUE(State::on.isSubset(onHighlighted));
    EXPECT_TRUE(onHighlighted.isSuperset(State::highlighted));
    EXPECT_TRUE(onHighlighted.isDisjoint(State{State::mixed, State::selected}));
    EXPECT_EQ(onHighlighted.unionWith(State::mixed).rawValue, 104);
    EXPECT_EQ((onHighlighted | State::default_).rawValue, 41);
    EXPECT_EQ(onHighlighted.intersection(State{State::on, State::invalid}), State::on);
    EXPECT_EQ((onHighlighted ^ State{State::on, State::invalid}).rawValue, 136);
    EXPECT_EQ(onHighlighted.subtracting(State::on), State::highlighted);

    State changing = State::default_;
    changing.insert(State::disabled);
    changing |= State::on;
    changing.remove(State::default_);
    EXPECT_EQ(changing.rawValue, 34);
    changing.formIntersection(State::on);
    EXPECT_EQ(changing, State::on);
    changing.formSymmetricDifference(State{State::on, State::focused});
    EXPECT_EQ(changing, State::focused);
}

TEST(StyledControlState, CountArrayAndDescription) {
    struct Case {
        std::int64_t value;
        int count;
        std::vector<std::int64_t> array;
        std::string description;
    };
    const Case cases[] = {
        {0, 0, {1}, ""},
        {1, 0, {1}, "default"},
        {9, 1, {1, 8}, "default, highlighted"},
        {40, 2, {1, 8, 32}, "highlighted, on"},
        {41, 2, {1, 8, 32}, "default, highlighted, on"},
        {160, 2, {1, 32, 128}, "on, invalid"},
        {255,
         7,
         {1, 2, 4, 8, 16, 32, 64, 128},
         "default, disabled, selected, highlighted, focused, on, mixed, invalid"},
        {256 + 64, 1, {1, 64}, "mixed"}, // bits above invalid have no name
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        State state(c.value);
        EXPECT_EQ(state.countOfSetOptions(), c.count);
        EXPECT_EQ(raw(state.toArray()), c.array);
        EXPECT_EQ(state.description(), c.description);
    }
}

TEST(StyledControlState, EqualByRawValueHashedByDescription) {
    const State plain = State::mixed;
    const State withHighBit(64 + 512);
    EXPECT_NE(plain, withHighBit);
    EXPECT_EQ(std::hash<State>{}(plain), std::hash<State>{}(withHighBit));
    EXPECT_EQ(std::hash<State>{}(State{State::on, State::mixed}), std::hash<State>{}(State(96)));
    // As a key the two stay apart.
    std::unordered_set<State> keys{plain, withHighBit, State(64)};
    EXPECT_EQ(keys.size(), 2u);
}

// Cells that adopt the protocols, as the library's cells do.
struct SelectableCell : NSCell, Selectable {
    bool selected = false;
    bool isSelected() const override { return selected; }
    void setSelected(bool s) override { selected = s; }
};
struct ValidatingCell : NSCell, Validating {
    bool valid = true;
    bool isValid() const override { return valid; }
};
struct SelectableValidatingCell : SelectableCell, Validating {
    bool valid = true;
    bool isValid() const override { return valid; }
};

TEST(CellControlState, ComesFromTheCellsStateFlagsAndProtocols) {
    using V = NSCell::StateValue;
    struct Case {
        const char* what;
        V value;
        bool enabled, highlighted, selected, valid;
        std::int64_t expected;
    };
    const Case cases[] = {
        {"plain", V::off, true, false, false, true, 1},
        {"on", V::on, true, false, false, true, 33},
        {"mixed", V::mixed, true, false, false, true, 65},
        {"mixed, disabled and highlighted: no highlight", V::mixed, false, true, false, true, 67},
        {"enabled, highlighted, on, selected", V::on, true, true, true, true, 45},
        {"invalid", V::off, true, false, false, false, 129},
        {"everything", V::on, false, true, true, false, 1 + 2 + 4 + 32 + 128},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto cell = make<SelectableValidatingCell>();
        cell->state = c.value;
        cell->isEnabled = c.enabled;
        cell->isHighlighted = c.highlighted;
        cell->selected = c.selected;
        cell->valid = c.valid;
        EXPECT_EQ(cellControlState(*cell).rawValue, c.expected);
    }

    // Only a cell that adopts the protocol can be selected or invalid.
    auto plain = make<NSCell>();
    EXPECT_EQ(cellControlState(*plain).rawValue, 1);
    auto validating = make<ValidatingCell>();
    validating->valid = false;
    EXPECT_EQ(cellControlState(*validating).rawValue, 129);
    auto selectable = make<SelectableCell>();
    selectable->selected = true;
    EXPECT_EQ(cellControlState(*selectable).rawValue, 5);
}

struct FocusableControl : NSControl {
    using NSControl::NSControl;
    bool acceptsFirstResponder() const override { return true; }
};

TEST(KeyboardFocus, TheControlOrItsFieldEditorIsFirstResponder) {
    auto window = make<NSWindow>(CGRect{0, 0, 200, 100});
    auto content = make<NSView>(CGRect{0, 0, 200, 100});
    window->setContentView(content);
    auto field = make<FocusableControl>(CGRect{10, 10, 80, 22});
    auto button = make<FocusableControl>(CGRect{100, 10, 80, 22});
    auto editor = make<NSText>();
    content->addSubview(field);
    content->addSubview(button);
    content->addSubview(editor);

    EXPECT_FALSE(hasKeyboardFocus(*field));
    // Editing the field: its field editor is first responder.
    editor->setDelegate(field);
    ASSERT_TRUE(window->makeFirstResponder(editor));
    EXPECT_TRUE(hasKeyboardFocus(*field));
    EXPECT_FALSE(hasKeyboardFocus(*button)); // a text object, but not its editor
    // The button itself.
    ASSERT_TRUE(window->makeFirstResponder(button));
    EXPECT_TRUE(hasKeyboardFocus(*button));
    EXPECT_FALSE(hasKeyboardFocus(*field));
    // In no window.
    EXPECT_FALSE(hasKeyboardFocus(*make<FocusableControl>()));
}

struct SelectableView : NSView, Selectable {
    using NSView::NSView;
    bool selected = false;
    bool isSelected() const override { return selected; }
    void setSelected(bool s) override { selected = s; }
};

TEST(SelectionState, ReachesSelectableSubviewsTwoLevelsDeep) {
    auto root = make<NSView>();
    auto child = make<SelectableView>();
    auto grandchild = make<SelectableView>();
    auto greatGrandchild = make<SelectableView>();
    auto plain = make<NSView>();
    auto underPlain = make<SelectableView>();
    root->addSubview(child);
    child->addSubview(grandchild);
    grandchild->addSubview(greatGrandchild);
    root->addSubview(plain);
    plain->addSubview(underPlain);

    applySelectionState(*root, true, true);
    EXPECT_TRUE(child->selected);
    EXPECT_TRUE(grandchild->selected);
    EXPECT_FALSE(greatGrandchild->selected);
    EXPECT_FALSE(underPlain->selected); // a view that is not Selectable is not entered

    applySelectionState(*root, false, false);
    EXPECT_FALSE(child->selected);
    EXPECT_TRUE(grandchild->selected); // not recursive: only the direct subviews
}

} // namespace
