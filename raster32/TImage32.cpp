#include "TImage32.h"

namespace raster32 {

TImage32::TImage32(QWidget *parent)
    : TCustomImage32(parent)
{
}

} // namespace raster32
