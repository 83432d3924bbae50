// Everything the platform module exports, in one include.
#pragma once

#include "ads/AdsEnt.h"
#include "ads/AdsEntFlicker.h"
#include "ads/AdsEntSet.h"
#include "ads/AdsResBuf.h"
#include "ads/AdsValues.h"
#include "db/BlockUtil.h"
#include "db/GroupUtil.h"
#include "db/RegionUtil.h"
#include "image/ColorToRGB.h"
#include "image/DIBUtil.h"
#include "image/ImageDraw.h"
#include "image/ImageList.h"
#include "input/Prompt.h"
#include "platform/Export.h"
#include "platform/Module.h"
#include "registry/Registry.h"
