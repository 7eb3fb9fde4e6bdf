#pragma once

#include "Raster32Types.h"

namespace raster32 {

class TBitmap32;

// How a transfer combines source pixels with the destination.
struct TTransferMode
{
    TDrawMode DrawMode = dmOpaque;
    TCombineMode CombineMode = cmBlend;
    unsigned MasterAlpha = 255;
    TPixelCombineEvent OnPixelCombine;
};

// Draws srcRect of src scaled into dstRect of dst with the given filter,
// limited to dstClip (and dst's bounds). Throws EBitmapError
// "Destination bitmap is nil or empty" or "Source rectangle is invalid".
void TransferScaled(TBitmap32 *dst, const TRect &dstRect, const TRect &dstClip, const TBitmap32 &src,
                    const TRect &srcRect, TStretchFilter filter, const TTransferMode &mode);

// Same-size copy of srcRect to dstRect's corner, over clip only.
void TransferBlock(TBitmap32 &dst, const TRect &dstRect, const TRect &clip, const TBitmap32 &src,
                   const TRect &srcRect, const TTransferMode &mode);

// Nearest-neighbour scaling ("Invalid SrcRect" when srcRect leaves src).
void TransferNearest(TBitmap32 &dst, const TRect &dstRect, const TRect &clip, const TBitmap32 &src,
                     const TRect &srcRect, const TTransferMode &mode);

// Upper bound of threads a large scaled drawing is split over: 1 (the
// default) draws on the calling thread only, 0 uses every core.
void SetMaxTransferThreads(int count);

} // namespace raster32
