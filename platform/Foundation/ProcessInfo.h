#pragma once
// Stands in for ProcessInfo as far as version checks need it: the version of the
// operating system the program runs on. The stand-in reports 15.0.0 unless the
// environment variable EMBERFALL_SYSTEM_VERSION names another ("26", "26.1" or
// "14.2.1"); it is read at each call, so a test can run both sides of a version check.
// Thread: any (do not change the variable while other threads read it).

struct OperatingSystemVersion {
    int majorVersion = 0, minorVersion = 0, patchVersion = 0;
};

class ProcessInfo {
  public:
    static ProcessInfo& processInfo();
    OperatingSystemVersion operatingSystemVersion() const;
    bool isOperatingSystemAtLeast(OperatingSystemVersion version) const;

  private:
    ProcessInfo() = default;
};
