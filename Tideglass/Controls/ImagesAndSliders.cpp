#include "Controls/ImagesAndSliders.h"

#include "Styles/TideglassResources.h"

TrackingSlider::TrackingSlider(CGRect frame)
    : ClickableImageView(frame),
      cursor(NSCursor::withImage(TideglassResources::nsImage("cursor-trackingslider"), {3, 4})) {}
