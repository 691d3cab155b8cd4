#pragma once
// Test support for the dials: the places on a drawn dial where a person clicks, found
// from what the window draws (the knob's frame image, the title's lines over its cap,
// the value and its suffix in the row below), so that a test aims where a person sees
// the parts, not where the code says they are.
// Thread: any (pure geometry).

#include "CoreGraphics/CGContext.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

struct DialPlaces {
    CGRect frame;                   // the knob's frame image, as drawn
    std::vector<CGRect> titleLines; // top to bottom
    CGRect value, suffix;

    // Whether a place belongs to the label (a click there types a value) or to the
    // knob (a click there is the knob's: double-click and Option-click reset it).
    enum class Owner { label, knob };
    struct Place {
        const char* what;
        CGPoint point;
        Owner owner;
    };

    // The places a person aims at, label's and knob's.
    std::vector<Place> places() const {
        const CGRect first = titleLines.front(), last = titleLines.back();
        const CGFloat titleMiddle = (first.minY() + last.maxY()) / 2;
        // The value row is 40 points high around its texts.
        const CGFloat rowTop = value.midY() - 20;
        std::vector<Place> list{
            {"the value", {value.midX(), value.midY()}, Owner::label},
            {"between the value and its suffix",
             {(value.maxX() + suffix.minX()) / 2, value.midY()},
             Owner::label},
            {"above the value, in its row", {value.midX(), value.midY() - 14}, Owner::label},
            {"the title", {first.midX(), first.midY()}, Owner::label},
            {"the top of the ring", {frame.midX(), frame.minY() + 3}, Owner::knob},
            {"the side of the ring", {frame.minX() + 3, titleMiddle}, Owner::knob},
            {"the cap under the title", {frame.midX(), (last.maxY() + rowTop) / 2}, Owner::knob},
        };
        // The title's lines are one block: beside the shorter line is the title's too.
        if (titleLines.size() == 2) {
            const bool firstShorter = first.width() < last.width();
            const CGRect shorter = firstShorter ? first : last,
                         longer = firstShorter ? last : first;
            if (longer.maxX() - shorter.maxX() >= 2)
                list.push_back({"beside the title's shorter line",
                                {(shorter.maxX() + longer.maxX()) / 2, shorter.midY()},
                                Owner::label});
        }
        return list;
    }

    // The dial whose frame image is drawn in `area` (the window's, or one dial's
    // surroundings): its title is the text over the frame, its value row the texts in
    // the value's size below the title.
    static std::optional<DialPlaces> find(const std::vector<CGDisplayItem>& items, CGRect area,
                                          CGFloat valueFontSize) {
        DialPlaces d;
        bool found = false;
        for (const auto& i : items)
            if (!found && i.kind == CGDisplayItem::Kind::image &&
                i.imageName.rfind("knobs/", 0) == 0 && area.intersects(i.rect)) {
                d.frame = i.rect;
                found = true;
            }
        if (!found)
            return std::nullopt;
        std::vector<CGRect> row;
        for (const auto& i : items) {
            if (i.kind != CGDisplayItem::Kind::text || i.rect.midX() < d.frame.minX() ||
                i.rect.midX() > d.frame.maxX() || i.rect.midY() < d.frame.minY() ||
                i.rect.midY() > d.frame.maxY() + 30)
                continue;
            (i.fontSize == valueFontSize ? row : d.titleLines).push_back(i.rect);
        }
        if (row.size() != 2 || d.titleLines.empty())
            return std::nullopt;
        std::sort(row.begin(), row.end(), [](CGRect a, CGRect b) { return a.minX() < b.minX(); });
        std::sort(d.titleLines.begin(), d.titleLines.end(),
                  [](CGRect a, CGRect b) { return a.minY() < b.minY(); });
        d.value = row[0];
        d.suffix = row[1];
        return d;
    }
};
