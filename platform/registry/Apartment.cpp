// Apartments are bookkeeping only: a per-thread initialisation count and the number of
// initialised threads in the process. The last thread to leave frees unused libraries.
#include "platform/registry/Apartment.h"

#include <atomic>

#include "platform/registry/Activation.h"
#include "platform/registry/ServerLibraries.h"

namespace com {
namespace {

thread_local ULONG t_initCount = 0;
std::atomic<ULONG> g_apartments{0};

}  // namespace

bool ThreadInApartment() { return t_initCount > 0; }

HRESULT CoInitializeEx(void*, DWORD) {
  if (t_initCount++ > 0) return S_FALSE;
  g_apartments.fetch_add(1, std::memory_order_acq_rel);
  return S_OK;
}

HRESULT CoInitialize(void* reserved) { return CoInitializeEx(reserved, COINIT_APARTMENTTHREADED); }

void CoUninitialize() {
  if (t_initCount == 0 || --t_initCount > 0) return;
  if (g_apartments.fetch_sub(1, std::memory_order_acq_rel) == 1)
    ServerLibraries::Instance().FreeUnused();
}

HRESULT OleInitialize(void* reserved) { return CoInitializeEx(reserved, COINIT_APARTMENTTHREADED); }

void OleUninitialize() { CoUninitialize(); }

void CoFreeUnusedLibraries() { ServerLibraries::Instance().FreeUnused(); }

ULONG LoadedServerLibraryCount() { return ServerLibraries::Instance().Count(); }

}  // namespace com
