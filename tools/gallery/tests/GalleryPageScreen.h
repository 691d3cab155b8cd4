#pragma once
// Test support: the gallery's interactive page shown on the private virtual X screen,
// with the screen point of a control and xdotool's click there.

#include "GalleryPage.h"
#include "ScreenTest.h"

#include <memory>
#include <string>
#include <vector>

class GalleryPageOnScreen : public DisplayTest::ScreenFixture {
  protected:
    static constexpr CGPoint windowPlace{60, 40}; // on the screen, points from the top left

    void open(const std::vector<std::string>& sheets) {
        connect(1, false);
        if (IsSkipped() || HasFatalFailure())
            return;
        page = std::make_unique<GalleryPage>(gallerySheets(), sheets);
        page->window()->makeKeyAndOrderFront();
        showOnScreen(page->window(), windowPlace);
    }
    void TearDown() override {
        page.reset();
        ScreenFixture::TearDown();
    }
    // The middle of a control on the screen, in points (pixels at scale 1) from the
    // screen's top left.
    CGPoint onScreen(const NSView& view) const {
        const CGRect r = view.bounds();
        return shown->screenPoint(view.convertToView(CGPoint{r.midX(), r.midY()}, nullptr));
    }
    static std::vector<std::string> clickAt(CGPoint p) {
        return {"mousemove", std::to_string(int(p.x)), std::to_string(int(p.y)), "click", "1"};
    }

    std::unique_ptr<GalleryPage> page;
};
