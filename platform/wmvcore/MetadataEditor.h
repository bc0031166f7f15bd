// The runtime's metadata editor: Open reads every attribute of the file into memory,
// GetAttributeByName answers from there, SetAttribute records changes, and Flush writes them
// into a copy of the file that replaces the original only when the copy reads back right.
#pragma once

#include <optional>
#include <string>

#include "platform/com/ComObject.h"
#include "platform/wmvcore/AsfHeader.h"
#include "platform/wmvcore/FileUpdate.h"

namespace wm {

class MetadataEditor final
    : public com::ComObject<MetadataEditor, IWMMetadataEditor, IWMHeaderInfo> {
 public:
  MetadataEditor() = default;
  auto Interfaces() {
    return std::array{com::Expose<IWMMetadataEditor>(this, com::IID_IUnknown),
                      com::Expose<IWMMetadataEditor>(this, IID_IWMMetadataEditor),
                      com::Expose<IWMHeaderInfo>(this, IID_IWMHeaderInfo)};
  }

  HRESULT Open(LPCWSTR path) override;
  HRESULT Close() override;
  HRESULT Flush() override;

  HRESULT GetAttributeByName(WORD* streamNumber, LPCWSTR name, WMT_ATTR_DATATYPE* type, BYTE* value,
                             WORD* length) override;
  HRESULT SetAttribute(WORD streamNumber, LPCWSTR name, WMT_ATTR_DATATYPE type, const BYTE* value,
                       WORD length) override;

 private:
  friend class com::ComObject<MetadataEditor, IWMMetadataEditor, IWMHeaderInfo>;
  ~MetadataEditor() = default;
  // Writes the changes into a copy of the file and checks the copy before it replaces the file.
  HRESULT WriteChanges();

  std::string path_;
  std::optional<FileIdentity> opened_;
  AttributeTable attributes_;
  AttributeTable changes_;
};

}  // namespace wm
