// AudioEditCtl: the audio edit control. A component object (apartment model) that lives on
// its host's window thread, drawn in a window the host gives it through a WindowPort.
//
// Threads: every interface call, every window message and the divider list run on the
// window thread. Each load runs on a worker thread of its own (LoadRunner), which fires
// AEMSG_StartPeakFile, PeakFileProgress and AEMSG_EndPeakFile itself and hands the load's
// result to the window thread with the synchronous message WM_AE_LOADRESULT; the window
// thread then resets the view, fires AEMSG_PeakError and installs the dividers. Without a
// window the worker does that hand-over itself, so those events then come from the worker.
// LoadState (figures and names) is locked and read as one snapshot where several fields
// belong together; LoadLifecycle holds the cancel and hand-over state under one lock; the
// worker reaches the window only through SendMessage and InvalidateRect, both made for other
// threads. A host may call CancelLoading from an event handler on the worker.
//
// The host side: Create(port) attaches the control to its window (the window port takes
// the place of in-place activation), Destroy() detaches it; the destructor does that too.
// Hosts holding only interfaces do the same through IAudioEditWindow.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "audioedit/DividerList.h"
#include "audioedit/DividerListHost.h"
#include "audioedit/control/IAudioEditCtl.h"
#include "audioedit/control/IAudioEditWindow.h"
#include "audioedit/control/LoadLifecycle.h"
#include "audioedit/control/LoadRequest.h"
#include "audioedit/control/LoadRunner.h"
#include "audioedit/control/LoadState.h"
#include "audioedit/control/PlaybackGraph.h"
#include "audioedit/control/StockProperties.h"
#include "platform/com/ComObject.h"
#include "platform/com/ConnectionPoint.h"
#include "platform/com/ErrorInfo.h"
#include "platform/com/Persist.h"
#include "platform/window/WindowPort.h"

