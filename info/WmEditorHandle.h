// One use of the Windows Media runtime (a Load or a Save): loads the runtime library, makes
// its metadata editor, opens the file, reads attributes as text and writes texts back. The
// destructor closes and releases the editor and unloads the library.
#pragma once

#include <string>
#include <string_view>

#include "platform/com/ComPtr.h"
#include "platform/wmvcore/WmMetadataEditor.h"

namespace info {

class WmEditorHandle {
 public:
  // `runtimeLibrary`: the runtime's path; empty looks for libwmvcore.so beside the library
  // holding this code, then on the library path.
  explicit WmEditorHandle(std::string runtimeLibrary = {})
      : runtimeLibrary_(std::move(runtimeLibrary)) {}
  ~WmEditorHandle();
  WmEditorHandle(const WmEditorHandle&) = delete;
  WmEditorHandle& operator=(const WmEditorHandle&) = delete;

  // E_FAIL when the runtime cannot be loaded; else the editor's status.
  com::HRESULT OpenEditor(std::u16string_view path);
  // The attribute's value as text (see FormatAttribute); "" and S_OK when the file has no
  // such attribute. On failure `text` is unchanged.
  com::HRESULT GetAttributeText(std::u16string_view name, std::u16string& text);
  // Sets the attribute to `text` as a string.
  com::HRESULT SetAttributeText(std::u16string_view name, std::u16string_view text);
  com::HRESULT Flush();
  void Close();

 private:
  bool LoadRuntime();

  std::string runtimeLibrary_;
  std::u16string path_;
  com::ComPtr<wm::IWMMetadataEditor> editor_;
  wm::WMCreateEditorFn createEditor_ = nullptr;
  void* module_ = nullptr;
};

// The text of a value as the runtime gives it: DWORD "%u", STRING as it is, BINARY empty,
// BOOL "Yes"/"No", QWORD and WORD in decimal, GUID its two little-endian 64-bit halves in
// hexadecimal without leading zeros, any other type "Type = N, Length L".
std::u16string FormatAttribute(wm::WMT_ATTR_DATATYPE type, const std::uint8_t* value,
                               std::size_t length);

}  // namespace info
