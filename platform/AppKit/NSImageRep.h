#pragma once
// Stands in for NSImageRep and NSBitmapImageRep: one rendition of an image, with
// its size in points and in pixels; a bitmap rendition holds its pixels.
// Thread: any (a value once made).

#include <memory>

#include "CoreGraphics/CGImage.h"
#include "Runtime/Runtime.h"

class NSImageRep : public NSObject {
  public:
    CGSize size;
    long pixelsWide = 0;
    long pixelsHigh = 0;

  protected:
    explicit NSImageRep(CGSize size, long pixelsWide, long pixelsHigh)
        : size(size), pixelsWide(pixelsWide), pixelsHigh(pixelsHigh) {}
};

class NSBitmapImageRep : public NSImageRep {
  public:
    const CGImage& cgImage() const { return image; }

  protected:
    // `size` in points; zero means the pixel size.
    explicit NSBitmapImageRep(CGImage image, CGSize size = {})
        : NSImageRep(size.width > 0 ? size : image.size(), long(image.width()),
                     long(image.height())),
          image(std::move(image)) {}

  private:
    CGImage image;
};
