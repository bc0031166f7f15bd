// Apartment bookkeeping shared by the activation functions.
#pragma once

namespace com {

// True while the calling thread is between CoInitializeEx/OleInitialize and the matching
// CoUninitialize/OleUninitialize.
bool ThreadInApartment();

}  // namespace com
