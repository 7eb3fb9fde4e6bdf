#pragma once

// The image view's layer collection and its layers.
#include "TCustomLayer.h"
#include "TLayerCollection.h"
