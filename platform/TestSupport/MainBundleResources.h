// A main bundle of a test's own: a temporary folder (TemporaryDirectory) that stands in
// for the program's own bundle while the object lives, so that what an application
// must ship in its main bundle (images found by NSImage::named without a bundle) can be
// given, or withheld, by the test. The program's bundle answers again afterwards.
//
//     MainBundleResources resources;                  // an empty main bundle
//     resources.addImage("cursor-cycle", svgText);    // before anything asks for it
//
// Images are looked up once per folder and remembered, the missing ones too: add an
// image before the first lookup of its name. Each object is a new folder.
// Thread: main (one at a time per process).
#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "Foundation/Bundle.h"
#include "TestSupport/TemporaryDirectory.h"

class MainBundleResources {
  public:
    MainBundleResources() : folder("main-bundle") {
        std::filesystem::create_directories(folder / "Assets");
        previous = Bundle::standInForMain(Bundle::atPath(folder.path().string()));
    }
    ~MainBundleResources() { Bundle::standInForMain(previous); }
    MainBundleResources(const MainBundleResources&) = delete;
    MainBundleResources& operator=(const MainBundleResources&) = delete;

    // Writes the image asset `name` (an SVG document).
    void addImage(const std::string& name, const std::string& svg) {
        std::ofstream(folder / "Assets" / (name + ".svg")) << svg;
    }
    const std::filesystem::path& path() const { return folder.path(); }

  private:
    TemporaryDirectory folder;
    std::shared_ptr<Bundle> previous;
};
