#include "audioedit/control/AudioEditCtl.h"

#include <utility>

#include "audioedit/Pec.h"
#include "audioedit/control/AudioEditCtlDispatch.h"
#include "audioedit/control/AudioLoader.h"
#include "audioedit/control/ControlMessages.h"
#include "audioedit/control/ControlRecords.h"
#include "audioedit/control/ControlView.h"
#include "platform/com/Bstr.h"
#include "platform/fileio/PathText.h"
#include "platform/com/SafeArray.h"
#include "platform/registry/Activation.h"

namespace audioedit {
namespace {

// File names keep their bytes through the wide strings (fileio/PathText.h); a wide name
// that stands for no byte string on this system loads nothing.
std::string PathFromBstr(BSTR text) {
  if (!text) return std::string();
  return fileio::PathFromWide(std::u16string_view(text, com::SysStringLen(text))).value_or("");
}

// A new BSTR (empty, not null, for an empty value); file names keep their bytes.
HRESULT ReturnString(const std::string& utf8, BSTR* out) {
  if (!out) return com::E_POINTER;
  const std::u16string wide = fileio::PathToWide(utf8);
  *out = com::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  return *out ? com::S_OK : com::E_OUTOFMEMORY;
}

}  // namespace

// The events of one load's build, fired from its worker, and its cancel poll.
class AudioEditCtl::LoadEvents final : public PeakBuildEvents {
 public:
  LoadEvents(AudioEditCtl& control, const CancelToken& token) : control_(control), token_(token) {}
  void OnStartPeakFile() override { control_.FireAudioEditMsg(AEMSG_StartPeakFile, 0); }
  void OnPeakFileProgress(std::uint32_t progress) override {
    control_.FirePeakFileProgress(progress);
  }
  bool IsCancelRequested() override { return token_.Cancelled(); }

