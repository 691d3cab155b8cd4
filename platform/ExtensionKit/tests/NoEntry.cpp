// A loadable module that lacks the extension entry point.
extern "C" __attribute__((visibility("default"))) int somethingElse() {
    return 0;
}
