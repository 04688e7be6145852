#pragma once

namespace velmar {

// What a press on the map does, and which actor markers show.
enum class EditMode { Map = 0, Enemies = 1, Items = 2, All = 3 };

}  // namespace velmar
