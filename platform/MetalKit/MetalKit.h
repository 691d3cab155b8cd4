#pragma once
// The MetalKit stand-in: include this one header.
#include "MetalKit/CAMetalLayer.h"
#include "MetalKit/MTKCompositor.h"
#include "MetalKit/MTKTextureLoader.h"
#include "MetalKit/MTKView.h"
