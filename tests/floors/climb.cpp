// A file of the rom floor that includes the editor, a floor above it. The core's floors are built
// so that this does not compile: the test that builds it passes on the compiler's refusal.
#include "rom/scene_codec.h"
#include "editor/document.h"
