#pragma once

#include "platform/Exception.h"

namespace raster32 {

// A broken contract of the caller, such as an unpaired EndUpdate.
class EAssertionFailed : public platform::Exception
{
public:
    using Exception::Exception;
};

// A stream that ends early or cannot be written.
class EStreamError : public platform::Exception
{
public:
    using Exception::Exception;
};

// Allocation or drawing failures of a bitmap, bad rectangles.
class EBitmapError : public platform::Exception
{
public:
    using Exception::Exception;
};

// An index outside a list.
class EListError : public platform::Exception
{
public:
    using Exception::Exception;
};

} // namespace raster32
