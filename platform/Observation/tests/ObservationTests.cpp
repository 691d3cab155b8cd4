#include "Observation/Observation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

// A model in the shape view models take: some values in Observed, one in its own
// storage through a registrar.
struct Model {
    Observed<double> level{0.0};
    Observed<std::optional<std::string>> notice;
    Observed<int> unrelated{0};

    int count() const {
        registrar.access(&count_);
        return count_;
    }
    void setCount(int value) {
        if (value == count_)
            return;
        count_ = value;
        registrar.didChange(&count_);
    }

  private:
    int count_ = 0;
    ObservationRegistrar registrar;
};

TEST(Observation, ObserversHearEveryChangeAndNoEqualWrite) {
    Model model;
    std::vector<double> heard;
    auto token = model.level.observe([&](const double& v) { heard.push_back(v); });
    const double writes[] = {0.0, 1.5, 1.5, -2.0, NAN, NAN, 0.0};
    std::vector<bool> changed;
    for (double w : writes)
        changed.push_back(model.level.set(w));
    EXPECT_EQ(changed, (std::vector<bool>{false, true, false, true, true, false, true}));
    ASSERT_EQ(heard.size(), 4u);
    EXPECT_EQ(heard[0], 1.5);
    EXPECT_EQ(heard[1], -2.0);
    EXPECT_TRUE(std::isnan(heard[2]));
    EXPECT_EQ(heard[3], 0.0);

    int notices = 0;
    {
        auto scoped = model.notice.observe([&](const auto&) { ++notices; });
        model.notice.set(std::string("1.3.0"));
        model.notice.set(std::string("1.3.0"));
    }
    model.notice.set(std::nullopt); // the token is gone
    EXPECT_EQ(notices, 1);

    token.cancel();
    model.level.set(9.0);
    EXPECT_EQ(heard.size(), 4u);
}

TEST(Observation, TrackingCallsOnChangeOnceForTheFirstChangeOfAnythingRead) {
    Model model;
    int changes = 0;
    double seenInApply = -1;
    withObservationTracking(
        [&] {
            seenInApply = model.level.get();
            (void)model.count();
        },
        [&] { ++changes; });
    EXPECT_EQ(seenInApply, 0.0);

    model.unrelated.set(5);   // not read in apply
    (void)model.level.peek(); // untracked read, no effect
    model.level.set(0.0);     // equal write
    model.setCount(0);        // equal write
    EXPECT_EQ(changes, 0);
    model.setCount(3);
    EXPECT_EQ(changes, 1);
    model.level.set(4.0); // already fired: once only
    model.setCount(4);
    EXPECT_EQ(changes, 1);

    // Tracking again after a change follows the new reads.
    withObservationTracking([&] { (void)model.unrelated.get(); }, [&] { ++changes; });
    model.level.set(8.0);
    EXPECT_EQ(changes, 1);
    model.unrelated.set(6);
    EXPECT_EQ(changes, 2);
}

TEST(Observation, ACancelledTrackingNeverFiresAndReleasesItsCallback) {
    Model model;
    auto held = std::make_shared<int>(0);
    auto tracking = withObservationTracking([&] { (void)model.level.get(); }, [held] { ++*held; });
    EXPECT_EQ(held.use_count(), 2);
    tracking.cancel();
    EXPECT_EQ(held.use_count(), 1); // the registration is gone from the channel
    model.level.set(2.0);
    EXPECT_EQ(*held, 0);
    tracking.cancel(); // again: nothing
}

TEST(Observation, NestedScopesTrackTheirOwnReads) {
    Model model;
    int outer = 0, inner = 0;
    withObservationTracking(
        [&] {
            (void)model.level.get();
            withObservationTracking([&] { (void)model.unrelated.get(); }, [&] { ++inner; });
        },
        [&] { ++outer; });
    model.unrelated.set(1);
    EXPECT_EQ(inner, 1);
    EXPECT_EQ(outer, 0);
    model.level.set(1.0);
    EXPECT_EQ(outer, 1);
}

TEST(Observation, ChangesFromAnotherThreadNotifyThereAndDeadModelsAreHarmless) {
    int changes = 0;
    std::thread::id notifiedOn;
    {
        Model model;
        withObservationTracking([&] { (void)model.level.get(); },
                                [&] {
                                    ++changes;
                                    notifiedOn = std::this_thread::get_id();
                                });
        std::thread writer([&] { model.level.set(2.0); });
        auto writerId = writer.get_id();
        writer.join();
        EXPECT_EQ(changes, 1);
        EXPECT_EQ(notifiedOn, writerId);

        withObservationTracking([&] { (void)model.count(); }, [&] { ++changes; });
    } // the model dies with a tracking registration pending
    EXPECT_EQ(changes, 1);

    ObservationToken outlived;
    {
        Observed<int> value{1};
        outlived = value.observe([](const int&) {});
    }
    outlived.cancel(); // its property is gone: nothing to do
}

} // namespace
