#include "AudioToolbox/AUParameters.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using Event = AUParameterAutomationEventType;

std::shared_ptr<AUParameter> makeParameter(AUParameterAddress address, std::string identifier,
                                           std::optional<std::vector<std::string>> strings = {}) {
    return AUParameterTree::createParameter(identifier, identifier + " name", address, 0, 10,
                                            AudioUnitParameterUnit::indexed, "", 0xC0000000,
                                            std::move(strings), std::nullopt);
}

TEST(AUParameterTree, FactoryKeepsEveryCreationField) {
    auto p = AUParameterTree::createParameter(
        "delayType", "Delay Type", 11, 0, 1, AudioUnitParameterUnit::indexed, "", 0xD0300000,
        std::vector<std::string>{"NOTE", "MS"}, std::vector<AUParameterAddress>{2, 12});
    EXPECT_EQ(p->identifier(), "delayType");
    EXPECT_EQ(p->displayName(), "Delay Type");
    EXPECT_EQ(p->address(), 11u);
    EXPECT_EQ(p->minValue(), 0.0f);
    EXPECT_EQ(p->maxValue(), 1.0f);
    EXPECT_EQ(p->unit(), AudioUnitParameterUnit::indexed);
    EXPECT_EQ(p->unitName(), "");
    EXPECT_EQ(p->flags(), 0xD0300000u);
    EXPECT_EQ(p->valueStrings(), (std::vector<std::string>{"NOTE", "MS"}));
    EXPECT_EQ(p->dependentParameters(), (std::vector<AUParameterAddress>{2, 12}));
    EXPECT_EQ(p->tree(), nullptr);
}

TEST(AUParameterTree, LooksUpByAddressAndIdentifierInChildOrder) {
    auto a = makeParameter(3, "a"), b = makeParameter(7, "b");
    auto tree = AUParameterTree::createTree({b, a});
    ASSERT_EQ(tree->children().size(), 2u);
    EXPECT_EQ(tree->children()[0], b);
    EXPECT_EQ(tree->parameter(AUParameterAddress{3}), a);
    EXPECT_EQ(tree->parameter(std::string("b")), b);
    EXPECT_EQ(tree->parameter(AUParameterAddress{99}), nullptr);
    EXPECT_EQ(tree->parameter(std::string("missing")), nullptr);
    EXPECT_EQ(a->tree(), tree);

    // A parameter built into a new tree belongs to that one.
    auto second = AUParameterTree::createTree({a});
    EXPECT_EQ(a->tree(), second);
    EXPECT_TRUE(AUParameterTree::createTree({})->children().empty());
}

TEST(AUParameterTree, WriteReachesImplementorThenEveryObserverButTheOriginator) {
    auto p = makeParameter(5, "p"), other = makeParameter(6, "other");
    auto tree = AUParameterTree::createTree({p, other});
    std::vector<std::string> log;
    tree->setImplementorValueObserver([&](AUParameter& param, AUValue v) {
        log.push_back("implementor " + std::to_string(param.address()) + "=" +
                      std::to_string(int(v)));
    });
    auto onTree = tree->tokenByAddingParameterObserver([&](AUParameterAddress a, AUValue v) {
        log.push_back("tree " + std::to_string(a) + "=" + std::to_string(int(v)));
    });
    auto onParam = p->tokenByAddingParameterObserver(
        [&](AUParameterAddress a, AUValue v) { log.push_back("param " + std::to_string(int(v))); });
    EXPECT_NE(onTree, nullptr);
    EXPECT_NE(onTree, onParam);

    p->setValue(4);
    p->setValue(6, onTree, 0, Event::value);
    other->setValue(2, onParam, 0, Event::value);
    tree->removeParameterObserver(onTree);
    p->removeParameterObserver(onParam);
    p->setValue(8);

    EXPECT_EQ(log,
              (std::vector<std::string>{"implementor 5=4", "param 4", "tree 5=4", // no originator
                                        "implementor 5=6", "param 6",  // tree's own write
                                        "implementor 6=2", "tree 6=2", // other parameter
                                        "implementor 5=8"}));          // observers removed
}

