#include "AppKit/CAKeyframeAnimation.h"

std::vector<CGPoint> CAKeyframeAnimation::keyFrames() const {
    std::vector<CGPoint> frames;
    for (const auto& e : path.elements()) {
        switch (e.type) {
        case CGPathElement::Type::moveTo:
        case CGPathElement::Type::lineTo:
            frames.push_back(e.points[0]);
            break;
        case CGPathElement::Type::quadCurveTo:
            frames.push_back(e.points[1]);
            break;
        case CGPathElement::Type::curveTo:
            frames.push_back(e.points[2]);
            break;
        case CGPathElement::Type::closeSubpath:
            break;
        }
    }
    return frames;
}
