// The stock properties of AudioEditCtl: stored, announced to IPropertyNotifySink
// connections (a sink may refuse the change), persisted by IPersistStreamInit.
#include "audioedit/control/AudioEditCtl.h"
#include "platform/com/Bstr.h"

namespace audioedit {

bool AudioEditCtl::RequestEdit(com::DISPID dispid) const {
  const com::ConnectionPoint* point = points_.Get(com::IID_IPropertyNotifySink);
  return !point || point->RequestEdit(dispid) != com::S_FALSE;
}

void AudioEditCtl::Changed(com::DISPID dispid) {
  dirty_ = true;
  if (const com::ConnectionPoint* point = points_.Get(com::IID_IPropertyNotifySink))
    point->NotifyChanged(dispid);
}

HRESULT AudioEditCtl::PutStockScalar(com::DISPID dispid, std::int32_t value) {
  if (!RequestEdit(dispid)) return com::S_FALSE;
  stock_.SetScalar(dispid, value);
  Changed(dispid);
  return com::S_OK;
}

HRESULT AudioEditCtl::PutStockText(com::DISPID dispid, BSTR value) {
  if (!RequestEdit(dispid)) return com::S_FALSE;
  stock_.SetText(dispid, value ? std::u16string(value, com::SysStringLen(value)) : std::u16string());
  Changed(dispid);
  return com::S_OK;
}

HRESULT AudioEditCtl::PutStockObject(com::DISPID dispid, com::IDispatch* value) {
  if (!RequestEdit(dispid)) return com::S_FALSE;
  stock_.SetObject(dispid, value);
  Changed(dispid);
  return com::S_OK;
}

template <class T>
HRESULT AudioEditCtl::GetStockScalar(com::DISPID dispid, T* value) const {
  if (!value) return com::E_POINTER;
  *value = static_cast<T>(stock_.Scalar(dispid));
  return com::S_OK;
}

HRESULT AudioEditCtl::GetStockText(com::DISPID dispid, BSTR* value) const {
  if (!value) return com::E_POINTER;
  const std::u16string& text = stock_.Text(dispid);
  *value = com::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *value ? com::S_OK : com::E_OUTOFMEMORY;
}

HRESULT AudioEditCtl::GetStockObject(com::DISPID dispid, com::IDispatch** value) const {
  if (!value) return com::E_POINTER;
  *value = stock_.Object(dispid);
  if (*value) (*value)->AddRef();
  return com::S_OK;
}

#define AE_STOCK_SCALAR(Name, Type, Dispid)                                        \
  HRESULT AudioEditCtl::put_##Name(Type value) { return PutStockScalar(Dispid, value); } \
  HRESULT AudioEditCtl::get_##Name(Type* value) { return GetStockScalar(Dispid, value); }

AE_STOCK_SCALAR(AutoSize, VARIANT_BOOL, DISPID_AUTOSIZE)
AE_STOCK_SCALAR(BackColor, OLE_COLOR, DISPID_BACKCOLOR)
AE_STOCK_SCALAR(BackStyle, LONG, DISPID_BACKSTYLE)
AE_STOCK_SCALAR(BorderColor, OLE_COLOR, DISPID_BORDERCOLOR)
AE_STOCK_SCALAR(BorderStyle, LONG, DISPID_BORDERSTYLE)
AE_STOCK_SCALAR(BorderWidth, LONG, DISPID_BORDERWIDTH)
AE_STOCK_SCALAR(DrawMode, LONG, DISPID_DRAWMODE)
AE_STOCK_SCALAR(DrawStyle, LONG, DISPID_DRAWSTYLE)
AE_STOCK_SCALAR(DrawWidth, LONG, DISPID_DRAWWIDTH)
AE_STOCK_SCALAR(FillColor, OLE_COLOR, DISPID_FILLCOLOR)
AE_STOCK_SCALAR(FillStyle, LONG, DISPID_FILLSTYLE)
AE_STOCK_SCALAR(ForeColor, OLE_COLOR, DISPID_FORECOLOR)
AE_STOCK_SCALAR(Enabled, VARIANT_BOOL, DISPID_ENABLED)
AE_STOCK_SCALAR(TabStop, VARIANT_BOOL, DISPID_TABSTOP)
AE_STOCK_SCALAR(BorderVisible, VARIANT_BOOL, DISPID_BORDERVISIBLE)
AE_STOCK_SCALAR(Appearance, com::SHORT, DISPID_APPEARANCE)
AE_STOCK_SCALAR(MousePointer, LONG, DISPID_MOUSEPOINTER)
AE_STOCK_SCALAR(Valid, VARIANT_BOOL, DISPID_VALID)
AE_STOCK_SCALAR(ReadyState, LONG, DISPID_READYSTATE)
#undef AE_STOCK_SCALAR

#define AE_STOCK_OBJECT(Name, Type, Dispid)                                            \
  HRESULT AudioEditCtl::putref_##Name(Type* value) { return PutStockObject(Dispid, value); } \
  HRESULT AudioEditCtl::put_##Name(Type* value) { return PutStockObject(Dispid, value); }    \
  HRESULT AudioEditCtl::get_##Name(Type** value) { return GetStockObject(Dispid, value); }

AE_STOCK_OBJECT(Font, IFontDisp, DISPID_FONT)
AE_STOCK_OBJECT(MouseIcon, IPictureDisp, DISPID_MOUSEICON)
AE_STOCK_OBJECT(Picture, IPictureDisp, DISPID_PICTURE)
#undef AE_STOCK_OBJECT

HRESULT AudioEditCtl::put_Text(BSTR value) { return PutStockText(DISPID_TEXT, value); }
HRESULT AudioEditCtl::get_Text(BSTR* value) { return GetStockText(DISPID_TEXT, value); }
HRESULT AudioEditCtl::put_Caption(BSTR value) { return PutStockText(DISPID_CAPTION, value); }
HRESULT AudioEditCtl::get_Caption(BSTR* value) { return GetStockText(DISPID_CAPTION, value); }

// There are no window handles here: 1 stands for "has a window", 0 for none.
HRESULT AudioEditCtl::get_HWND(LONG* value) {
  if (!value) return com::E_POINTER;
  *value = Port() ? 1 : 0;
  return com::S_OK;
}

}  // namespace audioedit
