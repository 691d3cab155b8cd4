#include "Utilities/Formatters.h"

#include <gtest/gtest.h>

namespace {

const std::any none;
std::any text(const char* s) {
    return std::string(s);
}

TEST(ConstantNameFormatter, ShowsTheNameWithItsPrefixAndEditsItWithout) {
    auto f = make<ConstantNameFormatter>();
    struct Case {
        std::any object;
        std::optional<std::string> shown, edited;
    } cases[] = {
        {text("speed"), "$speed", "speed"},
        {text("$speed"), "$speed", "speed"},
        {text("a$b"), "$a$b", "b"}, // what follows the first match
        {text(""), "$", ""},
        {42, std::nullopt, std::nullopt},
        {none, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(f->stringFor(c.object), c.shown);
        EXPECT_EQ(f->editingStringFor(c.object), c.edited);
    }
    f->requiredPrefix = "K_";
    EXPECT_EQ(f->stringFor(text("k_gain")), "K_k_gain");    // display compares exactly
    EXPECT_EQ(f->editingStringFor(text("k_gain")), "gain"); // editing ignores case
}

TEST(ConstantNameFormatter, RefusesNamesWithCharactersOutsideTheAllowedSet) {
    auto f = make<ConstantNameFormatter>();
    struct Case {
        const char* name;
        bool valid;
    } cases[] = {
        {"speed_2", true},
        {"$speed", true},
        {"wet-dry", true},
        {"v1.2", true},
        {"caf\xc3\xa9", true},
        {"\xe4\xb8\xad\xe6\x96\x87", true},
        {"", true},
        {"wet dry", false},
        {"a+b", false},
        {"tab\there", false},
        {"\xff", false},
        {"x\xe2\x80\x94y", false}, // em dash
        {"cafe\xcc\x81", true},    // e and a combining acute accent
        {"x\xc2\xb2", true},       // superscript two
        {"-", true},
        {".", true},
        {" ", false},
    };
    for (const auto& c : cases) {
        std::any object = text("untouched");
        std::string error;
        EXPECT_EQ(f->getObjectValue(&object, c.name, &error), c.valid) << c.name;
        EXPECT_EQ(std::any_cast<std::string>(object), c.valid ? c.name : "untouched");
        std::string replacement;
        std::string partialError;
        EXPECT_EQ(f->isPartialStringValid(c.name, &replacement, &partialError), c.valid);
        if (c.valid) {
            EXPECT_EQ(replacement, c.name);
            EXPECT_TRUE(error.empty());
        } else {
            EXPECT_EQ(error, "Constant names must only contain A-Z, a-z, 0-9 and the "
                             "characters _ and $");
            EXPECT_EQ(partialError, error);
        }
    }
    // Nothing asked for: still answered.
    EXPECT_FALSE(f->getObjectValue(nullptr, "a b", nullptr));
    EXPECT_TRUE(f->isPartialStringValid("ab", nullptr, nullptr));
}

TEST(ExpressionFormatter, FormatsNumbersWithTheSuffixAndLetsExpressionsThrough) {
    auto f = make<ExpressionFormatter>();
    EXPECT_TRUE(f->isLenient());
    EXPECT_EQ(f->formatterBehavior, NSNumberFormatter::Behavior::defaultBehavior);
    f->positiveSuffix = "%";
    struct Case {
        std::any object;
        std::optional<std::string> shown, edited;
    } cases[] = {
        {12, "12%", "12"},
        {text("2*x"), "2*x", "2*x"},
        {text("12"), "12%", "12"}, // numeric text shows the suffix, edits without it
        {text(""), "", ""},
        {text(" 12"), " 12", " 12"},
        {none, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(f->stringFor(c.object), c.shown);
        EXPECT_EQ(f->editingStringFor(c.object), c.edited);
    }
    // The 10.0 behaviour leaves the suffix to the number formatter: numeric text gets
    // none added, and a number's editing string keeps the one it has.
    f->formatterBehavior = NSNumberFormatter::Behavior::behavior10_0;
    EXPECT_EQ(f->stringFor(text("12")), "12");
    EXPECT_EQ(f->editingStringFor(12), "12%");
    f->positiveSuffix = "";
    EXPECT_EQ(f->stringFor(text("12")), "12"); // no suffix to add
}

TEST(ExpressionFormatter, ReadsNumbersAsNumbersAndAnyOtherTextAsItself) {
    auto f = make<ExpressionFormatter>();
    f->positiveSuffix = "%";
    struct Case {
        const char* text;
        std::any value;
    } cases[] = {
        {"12", 12.0},
        {"12%", text("12%")},
        {"a+b", text("a+b")},
        {" 12", text(" 12")},
        {"", text("")},
        {"-2.5", -2.5},
        // Any leading white space or NUL, though the number parser would skip it.
        {"\t12", text("\t12")},
        {"\n12", text("\n12")},
        {"\v12", text("\v12")},
        {"\f12", text("\f12")},
        {"\r12", text("\r12")},
    };
    for (const auto& c : cases) {
        std::any object;
        std::string error;
        EXPECT_TRUE(f->getObjectValue(&object, c.text, &error)) << c.text;
        if (auto d = std::any_cast<double>(&c.value))
            EXPECT_EQ(std::any_cast<double>(object), *d) << c.text;
        else
            EXPECT_EQ(std::any_cast<std::string>(object), std::any_cast<std::string>(c.value));
    }
}

} // namespace