TEST(AUParameterTree, AutomationObserverRecordsAGesture) {
    auto p = makeParameter(2, "delayMs");
    auto tree = AUParameterTree::createTree({p});
    std::vector<AUParameterAutomationEvent> recorded;
    tree->tokenByAddingParameterAutomationObserver(
        [&](const AUParameterAutomationEvent& e) { recorded.push_back(e); });

    p->setValue(1, nullptr, 100, Event::touch);
    p->setValue(2, nullptr, 200, Event::value);
    p->setValue(3, nullptr, 300, Event::value);
    p->setValue(3, nullptr, 400, Event::release);

    const std::vector<std::pair<Event, AUValue>> expected{
        {Event::touch, 1}, {Event::value, 2}, {Event::value, 3}, {Event::release, 3}};
    ASSERT_EQ(recorded.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(recorded[i].eventType, expected[i].first) << i;
        EXPECT_EQ(recorded[i].value, expected[i].second) << i;
        EXPECT_EQ(recorded[i].address, 2u);
        EXPECT_EQ(recorded[i].hostTime, 100u * (i + 1));
    }
}

TEST(AUParameterTree, ValueComesFromTheProviderWhenInstalled) {
    auto p = makeParameter(4, "p");
    p->setValue(3);
    EXPECT_EQ(p->value(), 3.0f) << "without a tree the stored value";
    auto tree = AUParameterTree::createTree({p});
    EXPECT_EQ(p->value(), 3.0f);
    tree->setImplementorValueProvider([](AUParameter& param) { return param.address() * 10.0f; });
    EXPECT_TRUE(tree->hasImplementorValueProvider());
    EXPECT_EQ(p->value(), 40.0f);
    tree->setImplementorValueProvider(nullptr);
    EXPECT_FALSE(tree->hasImplementorValueProvider());
    EXPECT_EQ(p->value(), 3.0f);
}

TEST(AUParameterTree, TextGoesThroughTheImplementorCallbacks) {
    auto p = makeParameter(1, "shape", std::vector<std::string>{"TRI", "SIN"});
    auto tree = AUParameterTree::createTree({p});
    // Without callbacks: value strings by whole index, else the number.
    const AUValue one = 1.4f, five = 5;
    EXPECT_EQ(p->string(&one), "SIN");
    EXPECT_EQ(p->string(&five), "5");
    EXPECT_EQ(p->value(std::string("TRI")), 0.0f);
    EXPECT_EQ(p->value(std::string("2.5")), 2.5f);
    EXPECT_EQ(p->value(std::string("x")), 0.0f);

    const AUValue* seen = &five;
    tree->setImplementorStringFromValueCallback([&](AUParameter&, const AUValue* v) {
        seen = v;
        return std::string("text");
    });
    tree->setImplementorValueFromStringCallback(
        [](AUParameter&, const std::string& s) { return AUValue(s.size()); });
    EXPECT_EQ(p->string(nullptr), "text");
    EXPECT_EQ(seen, nullptr) << "the current value is asked for with no value";
    EXPECT_EQ(p->string(&one), "text");
    EXPECT_EQ(seen, &one);
    EXPECT_EQ(p->value(std::string("abcd")), 4.0f);
}

TEST(AUParameterTree, CallbacksMayBeReplacedWhileAnotherThreadWrites) {
    auto p = makeParameter(1, "p");
    auto tree = AUParameterTree::createTree({p});
    std::atomic<int> calls{0};
    tree->setImplementorValueObserver([&](AUParameter&, AUValue) { ++calls; });
    std::thread writer([&] {
        for (int i = 0; i < 2000; ++i)
            p->setValue(float(i % 10));
    });
    for (int i = 0; i < 200; ++i) {
        tree->setImplementorValueObserver([&](AUParameter&, AUValue) { ++calls; });
        auto token = tree->tokenByAddingParameterObserver([](AUParameterAddress, AUValue) {});
        tree->removeParameterObserver(token);
    }
    writer.join();
    EXPECT_GT(calls.load(), 0);
}

TEST(HostTime, IsMonotonic) {
    const auto a = AudioGetCurrentHostTime();
    const auto b = AudioGetCurrentHostTime();
    EXPECT_LE(a, b);
    EXPECT_GT(a, 0u);
}

} // namespace