 private:
  AudioEditCtl& control_;
  CancelToken token_;
};

AudioEditCtl::AudioEditCtl(com::ModuleLock* module)
    : ComObject(module),
      points_(this, {DIID__IAudioEditCtlEvents, com::IID_IPropertyNotifySink}),
      dividers_(*this),
      view_(std::make_unique<ControlView>(*this)),
      runner_([this] {
        std::lock_guard lock(portMutex_);
        if (port_) port_->Wake();
      }) {}

AudioEditCtl::~AudioEditCtl() {
  lifecycle_.Close();
  runner_.StopAll([this](const std::function<bool()>& done) { WaitForWorkers(done); });
  Destroy();
  view_.reset();
  state_.Release();
}

// --- host side ---

void AudioEditCtl::Create(win::WindowPort& port) {
  Destroy();
  {
    std::lock_guard lock(portMutex_);
    port_ = &port;
  }
  port.SetProcedure(this);
  view_->Attach(port);
}

void AudioEditCtl::Destroy() {
  win::WindowPort* port = nullptr;
  {
    std::lock_guard lock(portMutex_);
    port = std::exchange(port_, nullptr);
  }
  if (!port) return;
  // A worker still inside a call on the window finishes it first (its result is handled).
  port->WaitHandlingSent([this] {
    std::lock_guard lock(portMutex_);
    return portUsers_ == 0;
  });
  TearDownPlayback();
  view_->Detach();
  port->SetProcedure(nullptr);
}

HRESULT AudioEditCtl::AttachWindow(win::WindowPort* port) {
  if (port) {
    Create(*port);
  } else {
    Destroy();
  }
  return com::S_OK;
}

void AudioEditCtl::SetTempDirectory(std::string directory) {
  std::lock_guard lock(portMutex_);
  tempDirectory_ = std::move(directory);
}

template <class F>
bool AudioEditCtl::WithPortFromWorker(F&& use) {
  win::WindowPort* port = nullptr;
  {
    std::lock_guard lock(portMutex_);
    if (!port_) return false;
    port = port_;
    ++portUsers_;
  }
  use(*port);
  std::lock_guard lock(portMutex_);
  --portUsers_;
  port->Wake();
  return true;
}

win::WindowPort* AudioEditCtl::Port() const {
  std::lock_guard lock(portMutex_);
  return port_;
}

void AudioEditCtl::WaitForWorkers(const std::function<bool()>& done) {
  win::WindowPort* port = Port();
  if (port && port->IsWindowThread()) port->WaitHandlingSent(done);
}

win::LRESULT AudioEditCtl::WindowProc(win::UINT msg, win::WPARAM wParam, win::LPARAM lParam) {
  if (msg == WM_AE_LOADRESULT) {
    // Sent by a worker that waits for the answer, so its token outlives this call.
    const auto* token = reinterpret_cast<const CancelToken*>(lParam);
    return token ? OnLoadResult(static_cast<std::int32_t>(wParam), *token) : 0;
  }
  bool handled = false;
  win::LRESULT result = PlaybackMessage(msg, wParam, lParam, handled);
  if (handled) return result;
  result = MouseMessage(msg, wParam, lParam, handled);
  if (handled) return result;
  return ViewMessage(msg, wParam, lParam, handled);
}

// --- loading ---

HRESULT AudioEditCtl::LoadAudioFile(BSTR AudioFile, LONG SampleInterval, BSTR PeakFile,
                                    LONG bKeepPeakFile) {
  return StartLoad(LoadRequest{PathFromBstr(AudioFile), SampleInterval, PathFromBstr(PeakFile),
                               bKeepPeakFile != 0, std::nullopt});
}

HRESULT AudioEditCtl::LoadAudioFileDividers(BSTR AudioFile, LONG lSampleInterval, BSTR PeakFile,
                                            LONG bKeepPeakFile, com::SAFEARRAY* saDiv) {
  LoadRequest request{PathFromBstr(AudioFile), lSampleInterval, PathFromBstr(PeakFile),
                      bKeepPeakFile != 0, std::nullopt};
  // The array is the caller's for the length of this call only: keep a copy. An array that
  // is not one of DIVIDER records counts as none (the default pair is installed).
  const com::SafeArrayAccess<DIVIDER> access(saDiv);
  if (com::SUCCEEDED(access.Status()))
    request.dividers.emplace(access.Items().begin(), access.Items().end());
  return StartLoad(std::move(request));
}

HRESULT AudioEditCtl::StartLoad(LoadRequest request) {
  // Without a thread nothing happens, and the call still succeeds.
  runner_.Start([this, request = std::move(request)](const CancelToken& token) {
    RunLoad(request, token);
  });
  return com::S_OK;
}

void AudioEditCtl::RunLoad(const LoadRequest& request, const CancelToken& token) {
  if (token.Cancelled()) return;
  const com::ApartmentScope apartment;
  CloseViewPeakFile();
  LoadEvents events(*this, token);
  AudioLoader loader(events, state_);
  {
    std::lock_guard lock(portMutex_);
    loader.SetTempDirectory(tempDirectory_);
  }
  const PEC result = loader.Run(request);
  if (result == PEC_LoadingCanceled) return;
  state_.SetResult(result);
  // A cancel under way reports the end of this load itself.
  if (token.Cancelled()) return;
  {
    std::lock_guard lock(portMutex_);
    pendingDividers_ = request.dividers;
  }
  HandOver(result, token);
  if (result != PEC_Success || token.Cancelled()) return;
  WithPortFromWorker([](win::WindowPort& port) { port.InvalidateRect(nullptr, true); });
  FireAudioEditMsg(AEMSG_EndPeakFile, 0);
}

void AudioEditCtl::HandOver(std::int32_t result, const CancelToken& token) {
  const bool sent = WithPortFromWorker([result, &token](win::WindowPort& port) {
    port.SendMessage(WM_AE_LOADRESULT, static_cast<win::WPARAM>(result),
                     reinterpret_cast<win::LPARAM>(&token));
  });
  if (!sent) OnLoadResult(result, token);
}

win::LRESULT AudioEditCtl::OnLoadResult(std::int32_t result, const CancelToken& token) {
  if (!lifecycle_.BeginHandOver()) return 0;
  // A cancel that ended between the worker's last check and now.
  if (token.Cancelled()) {
    lifecycle_.EndHandOver();
    return 0;
  }
  if (result == PEC_Success) {
    const LoadSnapshot loaded = state_.Snapshot();
    dividers_.SetTimeBase(loaded.info.freq, loaded.totalFrames);
    dividers_.HideCurrentMark();
    dividers_.put_CurrentFrame(0);
    ResetViewAfterLoad();
    ResetMouseAfterLoad();
    SetUpPlayback();
  } else {
    TearDownPlayback();
    RepaintAll();
  }
  FireAudioEditMsg(AEMSG_PeakError, static_cast<std::uint32_t>(result));
  // A cancel from inside the event leaves the old dividers.
  if (result == PEC_Success && state_.HasAudio()) InstallPendingDividers();
  lifecycle_.EndHandOver();
  return 0;
}

void AudioEditCtl::InstallPendingDividers() {
  std::optional<std::vector<DIVIDER>> dividers;
  {
    std::lock_guard lock(portMutex_);
    dividers = std::move(pendingDividers_);
    pendingDividers_.reset();
  }
  if (dividers) {
    dividers_.InstallDividers(*dividers);
  } else {
    dividers_.InstallDefaultDividers();
  }
}

HRESULT AudioEditCtl::CancelLoading() {
  if (!runner_.HasWorker()) return com::S_OK;
  bool duringHandOver = false;
  // A second cancel (from an event of the first, or from another thread) has nothing to do.
  if (!lifecycle_.BeginCancel(duringHandOver)) return com::S_OK;
  bool cancelled = false;
  if (duringHandOver || runner_.OnWorkerThread()) {
    // The worker waits for this very thread: stop it without waiting for it.
    cancelled = runner_.RequestCancel();
  } else {
    cancelled = runner_.Cancel([this](const std::function<bool()>& done) { WaitForWorkers(done); });
  }
  if (cancelled) state_.ClearNames();
  lifecycle_.EndCancel();
  if (cancelled) FireAudioEditMsg(AEMSG_PeakError, PEC_LoadingCanceled);
  return com::S_OK;
}

// --- IDispatch ---

HRESULT AudioEditCtl::GetTypeInfoCount(UINT* pctinfo) {
  if (!pctinfo) return com::E_POINTER;
  *pctinfo = 0;  // no type information on this platform
  return com::S_OK;
}

HRESULT AudioEditCtl::GetTypeInfo(UINT, com::LCID, com::ITypeInfo** ppTInfo) {
  if (ppTInfo) *ppTInfo = nullptr;
  return com::E_NOTIMPL;
}

HRESULT AudioEditCtl::GetIDsOfNames(com::REFIID riid, com::LPOLESTR* rgszNames, UINT cNames,
                                    com::LCID, com::DISPID* rgDispId) {
  if (riid != com::GUID_NULL) return com::DISP_E_UNKNOWNINTERFACE;
  return AudioEditCtlDispatch().GetIDsOfNames(rgszNames, cNames, rgDispId);
}

HRESULT AudioEditCtl::Invoke(com::DISPID dispIdMember, com::REFIID riid, com::LCID,
                             com::WORD wFlags, com::DISPPARAMS* pDispParams,
                             com::VARIANT* pVarResult, com::EXCEPINFO* pExcepInfo,
                             UINT* puArgErr) {
  if (riid != com::GUID_NULL) return com::DISP_E_UNKNOWNINTERFACE;
  IAudioEditCtl& self = *this;
  return AudioEditCtlDispatch().Invoke(self, dispIdMember, wFlags, pDispParams, pVarResult,
                                       pExcepInfo, puArgErr);
}

// --- events ---

void AudioEditCtl::FireAudioEditMsg(std::uint32_t msg, std::uint32_t param) {
  if (lifecycle_.IsClosed()) return;
  if (com::ConnectionPoint* point = points_.Get(DIID__IAudioEditCtlEvents))
    point->FireEvent(DISPID_AudioEditMsg, {msg, param});
}

void AudioEditCtl::FirePeakFileProgress(std::uint32_t progress) {
  if (lifecycle_.IsClosed()) return;
  if (com::ConnectionPoint* point = points_.Get(DIID__IAudioEditCtlEvents))
    point->FireEvent(DISPID_PeakFileProgress, {progress});
}

void AudioEditCtl::FireDividerSelected(std::uint32_t frame) {
  if (lifecycle_.IsClosed()) return;
  if (com::ConnectionPoint* point = points_.Get(DIID__IAudioEditCtlEvents))
    point->FireEvent(DISPID_DividerSelected, {frame});
}

HRESULT AudioEditCtl::EnumConnectionPoints(com::IEnumConnectionPoints** ppEnum) {
  return points_.Enum(ppEnum);
}

HRESULT AudioEditCtl::FindConnectionPoint(com::REFIID riid, com::IConnectionPoint** ppCP) {
  return points_.Find(riid, ppCP);
}

// --- results of loading ---

HRESULT AudioEditCtl::get_AudioFileName(BSTR* value) {
  return ReturnString(state_.AudioFileName(), value);
}

HRESULT AudioEditCtl::get_PeakFileName(BSTR* value) {
  return ReturnString(state_.PeakFileName(), value);
}

HRESULT AudioEditCtl::get_ErrorString(BSTR* value) {
  return ReturnString(state_.ErrorString(), value);
}

HRESULT AudioEditCtl::get_ErrorCode(com::INT* value) {
  if (!value) return com::E_POINTER;
  *value = state_.ErrorCode();
  return com::S_OK;
}

HRESULT AudioEditCtl::get_IsAudioFileLoaded(LONG* value) {
  if (!value) return com::E_POINTER;
  *value = state_.IsAudioFileLoaded() ? 1 : 0;
  return com::S_OK;
}

HRESULT AudioEditCtl::GetAudioInfo(AUDIO_INFO* pAI) {
  if (!pAI) return com::E_POINTER;
  const std::uint32_t interval = pAI->sample_interval;
  *pAI = state_.Snapshot().info;
  pAI->sample_interval = interval;
  return com::S_OK;
}

HRESULT AudioEditCtl::get_AudioInfo(AUDIO_INFO* value) { return GetAudioInfo(value); }

// --- divider list ---

HRESULT AudioEditCtl::get_DividerCount(LONG* value) { return dividers_.DividerCount(value); }
HRESULT AudioEditCtl::GetNextDivider(LONG* pDivType, ULONG* pFrame, LONG* pResult) {
  return dividers_.GetNextDivider(pDivType, pFrame, pResult);
}
HRESULT AudioEditCtl::InitEnumDividers() { return dividers_.InitEnumDividers(); }
HRESULT AudioEditCtl::SetDivider(ULONG OldDiv, ULONG NewDiv, ULONG* Result) {
  return dividers_.SetDivider(OldDiv, NewDiv, Result);
}
HRESULT AudioEditCtl::AddDivider(ULONG nFrame, LONG DivType, ULONG* Result) {
  return dividers_.AddDivider(nFrame, DivType, Result);
}
HRESULT AudioEditCtl::RemoveDivider(ULONG nFrame) { return dividers_.RemoveDivider(nFrame); }
HRESULT AudioEditCtl::ConvertIndicesToSplits() { return dividers_.ConvertIndicesToSplits(); }
HRESULT AudioEditCtl::ConvertSplitsToIndices() { return dividers_.ConvertSplitsToIndices(); }
HRESULT AudioEditCtl::get_CurrentFrame(ULONG* value) { return dividers_.get_CurrentFrame(value); }
HRESULT AudioEditCtl::put_CurrentFrame(ULONG value) { return dividers_.put_CurrentFrame(value); }
HRESULT AudioEditCtl::get_SelectedDivider(ULONG* value) {
  return dividers_.get_SelectedDivider(value);
}
HRESULT AudioEditCtl::put_SelectedDivider(ULONG value) {
  return dividers_.put_SelectedDivider(value);
}
HRESULT AudioEditCtl::get_MinSplitFrames(UINT* value) { return dividers_.get_MinSplitFrames(value); }
HRESULT AudioEditCtl::put_MinSplitFrames(UINT value) { return dividers_.put_MinSplitFrames(value); }

void AudioEditCtl::RepaintAll() {
  // InvalidateRect is made for any thread; the window stays attached during window-thread
  // calls, and a worker calls this only when there is no window.
  if (win::WindowPort* port = Port()) port->InvalidateRect(nullptr, true);
}

// --- IPersistStreamInit ---

HRESULT AudioEditCtl::GetClassID(com::CLSID* pClassID) {
  if (!pClassID) return com::E_POINTER;
  *pClassID = CLSID_AudioEditCtl;
  return com::S_OK;
}

HRESULT AudioEditCtl::IsDirty() { return dirty_ ? com::S_OK : com::S_FALSE; }

HRESULT AudioEditCtl::Load(com::IStream* pStm) {
  const HRESULT hr = stock_.Load(pStm, extentCx_, extentCy_);
  if (com::SUCCEEDED(hr)) dirty_ = false;
  return hr;
}

HRESULT AudioEditCtl::Save(com::IStream* pStm, com::BOOL fClearDirty) {
  const HRESULT hr = stock_.Save(pStm, extentCx_, extentCy_);
  if (com::SUCCEEDED(hr) && fClearDirty) dirty_ = false;
  return hr;
}

HRESULT AudioEditCtl::GetSizeMax(com::ULARGE_INTEGER* pCbSize) {
  if (!pCbSize) return com::E_POINTER;
  pCbSize->QuadPart = stock_.SizeMax();
  return com::S_OK;
}

HRESULT AudioEditCtl::InitNew() { return com::S_OK; }

HRESULT AudioEditCtl::InterfaceSupportsErrorInfo(com::REFIID riid) {
  return riid == IID_IAudioEditCtl ? com::S_OK : com::S_FALSE;
}

}  // namespace audioedit
