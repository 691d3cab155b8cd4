#pragma once
// One input or output bus of an audio unit: its format and name. Main thread
// (set-up); the format is read-only while render resources are allocated.

#include "AudioToolbox/AVAudioFormat.h"
#include "Runtime/Runtime.h"

#include <memory>
#include <string>

class AUAudioUnitBus : public NSObject {
  public:
    // Null when the format is null (the platform's initWithFormat:error: failing).
    static std::shared_ptr<AUAudioUnitBus> create(std::shared_ptr<AVAudioFormat> format);

    const std::shared_ptr<AVAudioFormat>& format() const { return busFormat; }
    // False (format unchanged) when the new format is null.
    bool setFormat(std::shared_ptr<AVAudioFormat> format);
    const std::string& name() const { return busName; }
    void setName(std::string name) { busName = std::move(name); }

  protected:
    explicit AUAudioUnitBus(std::shared_ptr<AVAudioFormat> format) : busFormat(std::move(format)) {}

  private:
    std::shared_ptr<AVAudioFormat> busFormat;
    std::string busName;
};