namespace audioedit {

class ControlView;

class AudioEditCtl final
    : public com::ComObject<AudioEditCtl, IAudioEditCtl, com::IConnectionPointContainer,
                            com::IPersistStreamInit, com::ISupportErrorInfo,
                            IAudioEditWindow>,
      public win::WindowProcedure,
      private DividerListHost {
 public:
  explicit AudioEditCtl(com::ModuleLock* module = nullptr);
  ~AudioEditCtl();

  auto Interfaces() {
    return std::array{
        com::Expose<IAudioEditCtl>(this, com::IID_IUnknown),
        com::Expose<IAudioEditCtl>(this, com::IID_IDispatch),
        com::Expose<IAudioEditCtl>(this, IID_IAudioEditCtl),
        com::Expose<com::IConnectionPointContainer>(this, com::IID_IConnectionPointContainer),
        com::Expose<com::IPersistStreamInit>(this, com::IID_IPersistStreamInit),
        com::Expose<com::IPersistStreamInit>(this, com::IID_IPersist),
        com::Expose<com::ISupportErrorInfo>(this, com::IID_ISupportErrorInfo),
        com::Expose<IAudioEditWindow>(this, IID_IAudioEditWindow)};
  }

  // --- host side (window thread) ---
  // Attaches the control to its window: it receives the window's messages from now on.
  void Create(win::WindowPort& port);
  // Detaches it again (waits for a worker that is handing a result over meanwhile).
  void Destroy();
  // Where new peak files go (empty: the user's temporary directory).
  void SetTempDirectory(std::string directory);

  // --- IAudioEditWindow: Create or Destroy for hosts that reach the control by interface ---
  HRESULT AttachWindow(win::WindowPort* port) override;

  // --- window procedure ---
  win::LRESULT WindowProc(win::UINT msg, win::WPARAM wParam, win::LPARAM lParam) override;

  // --- IDispatch ---
  HRESULT GetTypeInfoCount(UINT* pctinfo) override;
  HRESULT GetTypeInfo(UINT iTInfo, com::LCID lcid, com::ITypeInfo** ppTInfo) override;
  HRESULT GetIDsOfNames(com::REFIID riid, com::LPOLESTR* rgszNames, UINT cNames, com::LCID lcid,
                        com::DISPID* rgDispId) override;
  HRESULT Invoke(com::DISPID dispIdMember, com::REFIID riid, com::LCID lcid, com::WORD wFlags,
                 com::DISPPARAMS* pDispParams, com::VARIANT* pVarResult,
                 com::EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

  // --- stock properties ---
  HRESULT put_AutoSize(VARIANT_BOOL value) override;
  HRESULT get_AutoSize(VARIANT_BOOL* value) override;
  HRESULT put_BackColor(OLE_COLOR value) override;
  HRESULT get_BackColor(OLE_COLOR* value) override;
  HRESULT put_BackStyle(LONG value) override;
  HRESULT get_BackStyle(LONG* value) override;
  HRESULT put_BorderColor(OLE_COLOR value) override;
  HRESULT get_BorderColor(OLE_COLOR* value) override;
  HRESULT put_BorderStyle(LONG value) override;
  HRESULT get_BorderStyle(LONG* value) override;
  HRESULT put_BorderWidth(LONG value) override;
  HRESULT get_BorderWidth(LONG* value) override;
  HRESULT put_DrawMode(LONG value) override;
  HRESULT get_DrawMode(LONG* value) override;
  HRESULT put_DrawStyle(LONG value) override;
  HRESULT get_DrawStyle(LONG* value) override;
  HRESULT put_DrawWidth(LONG value) override;
  HRESULT get_DrawWidth(LONG* value) override;
  HRESULT put_FillColor(OLE_COLOR value) override;
  HRESULT get_FillColor(OLE_COLOR* value) override;
  HRESULT put_FillStyle(LONG value) override;
  HRESULT get_FillStyle(LONG* value) override;
  HRESULT putref_Font(IFontDisp* value) override;
  HRESULT put_Font(IFontDisp* value) override;
  HRESULT get_Font(IFontDisp** value) override;
  HRESULT put_ForeColor(OLE_COLOR value) override;
  HRESULT get_ForeColor(OLE_COLOR* value) override;
  HRESULT put_Enabled(VARIANT_BOOL value) override;
  HRESULT get_Enabled(VARIANT_BOOL* value) override;
  HRESULT get_HWND(LONG* value) override;
  HRESULT put_TabStop(VARIANT_BOOL value) override;
  HRESULT get_TabStop(VARIANT_BOOL* value) override;
  HRESULT put_Text(BSTR value) override;
  HRESULT get_Text(BSTR* value) override;
  HRESULT put_Caption(BSTR value) override;
  HRESULT get_Caption(BSTR* value) override;
  HRESULT put_BorderVisible(VARIANT_BOOL value) override;
  HRESULT get_BorderVisible(VARIANT_BOOL* value) override;
  HRESULT put_Appearance(com::SHORT value) override;
  HRESULT get_Appearance(com::SHORT* value) override;
  HRESULT put_MousePointer(LONG value) override;
  HRESULT get_MousePointer(LONG* value) override;
  HRESULT putref_MouseIcon(IPictureDisp* value) override;
  HRESULT put_MouseIcon(IPictureDisp* value) override;
  HRESULT get_MouseIcon(IPictureDisp** value) override;
  HRESULT putref_Picture(IPictureDisp* value) override;
  HRESULT put_Picture(IPictureDisp* value) override;
  HRESULT get_Picture(IPictureDisp** value) override;
  HRESULT put_Valid(VARIANT_BOOL value) override;
  HRESULT get_Valid(VARIANT_BOOL* value) override;
  HRESULT put_ReadyState(LONG value) override;
  HRESULT get_ReadyState(LONG* value) override;

  // --- the control's own members ---
  HRESULT LoadAudioFile(BSTR AudioFile, LONG SampleInterval, BSTR PeakFile,
                        LONG bKeepPeakFile) override;
  HRESULT get_AudioFileName(BSTR* value) override;
  HRESULT get_PeakFileName(BSTR* value) override;
  HRESULT ZoomIn() override;
  HRESULT ZoomOut() override;
  HRESULT ZoomOutFull() override;
  HRESULT ScrollToMs(UINT ms) override;
  HRESULT get_CurrentZoom(UINT* value) override;
  HRESULT put_CurrentZoom(UINT value) override;
  HRESULT get_DividerCount(LONG* value) override;
  HRESULT GetNextDivider(LONG* pDivType, ULONG* pFrame, LONG* pResult) override;
  HRESULT InitEnumDividers() override;
  HRESULT GetAudioInfo(AUDIO_INFO* pAI) override;
  HRESULT SetDivider(ULONG OldDiv, ULONG NewDiv, ULONG* Result) override;
  HRESULT AddDivider(ULONG nFrame, LONG DivType, ULONG* Result) override;
  HRESULT get_AudioInfo(AUDIO_INFO* value) override;
  HRESULT RemoveDivider(ULONG nFrame) override;
  HRESULT ConvertIndicesToSplits() override;
  HRESULT get_CurrentFrame(ULONG* value) override;
  HRESULT put_CurrentFrame(ULONG value) override;
  HRESULT get_SelectedDivider(ULONG* value) override;
  HRESULT put_SelectedDivider(ULONG value) override;
  HRESULT AudioPlay() override;
  HRESULT AudioPause() override;
  HRESULT AudioStop() override;
  HRESULT get_IsAudioFileLoaded(LONG* value) override;
  HRESULT LoadAudioFileDividers(BSTR AudioFile, LONG lSampleInterval, BSTR PeakFile,
                                LONG bKeepPeakFile, com::SAFEARRAY* saDiv) override;
  HRESULT get_ErrorCode(com::INT* value) override;
  HRESULT get_ColorWave(OLE_COLOR* value) override;
  HRESULT put_ColorWave(OLE_COLOR value) override;
  HRESULT get_MinSplitFrames(UINT* value) override;
  HRESULT put_MinSplitFrames(UINT value) override;
  HRESULT get_ColorWaveBg(OLE_COLOR* value) override;
  HRESULT put_ColorWaveBg(OLE_COLOR value) override;
  HRESULT get_ColorScaleBg(OLE_COLOR* value) override;
  HRESULT put_ColorScaleBg(OLE_COLOR value) override;
  HRESULT get_ColorChannelDivider(OLE_COLOR* value) override;
  HRESULT put_ColorChannelDivider(OLE_COLOR value) override;
  HRESULT get_ColorWaveInactive(OLE_COLOR* value) override;
  HRESULT put_ColorWaveInactive(OLE_COLOR value) override;
  HRESULT get_ColorIndex(OLE_COLOR* value) override;
  HRESULT put_ColorIndex(OLE_COLOR value) override;
  HRESULT get_ColorSplit(OLE_COLOR* value) override;
  HRESULT put_ColorSplit(OLE_COLOR value) override;
  HRESULT get_ColorStart(OLE_COLOR* value) override;
  HRESULT put_ColorStart(OLE_COLOR value) override;
  HRESULT get_ColorEnd(OLE_COLOR* value) override;
  HRESULT put_ColorEnd(OLE_COLOR value) override;
  HRESULT get_ColorZeroLevel(OLE_COLOR* value) override;
  HRESULT put_ColorZeroLevel(OLE_COLOR value) override;
  HRESULT get_ColorScaleTicks(OLE_COLOR* value) override;
  HRESULT put_ColorScaleTicks(OLE_COLOR value) override;
  HRESULT get_ColorCurrentMark(OLE_COLOR* value) override;
  HRESULT put_ColorCurrentMark(OLE_COLOR value) override;
  HRESULT CancelLoading() override;
  HRESULT get_ErrorString(BSTR* value) override;
  HRESULT ConvertSplitsToIndices() override;
  HRESULT get_ColorChanDivInactive(OLE_COLOR* value) override;
  HRESULT put_ColorChanDivInactive(OLE_COLOR value) override;

  // --- IConnectionPointContainer ---
  HRESULT EnumConnectionPoints(com::IEnumConnectionPoints** ppEnum) override;
  HRESULT FindConnectionPoint(com::REFIID riid, com::IConnectionPoint** ppCP) override;

  // --- IPersistStreamInit ---
  HRESULT GetClassID(com::CLSID* pClassID) override;
  HRESULT IsDirty() override;
  HRESULT Load(com::IStream* pStm) override;
  HRESULT Save(com::IStream* pStm, com::BOOL fClearDirty) override;
  HRESULT GetSizeMax(com::ULARGE_INTEGER* pCbSize) override;
  HRESULT InitNew() override;

  // --- ISupportErrorInfo ---
  HRESULT InterfaceSupportsErrorInfo(com::REFIID riid) override;

  // For the view and the commands of the window: the loaded state and the divider list.
  const LoadState& State() const { return state_; }
  // The view: what the window shows (its Surface()) and the waveform view itself.
  ControlView& View() { return *view_; }
  DividerList& Dividers() { return dividers_; }
  // Fires AudioEditMsg to every connected sink (any thread).
  void FireAudioEditMsg(std::uint32_t msg, std::uint32_t param);
  void FirePeakFileProgress(std::uint32_t progress);
  void FireDividerSelected(std::uint32_t frame);

 private:
  class LoadEvents;

  // DividerListHost
  bool IsLoaded() const override { return state_.HasAudio(); }
  void RedrawDividers() override;
  void RepaintAll() override;
  void BringIntoView(std::uint32_t frame) override;

  // Loading.
  HRESULT StartLoad(LoadRequest request);
  void RunLoad(const LoadRequest& request, const CancelToken& token);
  void HandOver(std::int32_t result, const CancelToken& token);
  // `token` is the load's: a result whose load was cancelled meanwhile is dropped.
  win::LRESULT OnLoadResult(std::int32_t result, const CancelToken& token);
  void InstallPendingDividers();
  // Runs `use` with the window port from a worker thread, unless there is no window; the
  // window is not detached meanwhile.
  template <class F>
  bool WithPortFromWorker(F&& use);
  // The attached window, or null. Safe on any thread; on the window thread the result stays
  // valid for the length of the call, because only that thread attaches and detaches.
  win::WindowPort* Port() const;
  // The window thread waits for `done` while handling what workers send it.
  void WaitForWorkers(const std::function<bool()>& done);
  void CancelAndJoinAll();

  // Stock properties.
  HRESULT PutStockScalar(com::DISPID dispid, std::int32_t value);
  HRESULT PutStockText(com::DISPID dispid, BSTR value);
  HRESULT PutStockObject(com::DISPID dispid, com::IDispatch* value);
  HRESULT GetStockText(com::DISPID dispid, BSTR* value) const;
  HRESULT GetStockObject(com::DISPID dispid, com::IDispatch** value) const;
  template <class T>
  HRESULT GetStockScalar(com::DISPID dispid, T* value) const;
  bool RequestEdit(com::DISPID dispid) const;
  void Changed(com::DISPID dispid);

  // The view's part (AudioEditCtlView.cpp).
  win::LRESULT ViewMessage(win::UINT msg, win::WPARAM wParam, win::LPARAM lParam, bool& handled);
  void CloseViewPeakFile();
  void ResetViewAfterLoad();

  // --- playback (AudioEditCtlPlayback.cpp) ---
 public:
  // Where the playback graph comes from (default: the class registry's filter graph).
  void SetGraphFactory(GraphFactory factory);
  // The last playback set-up: its result and, when it failed, why (S_OK and empty before
  // the first load). Hosts that want to tell the user why there is no sound read these.
  HRESULT PlaybackSetUpResult() const { return playbackSetUp_; }
  const std::string& PlaybackSetUpError() const { return playbackSetUpError_; }
  PlaybackState PlaybackStateNow() const { return playState_; }

 private:
  void SetUpPlayback();
  HRESULT BuildGraph(win::WindowPort* port);
  void TearDownPlayback();
  win::LRESULT PlaybackMessage(win::UINT msg, win::WPARAM wParam, win::LPARAM lParam,
                               bool& handled);
  void StartPositionTimer();
  void KillPositionTimer();
  void OnPositionTimer();
  void OnGraphEvents();

  GraphFactory graphFactory_ = &CreateRegisteredFilterGraph;
  PlaybackGraph graph_;
  PlaybackState playState_ = kPlaybackStopped;
  win::TimerId positionTimer_ = 0;
  win::WindowPort* timerPort_ = nullptr;  // the window positionTimer_ runs on
  HRESULT playbackSetUp_ = com::S_OK;
  std::string playbackSetUpError_;
  // --- end of playback ---

  com::ConnectionPointSet points_;
  StockProperties stock_;
  std::uint32_t extentCx_ = 0;
  std::uint32_t extentCy_ = 0;
  bool dirty_ = false;

  LoadState state_;
  DividerList dividers_;
  std::unique_ptr<ControlView> view_;

  // The window; guarded by portMutex_ because workers use it. Read it through Port().
  mutable std::mutex portMutex_;
  win::WindowPort* port_ = nullptr;
  int portUsers_ = 0;  // workers inside a call on port_
  std::string tempDirectory_;
  std::optional<std::vector<DIVIDER>> pendingDividers_;  // of the load being handed over

  // Whether a cancel or a hand-over is under way, and whether the control is going away.
  LoadLifecycle lifecycle_;

  LoadRunner runner_;  // last: its threads end before the members above go away
};

}  // namespace audioedit
