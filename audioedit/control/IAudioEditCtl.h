// IAudioEditCtl: the control's dual interface. The methods are declared in slot order: the
// dispatch methods, the stock properties (each put before its get; Font, MouseIcon and
// Picture with put-by-reference first; HWND get only), then the control's own members in
// the order of their table (each own property get before its put).
#pragma once

#include "audioedit/AudioInfo.h"
#include "audioedit/control/AudioEditCtlIds.h"
#include "platform/com/Dispatch.h"

namespace audioedit {

using com::BSTR;
using com::HRESULT;
using com::LONG;
using com::OLE_COLOR;
using com::UINT;
using com::ULONG;
using com::VARIANT_BOOL;

// Font and picture objects travel as their dispatch interfaces.
using IFontDisp = com::IDispatch;
using IPictureDisp = com::IDispatch;

class IAudioEditCtl : public com::IDispatch {
 public:
  // Stock properties (DISPID -500 .. -525).
  virtual HRESULT put_AutoSize(VARIANT_BOOL value) = 0;
  virtual HRESULT get_AutoSize(VARIANT_BOOL* value) = 0;
  virtual HRESULT put_BackColor(OLE_COLOR value) = 0;
  virtual HRESULT get_BackColor(OLE_COLOR* value) = 0;
  virtual HRESULT put_BackStyle(LONG value) = 0;
  virtual HRESULT get_BackStyle(LONG* value) = 0;
  virtual HRESULT put_BorderColor(OLE_COLOR value) = 0;
  virtual HRESULT get_BorderColor(OLE_COLOR* value) = 0;
  virtual HRESULT put_BorderStyle(LONG value) = 0;
  virtual HRESULT get_BorderStyle(LONG* value) = 0;
  virtual HRESULT put_BorderWidth(LONG value) = 0;
  virtual HRESULT get_BorderWidth(LONG* value) = 0;
  virtual HRESULT put_DrawMode(LONG value) = 0;
  virtual HRESULT get_DrawMode(LONG* value) = 0;
  virtual HRESULT put_DrawStyle(LONG value) = 0;
  virtual HRESULT get_DrawStyle(LONG* value) = 0;
  virtual HRESULT put_DrawWidth(LONG value) = 0;
  virtual HRESULT get_DrawWidth(LONG* value) = 0;
  virtual HRESULT put_FillColor(OLE_COLOR value) = 0;
  virtual HRESULT get_FillColor(OLE_COLOR* value) = 0;
  virtual HRESULT put_FillStyle(LONG value) = 0;
  virtual HRESULT get_FillStyle(LONG* value) = 0;
  virtual HRESULT putref_Font(IFontDisp* value) = 0;
  virtual HRESULT put_Font(IFontDisp* value) = 0;
  virtual HRESULT get_Font(IFontDisp** value) = 0;
  virtual HRESULT put_ForeColor(OLE_COLOR value) = 0;
  virtual HRESULT get_ForeColor(OLE_COLOR* value) = 0;
  virtual HRESULT put_Enabled(VARIANT_BOOL value) = 0;
  virtual HRESULT get_Enabled(VARIANT_BOOL* value) = 0;
  virtual HRESULT get_HWND(LONG* value) = 0;
  virtual HRESULT put_TabStop(VARIANT_BOOL value) = 0;
  virtual HRESULT get_TabStop(VARIANT_BOOL* value) = 0;
  virtual HRESULT put_Text(BSTR value) = 0;
  virtual HRESULT get_Text(BSTR* value) = 0;
  virtual HRESULT put_Caption(BSTR value) = 0;
  virtual HRESULT get_Caption(BSTR* value) = 0;
  virtual HRESULT put_BorderVisible(VARIANT_BOOL value) = 0;
  virtual HRESULT get_BorderVisible(VARIANT_BOOL* value) = 0;
  virtual HRESULT put_Appearance(com::SHORT value) = 0;
  virtual HRESULT get_Appearance(com::SHORT* value) = 0;
  virtual HRESULT put_MousePointer(LONG value) = 0;
  virtual HRESULT get_MousePointer(LONG* value) = 0;
  virtual HRESULT putref_MouseIcon(IPictureDisp* value) = 0;
  virtual HRESULT put_MouseIcon(IPictureDisp* value) = 0;
  virtual HRESULT get_MouseIcon(IPictureDisp** value) = 0;
  virtual HRESULT putref_Picture(IPictureDisp* value) = 0;
  virtual HRESULT put_Picture(IPictureDisp* value) = 0;
  virtual HRESULT get_Picture(IPictureDisp** value) = 0;
  virtual HRESULT put_Valid(VARIANT_BOOL value) = 0;
  virtual HRESULT get_Valid(VARIANT_BOOL* value) = 0;
  virtual HRESULT put_ReadyState(LONG value) = 0;
  virtual HRESULT get_ReadyState(LONG* value) = 0;

