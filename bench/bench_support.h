#pragma once

#include <vector>

#include "rom/area_catalogue.h"
#include "rom/types.h"

namespace velmar::bench {

// romData of the sample image, built once.
const Bytes& sampleRomData();

// The scenes of the area tree, in tree order.
const std::vector<SceneKey>& catalogueScenes();

}  // namespace velmar::bench
