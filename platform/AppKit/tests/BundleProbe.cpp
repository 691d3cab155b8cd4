// A module packaged in a bundle (BundleProbe.appex) with resources of its own, loaded
// by the resource tests as a host loads an extension.
extern "C" const void* emberfallBundleProbe() {
    return reinterpret_cast<const void*>(&emberfallBundleProbe);
}
