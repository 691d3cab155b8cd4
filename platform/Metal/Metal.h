#pragma once
// The Metal stand-in: include this one header.
#include "Metal/MTLCommandBuffer.h"
#include "Metal/MTLDevice.h"
#include "Metal/MTLHalf.h"
#include "Metal/MTLLibrary.h"
#include "Metal/MTLResource.h"
#include "Metal/MTLShaderFunctions.h"
#include "Metal/MTLShaderMath.h"
#include "Metal/MTLTypes.h"
