#pragma once
// Test support for the framework's parameter views: a recorder of the writes that
// reach a parameter's host-visible side. Views are tested in the control harness
// (TestSupport/ControlHarness.h).
// Thread: main (the test's thread).

#include "Parameters/AudioParameter.h"
#include "SwiftUI/SwiftUI.h"

#include <memory>
#include <ostream>
#include <vector>

// The writes a parameter passes to its host-visible side, as (event, value) pairs.
class ParameterRecorder {
  public:
    using Event = AUParameterAutomationEventType;
    struct Write {
        Event event;
        float value;
        bool operator==(const Write&) const = default;
    };

    explicit ParameterRecorder(std::shared_ptr<AudioParameter> p) : param(std::move(p)) {
        param->auParameter->tokenByAddingParameterAutomationObserver(
            [this](const AUParameterAutomationEvent& e) {
                writes.push_back({e.eventType, e.value});
            });
    }
    SwiftUI::Binding<std::shared_ptr<AudioParameter>> binding() const {
        auto p = param;
        return SwiftUI::Binding<std::shared_ptr<AudioParameter>>::constant(p);
    }

    std::shared_ptr<AudioParameter> param;
    std::vector<Write> writes;
};

inline std::ostream& operator<<(std::ostream& out, const ParameterRecorder::Write& w) {
    static const char* names[] = {"change", "begin", "end"};
    return out << names[int(w.event)] << " " << w.value;
}
