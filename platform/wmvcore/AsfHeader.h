// The attributes of an ASF file (.wma, .wmv), read and written with TagLib. The five fields
// of the content description ("Title", "Author", "Copyright", "Description", "Rating") are
// strings; "Duration" and "Bitrate" come from the file's properties and cannot be set.
#pragma once

#include <map>
#include <string>

#include "platform/wmvcore/AttributeValue.h"

namespace wm {

using AttributeTable = std::map<std::u16string, AttributeValue>;

// The file-level attributes of the file at `path` (stream 0; of several values under one
// name, the first). S_OK, or a failure status when the file is not a readable ASF file.
HRESULT ReadAsfHeader(const std::string& path, AttributeTable& attributes);

// Whether `name` may be set with a value of `type`: the content description takes strings only,
// the figures from the properties none; GUIDs cannot be made (TagLib keeps those it reads but
// has no way to create one).
HRESULT CheckWritable(std::u16string_view name, WMT_ATTR_DATATYPE type);

// Sets `changes` in the ASF file at `path` in place and saves it.
HRESULT WriteAsfHeader(const std::string& path, const AttributeTable& changes);

}  // namespace wm
