// The metadata editor of the Windows Media runtime, as callers see it: the editor
// (IWMMetadataEditor) opens one file, its header information (IWMHeaderInfo) reads and sets
// the file's attributes by name, and Flush writes the changes into the file. The runtime is
// a separate library, libwmvcore.so, loaded at run time; it exports only WMCreateEditor.
#pragma once

#include "platform/com/Unknown.h"

namespace wm {

using com::BYTE;
using com::HRESULT;
using com::WORD;
using WCHAR = char16_t;
using LPCWSTR = const WCHAR*;

// Attribute value types. Values: DWORD, BOOL (32-bit flag), QWORD, WORD little-endian;
// STRING UTF-16LE with its terminating zero; GUID 16 bytes as stored; BINARY raw bytes.
enum WMT_ATTR_DATATYPE : com::INT {
  WMT_TYPE_DWORD = 0,
  WMT_TYPE_STRING = 1,
  WMT_TYPE_BINARY = 2,
  WMT_TYPE_BOOL = 3,
  WMT_TYPE_QWORD = 4,
  WMT_TYPE_WORD = 5,
  WMT_TYPE_GUID = 6,
};

inline constexpr com::IID IID_IWMMetadataEditor =
    com::MakeGuid("{96406BD9-2B2B-11D3-B36B-00C04F6108FF}");
inline constexpr com::IID IID_IWMHeaderInfo =
    com::MakeGuid("{96406BDA-2B2B-11D3-B36B-00C04F6108FF}");

// The file has no attribute of that name (the length is then 0).
inline constexpr HRESULT ASF_E_NOTFOUND = com::MakeHresult(0xC00D07F0);
// The caller's buffer is shorter than the value; the length says how long it must be.
inline constexpr HRESULT NS_E_SDK_BUFFERTOOSMALL = com::MakeHresult(0xC00D0BD3);

// Names the runtime answers from the file's properties rather than its attributes.
inline constexpr char16_t kDurationAttribute[] = u"Duration";  // QWORD, 100-nanosecond units
inline constexpr char16_t kBitrateAttribute[] = u"Bitrate";    // DWORD, bits per second

class IWMMetadataEditor : public com::IUnknown {
 public:
  // Opens the file (a UTF-8 path as UTF-16) and reads its attributes.
  virtual HRESULT Open(LPCWSTR path) = 0;
  // Forgets the file; changes not flushed are dropped.
  virtual HRESULT Close() = 0;
  // Writes the changed attributes into the file and closes it.
  virtual HRESULT Flush() = 0;

 protected:
  ~IWMMetadataEditor() = default;
};

class IWMHeaderInfo : public com::IUnknown {
 public:
  // With a null `value`, tells the type and the byte length of the attribute. Only stream 0
  // (the file-level attributes) exists.
  virtual HRESULT GetAttributeByName(WORD* streamNumber, LPCWSTR name, WMT_ATTR_DATATYPE* type,
                                     BYTE* value, WORD* length) = 0;
  virtual HRESULT SetAttribute(WORD streamNumber, LPCWSTR name, WMT_ATTR_DATATYPE type,
                               const BYTE* value, WORD length) = 0;

 protected:
  ~IWMHeaderInfo() = default;
};

// The runtime's one export: a new editor holding one reference.
using WMCreateEditorFn = HRESULT (*)(IWMMetadataEditor** editor);
inline constexpr char kCreateEditorExport[] = "WMCreateEditor";
inline constexpr char kRuntimeLibrary[] = "libwmvcore.so";

}  // namespace wm
