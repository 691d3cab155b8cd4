#include "ExtensionKit/AppExtension.h"

#include "FakeService.h"
#include "Foundation/RunLoop.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

const std::string root = fs::canonical(FAKE_ROOT).string();
const std::string plugins = root + "/Host.app/Contents/PlugIns";

TEST(AppExtension, FindsReadsAndLoadsAnExtensionSharingTheHostsMainThreadAndRunLoop) {
    RunLoopTestScope scope;
    auto paths = AppExtension::extensionPaths(root + "/Host.app");
    EXPECT_EQ(paths,
              (std::vector<std::string>{plugins + "/Fake.appex", plugins + "/NoEntry.appex"}));
    EXPECT_TRUE(AppExtension::extensionPaths(root + "/Broken").empty());

    auto opened = AppExtension::open(paths.at(0));
    ASSERT_TRUE(opened) << opened.error().message;
    const AppExtension& extension = opened.value();
    EXPECT_EQ(extension.principalClassName(), "Fake.Principal");
    EXPECT_EQ(extension.bundle()->bundlePath(), plugins + "/Fake.appex");
    ASSERT_EQ(extension.audioComponents().size(), 1u);
    const AudioComponentInfo& component = extension.audioComponents()[0];
    EXPECT_EQ(component.type, "aufx");
    EXPECT_EQ(component.subtype, "fkdl");
    EXPECT_EQ(component.manufacturer, "Exmp");
    EXPECT_EQ(component.name, "Example: Fake");
    EXPECT_EQ(component.version, 65536u);
    EXPECT_EQ(component.description.componentType, kAudioUnitType_Effect);
    EXPECT_EQ(component.description.componentManufacturer, fourCharCode("Exmp"));

    auto made = extension.makePrincipalObject();
    ASSERT_TRUE(made) << made.error().message;
    auto service = std::dynamic_pointer_cast<FakeService>(made.value());
    ASSERT_TRUE(service);
    EXPECT_TRUE(service->createdOnMainThread());              // one main-thread registration
    EXPECT_EQ(service->extensionRunLoop(), &RunLoop::main()); // one run loop
    EXPECT_EQ(service->codeBundlePath(), plugins + "/Fake.appex");

    bool ticked = false;
    service->scheduleTick(0.5, [&] { ticked = true; });
    RunLoop::main().run(0.4);
    EXPECT_FALSE(ticked);
    RunLoop::main().run(0.2); // the host's test clock drives the extension's timer
    EXPECT_TRUE(ticked);

    auto second = extension.makePrincipalObject(); // a fresh object each time
    ASSERT_TRUE(second);
    EXPECT_NE(second.value(), made.value());
}

TEST(AppExtension, EachFaultIsReportedAsAnError) {
    using Code = ExtensionError::Code;
    struct Case {
        std::string path;
        Code code;
        const char* mentions; // part of the message
    };
    const Case cases[] = {
        {root + "/Broken/Nowhere.appex", Code::bundleNotFound, "Nowhere.appex"},
        {root + "/Broken/NoInfo.appex", Code::infoUnreadable, "Info.plist"},
        {root + "/Broken/NoPrincipal.appex", Code::missingKey, "NSExtensionPrincipalClass"},
        {root + "/Broken/BadCode.appex", Code::invalidValue, "type"},
    };
    for (const Case& c : cases) {
        auto opened = AppExtension::open(c.path);
        ASSERT_FALSE(opened) << c.path;
        EXPECT_EQ(opened.error().code, c.code) << c.path;
        EXPECT_NE(opened.error().message.find(c.mentions), std::string::npos)
            << opened.error().message;
    }

    const Case loading[] = {
        {root + "/Broken/Garbage.appex", Code::loadFailed, "Garbage.so: "},
        {root + "/Broken/NoBinary.appex", Code::loadFailed, "Absent.so: "},
        {plugins + "/NoEntry.appex", Code::entryPointMissing, "ExtensionKitMakePrincipalObject"},
        {root + "/Broken/Unknown.appex", Code::principalClassUnavailable, "Fake.Other"},
        {root + "/Broken/Throwing.appex", Code::principalClassUnavailable, "refusing on purpose"},
    };
    for (const Case& c : loading) {
        auto opened = AppExtension::open(c.path);
        ASSERT_TRUE(opened) << c.path << ": " << opened.error().message;
        auto made = opened.value().makePrincipalObject();
        ASSERT_FALSE(made) << c.path;
        EXPECT_EQ(made.error().code, c.code) << c.path;
        EXPECT_NE(made.error().message.find(c.mentions), std::string::npos) << made.error().message;
    }
}

} // namespace
