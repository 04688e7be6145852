#pragma once

#include <vector>

#include "editor/document.h"
#include "rom/area_catalogue.h"
#include "rom/types.h"

namespace velmar::bench {

// romData of the sample image, built once.
const Bytes& sampleRomData();

// The scenes of the area tree, in tree order.
const std::vector<SceneKey>& catalogueScenes();

// The sample image opened in a document, with the first scene of the tree shown.
void openSample(Document& doc);

// The scene of the tree with the longest map: the one whose edits and switches cost most.
SceneKey longestScene();

}  // namespace velmar::bench
