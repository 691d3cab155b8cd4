// A module that lives in a bundle (FontProbe.appex/Contents/MacOS) whose resources
// hold fonts; the text tests load it as a host loads an extension.
extern "C" int emberfallFontProbe() {
    return 1;
}
