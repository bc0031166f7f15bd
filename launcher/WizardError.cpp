#include "launcher/WizardError.h"

#include "platform/com/Bstr.h"
#include "platform/com/ErrorInfo.h"

namespace launcher {

std::string WizardErrorDescription(com::IUnknown& object, com::REFIID iid) {
  com::ComPtr<com::ISupportErrorInfo> support;
  if (com::FAILED(object.QueryInterface(com::IID_ISupportErrorInfo, support.PutVoid())) ||
      !support || support->InterfaceSupportsErrorInfo(iid) != com::S_OK)
    return {};
  com::ComPtr<com::IErrorInfo> info;
  if (com::GetErrorInfo(0, info.Put()) != com::S_OK || !info) return {};
  com::Bstr description;
  if (com::FAILED(info->GetDescription(description.Put()))) return {};
  std::string text = description.ToUtf8();
  for (char& c : text)  // the message stays on one line
    if (c == '\n' || c == '\r') c = ' ';
  return text;
}

}  // namespace launcher
