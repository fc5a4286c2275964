// How the process's heap gives freed memory back to the system.
#pragma once

namespace lb {

// From here on, blocks of 128 KB and more are taken from the system and given back the moment
// they are freed. Otherwise the C library, once the first such block is freed, keeps later
// blocks up to that size in its heap, where the rows of a long list closed and opened again
// stay resident for the rest of the run. Call once, at the start of the process.
void returnLargeBlocksToSystem();

} // namespace lb
