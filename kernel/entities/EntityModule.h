// What the program does once before it reads any drawing or block library:
// the class table of the object streams gets all twenty entity classes at
// their indices, and the vector-font table starts empty with no default font.
#pragma once

namespace calvoro {

// The process-wide class table with every entity class, and (the first time
// only) an empty font table.
void InitializeEntityModule();

}  // namespace calvoro
