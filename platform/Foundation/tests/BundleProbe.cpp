// A module whose only job is to be found: the test asks which bundle holds it.
extern "C" __attribute__((visibility("default"))) int probeMarker() {
    return 42;
}
