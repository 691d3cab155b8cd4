// Each module's resource bundle is found by the shared lookup, and a module whose
// bundle is missing ends the program naming that bundle. To see the second, a copy
// of this test program runs from a folder that holds no bundles (its main bundle and
// the bundle of its code are that folder) and asks one module for its bundle.

#include "ChaosDial.h"
#include "LargeDialBlue.h"
#include "LargeDialOrange.h"
#include "LargeDialRed.h"
#include "LargeDialYellow.h"
#include "Views/OrreryResources.h"

#include "Foundation/Bundle.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;

namespace {

const std::map<std::string, std::function<const std::shared_ptr<Bundle>&()>>& accessors() {
    static const std::map<std::string, std::function<const std::shared_ptr<Bundle>&()>> table = {
        {"Orrery_OrreryCore", orreryCoreBundle},
        {"Orrery_OrreryLargeDialRed", largeDialRedBundle},
        {"Orrery_OrreryLargeDialYellow", largeDialYellowBundle},
        {"Orrery_OrreryLargeDialOrange", largeDialOrangeBundle},
        {"Orrery_OrreryLargeDialBlue", largeDialBlueBundle},
        {"Orrery_OrreryChaosDial", chaosDialBundle},
    };
    return table;
}

// Run only in the copy: asks the module named by the environment for its bundle.
TEST(BundleProbe, AskTheModule) {
    const char* name = std::getenv("ORRERY_BUNDLE_PROBE");
    if (!name)
        GTEST_SKIP() << "runs only in the copy started by the lookup test";
    accessors().at(name)();
}

TEST(ResourceBundles, EachModuleFindsItsOwnBundleOnce) {
    for (const auto& [name, accessor] : accessors()) {
        const auto& bundle = accessor();
        ASSERT_NE(bundle, nullptr) << name;
        EXPECT_EQ(fs::path(bundle->bundlePath()).filename(), name + ".bundle");
        EXPECT_EQ(&accessor(), &bundle);
        EXPECT_EQ(accessor().get(), bundle.get());
    }
}

TEST(ResourceBundles, AMissingBundleEndsTheProgramWithItsName) {
    const fs::path folder =
        fs::temp_directory_path() / ("orrery-no-bundles-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const fs::path copy = folder / "probe";
    fs::copy_file("/proc/self/exe", copy, fs::copy_options::overwrite_existing);
    for (const auto& entry : accessors()) {
        const std::string& name = entry.first;
        const fs::path errors = folder / (name + ".stderr");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        std::string filter = "--gtest_filter=BundleProbe.AskTheModule";
        std::string env = "ORRERY_BUNDLE_PROBE=" + name;
        std::vector<char*> argv{const_cast<char*>(copy.c_str()), filter.data(), nullptr};
        std::vector<char*> envp{env.data(), nullptr};
        pid_t pid = 0;
        ASSERT_EQ(posix_spawn(&pid, copy.c_str(), &actions, nullptr, argv.data(), envp.data()), 0);
        posix_spawn_file_actions_destroy(&actions);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_FALSE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << name;
        std::stringstream text;
        text << std::ifstream(errors).rdbuf();
        EXPECT_NE(text.str().find("unable to find bundle named " + name), std::string::npos)
            << name << ": " << text.str();
    }
    fs::remove_all(folder);
}

} // namespace
