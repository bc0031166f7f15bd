// Process-wide start of the media framework.
#pragma once

namespace media {

// Initialises the media framework once per process; later calls return at once.
void EnsureGstInitialized();

}  // namespace media
