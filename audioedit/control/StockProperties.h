// The stock properties of the control: stored values with their standard dispatch
// identifiers, and their persistent form together with the control's extent.
//
// Stream format (all little-endian), written by Save and read by Load:
//   u32  magic 0x41454354 ("AECT" read as a little-endian number)
//   u16  format version, 1
//   u32  _cx, u32 _cy         extent of the control
//   then every stock property of kStockProperties in table order, except the object-valued
//   ones (Font, MouseIcon, Picture) and HWND, which are not persisted:
//     Bool and Short  i16
//     Color and Long  i32 (colours as their 0x00BBGGRR reference)
//     Text            u32 count of UTF-16 units, then the units as u16
// Load refuses (STG_E_READFAULT) a stream that ends early or carries another magic or
// version, and then leaves the properties as they were. Text longer than 1 Mi units is
// refused too.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/com/ComPtr.h"
#include "platform/com/Dispatch.h"
#include "platform/com/Stream.h"

namespace audioedit {

enum class StockKind { kBool, kColor, kLong, kShort, kText, kObject, kHandle };

struct StockDescriptor {
  com::DISPID dispid;
  std::u16string_view name;
  StockKind kind;
};

inline constexpr com::DISPID DISPID_AUTOSIZE = -500;
inline constexpr com::DISPID DISPID_BACKCOLOR = -501;
inline constexpr com::DISPID DISPID_BACKSTYLE = -502;
inline constexpr com::DISPID DISPID_BORDERCOLOR = -503;
inline constexpr com::DISPID DISPID_BORDERSTYLE = -504;
inline constexpr com::DISPID DISPID_BORDERWIDTH = -505;
inline constexpr com::DISPID DISPID_DRAWMODE = -507;
inline constexpr com::DISPID DISPID_DRAWSTYLE = -508;
inline constexpr com::DISPID DISPID_DRAWWIDTH = -509;
inline constexpr com::DISPID DISPID_FILLCOLOR = -510;
inline constexpr com::DISPID DISPID_FILLSTYLE = -511;
inline constexpr com::DISPID DISPID_FONT = -512;
inline constexpr com::DISPID DISPID_FORECOLOR = -513;
inline constexpr com::DISPID DISPID_ENABLED = -514;
inline constexpr com::DISPID DISPID_HWND = -515;
inline constexpr com::DISPID DISPID_TABSTOP = -516;
inline constexpr com::DISPID DISPID_TEXT = -517;
inline constexpr com::DISPID DISPID_CAPTION = -518;
inline constexpr com::DISPID DISPID_BORDERVISIBLE = -519;
inline constexpr com::DISPID DISPID_APPEARANCE = -520;
inline constexpr com::DISPID DISPID_MOUSEPOINTER = -521;
inline constexpr com::DISPID DISPID_MOUSEICON = -522;
inline constexpr com::DISPID DISPID_PICTURE = -523;
inline constexpr com::DISPID DISPID_VALID = -524;
inline constexpr com::DISPID DISPID_READYSTATE = -525;

inline constexpr std::array<StockDescriptor, 25> kStockProperties{{
    {DISPID_AUTOSIZE, u"AutoSize", StockKind::kBool},
    {DISPID_BACKCOLOR, u"BackColor", StockKind::kColor},
    {DISPID_BACKSTYLE, u"BackStyle", StockKind::kLong},
    {DISPID_BORDERCOLOR, u"BorderColor", StockKind::kColor},
    {DISPID_BORDERSTYLE, u"BorderStyle", StockKind::kLong},
    {DISPID_BORDERWIDTH, u"BorderWidth", StockKind::kLong},
    {DISPID_DRAWMODE, u"DrawMode", StockKind::kLong},
    {DISPID_DRAWSTYLE, u"DrawStyle", StockKind::kLong},
    {DISPID_DRAWWIDTH, u"DrawWidth", StockKind::kLong},
    {DISPID_FILLCOLOR, u"FillColor", StockKind::kColor},
    {DISPID_FILLSTYLE, u"FillStyle", StockKind::kLong},
    {DISPID_FONT, u"Font", StockKind::kObject},
    {DISPID_FORECOLOR, u"ForeColor", StockKind::kColor},
    {DISPID_ENABLED, u"Enabled", StockKind::kBool},
    {DISPID_HWND, u"HWND", StockKind::kHandle},
    {DISPID_TABSTOP, u"TabStop", StockKind::kBool},
    {DISPID_TEXT, u"Text", StockKind::kText},
    {DISPID_CAPTION, u"Caption", StockKind::kText},
    {DISPID_BORDERVISIBLE, u"BorderVisible", StockKind::kBool},
    {DISPID_APPEARANCE, u"Appearance", StockKind::kShort},
    {DISPID_MOUSEPOINTER, u"MousePointer", StockKind::kLong},
    {DISPID_MOUSEICON, u"MouseIcon", StockKind::kObject},
    {DISPID_PICTURE, u"Picture", StockKind::kObject},
    {DISPID_VALID, u"Valid", StockKind::kBool},
    {DISPID_READYSTATE, u"ReadyState", StockKind::kLong},
}};

// Index of a stock property in kStockProperties; none for another DISPID.
std::optional<std::size_t> StockIndex(com::DISPID dispid);

// Initial values: everything zero or empty, except Enabled (true), Valid (true) and
// ReadyState (4, complete).
class StockProperties {
 public:
  StockProperties();
  StockProperties(const StockProperties&) = delete;
  StockProperties& operator=(const StockProperties&) = delete;

  // Bool, Color, Long and Short properties (booleans as VARIANT_BOOL, colours as their
  // reference, both widened to 32 bits).
  std::int32_t Scalar(com::DISPID dispid) const;
  void SetScalar(com::DISPID dispid, std::int32_t value);
  const std::u16string& Text(com::DISPID dispid) const;
  void SetText(com::DISPID dispid, std::u16string value);
  com::IDispatch* Object(com::DISPID dispid) const;
  void SetObject(com::DISPID dispid, com::IDispatch* value);

  com::HRESULT Save(com::IStream* stream, std::uint32_t cx, std::uint32_t cy) const;
  com::HRESULT Load(com::IStream* stream, std::uint32_t& cx, std::uint32_t& cy);
  // Upper bound of the bytes Save writes now.
  std::uint64_t SizeMax() const;

 private:
  struct Value {
    std::int32_t scalar = 0;
    std::u16string text;
    com::ComPtr<com::IDispatch> object;
  };
  Value& At(com::DISPID dispid);
  const Value& At(com::DISPID dispid) const;

  std::array<Value, kStockProperties.size()> values_;
};

}  // namespace audioedit
