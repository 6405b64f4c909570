#pragma once

#include "effects/TWmRec.h"

class WmLayer;

// The watermark window's item: the stored fields plus the item's layer in the
// window's view. While the window is open the layer holds the item's place,
// size and opacity; the copies here are only what the item started with.
struct TWmItemRec : TWmRec {
    WmLayer* Layer = nullptr;
};