  // The control's own members.
  virtual HRESULT LoadAudioFile(BSTR AudioFile, LONG SampleInterval, BSTR PeakFile,
                                LONG bKeepPeakFile) = 0;                          // 2
  virtual HRESULT get_AudioFileName(BSTR* value) = 0;                            // 3
  virtual HRESULT get_PeakFileName(BSTR* value) = 0;                             // 4
  virtual HRESULT ZoomIn() = 0;                                                   // 5
  virtual HRESULT ZoomOut() = 0;                                                  // 6
  virtual HRESULT ZoomOutFull() = 0;                                              // 7
  virtual HRESULT ScrollToMs(UINT ms) = 0;                                        // 9
  virtual HRESULT get_CurrentZoom(UINT* value) = 0;                               // 10
  virtual HRESULT put_CurrentZoom(UINT value) = 0;                                // 10
  virtual HRESULT get_DividerCount(LONG* value) = 0;                              // 15
  virtual HRESULT GetNextDivider(LONG* pDivType, ULONG* pFrame, LONG* pResult) = 0;  // 16
  virtual HRESULT InitEnumDividers() = 0;                                         // 17
  virtual HRESULT GetAudioInfo(AUDIO_INFO* pAI) = 0;                              // 19
  virtual HRESULT SetDivider(ULONG OldDiv, ULONG NewDiv, ULONG* Result) = 0;      // 20
  virtual HRESULT AddDivider(ULONG nFrame, LONG DivType, ULONG* Result) = 0;      // 21
  virtual HRESULT get_AudioInfo(AUDIO_INFO* value) = 0;                           // 22
  virtual HRESULT RemoveDivider(ULONG nFrame) = 0;                                // 23
  virtual HRESULT ConvertIndicesToSplits() = 0;                                   // 24
  virtual HRESULT get_CurrentFrame(ULONG* value) = 0;                             // 25
  virtual HRESULT put_CurrentFrame(ULONG value) = 0;                              // 25
  virtual HRESULT get_SelectedDivider(ULONG* value) = 0;                          // 26
  virtual HRESULT put_SelectedDivider(ULONG value) = 0;                           // 26
  virtual HRESULT AudioPlay() = 0;                                                // 27
  virtual HRESULT AudioPause() = 0;                                               // 28
  virtual HRESULT AudioStop() = 0;                                                // 29
  virtual HRESULT get_IsAudioFileLoaded(LONG* value) = 0;                         // 30
  virtual HRESULT LoadAudioFileDividers(BSTR AudioFile, LONG lSampleInterval, BSTR PeakFile,
                                        LONG bKeepPeakFile, com::SAFEARRAY* saDiv) = 0;  // 32
  virtual HRESULT get_ErrorCode(com::INT* value) = 0;                             // 33
  virtual HRESULT get_ColorWave(OLE_COLOR* value) = 0;                            // 134
  virtual HRESULT put_ColorWave(OLE_COLOR value) = 0;                             // 134
  virtual HRESULT get_MinSplitFrames(UINT* value) = 0;                            // 34
  virtual HRESULT put_MinSplitFrames(UINT value) = 0;                             // 34
  virtual HRESULT get_ColorWaveBg(OLE_COLOR* value) = 0;                          // 35
  virtual HRESULT put_ColorWaveBg(OLE_COLOR value) = 0;                           // 35
  virtual HRESULT get_ColorScaleBg(OLE_COLOR* value) = 0;                         // 36
  virtual HRESULT put_ColorScaleBg(OLE_COLOR value) = 0;                          // 36
  virtual HRESULT get_ColorChannelDivider(OLE_COLOR* value) = 0;                  // 37
  virtual HRESULT put_ColorChannelDivider(OLE_COLOR value) = 0;                   // 37
  virtual HRESULT get_ColorWaveInactive(OLE_COLOR* value) = 0;                    // 38
  virtual HRESULT put_ColorWaveInactive(OLE_COLOR value) = 0;                     // 38
  virtual HRESULT get_ColorIndex(OLE_COLOR* value) = 0;                           // 39
  virtual HRESULT put_ColorIndex(OLE_COLOR value) = 0;                            // 39
  virtual HRESULT get_ColorSplit(OLE_COLOR* value) = 0;                           // 40
  virtual HRESULT put_ColorSplit(OLE_COLOR value) = 0;                            // 40
  virtual HRESULT get_ColorStart(OLE_COLOR* value) = 0;                           // 41
  virtual HRESULT put_ColorStart(OLE_COLOR value) = 0;                            // 41
  virtual HRESULT get_ColorEnd(OLE_COLOR* value) = 0;                             // 42
  virtual HRESULT put_ColorEnd(OLE_COLOR value) = 0;                              // 42
  virtual HRESULT get_ColorZeroLevel(OLE_COLOR* value) = 0;                       // 43
  virtual HRESULT put_ColorZeroLevel(OLE_COLOR value) = 0;                        // 43
  virtual HRESULT get_ColorScaleTicks(OLE_COLOR* value) = 0;                      // 44
  virtual HRESULT put_ColorScaleTicks(OLE_COLOR value) = 0;                       // 44
  virtual HRESULT get_ColorCurrentMark(OLE_COLOR* value) = 0;                     // 45
  virtual HRESULT put_ColorCurrentMark(OLE_COLOR value) = 0;                      // 45
  virtual HRESULT CancelLoading() = 0;                                            // 46
  virtual HRESULT get_ErrorString(BSTR* value) = 0;                               // 47
  virtual HRESULT ConvertSplitsToIndices() = 0;                                   // 48
  virtual HRESULT get_ColorChanDivInactive(OLE_COLOR* value) = 0;                 // 49
  virtual HRESULT put_ColorChanDivInactive(OLE_COLOR value) = 0;                  // 49

 protected:
  ~IAudioEditCtl() = default;
};

}  // namespace audioedit
