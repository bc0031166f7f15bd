// The dispatch member tables of the library's three interfaces.
#pragma once

#include "info/InfoInterfaces.h"
#include "platform/com/DispatchTable.h"

namespace info {

inline constexpr com::DispatchMember<ITrackFactory> kTrackFactoryMembers[] = {
    com::DispatchMembers<ITrackFactory>::MethodWithResult<&ITrackFactory::CreateInstance>(
        dispid::kCreateInstance, u"CreateInstance"),
    com::DispatchMembers<ITrackFactory>::MethodWithResult<&ITrackFactory::CreateInstanceFromUrl>(
        dispid::kCreateInstanceFromUrl, u"CreateInstanceFromUrl"),
};

inline constexpr com::DispatchMember<ITrack> kTrackMembers[] = {
    com::DispatchMembers<ITrack>::PropGet<&ITrack::get_Attribute>(dispid::kAttribute, u"Attribute"),
    com::DispatchMembers<ITrack>::PropPut<&ITrack::put_Attribute>(dispid::kAttribute, u"Attribute"),
    com::DispatchMembers<ITrack>::PropGet<&ITrack::get_AttributeSupported>(dispid::kAttributeSupported,
                                                                           u"AttributeSupported"),
    com::DispatchMembers<ITrack>::PropGet<&ITrack::get_Empty>(dispid::kEmpty, u"Empty"),
    com::DispatchMembers<ITrack>::MethodWithResult<&ITrack::Load>(dispid::kLoad, u"Load"),
    com::DispatchMembers<ITrack>::MethodWithResult<&ITrack::Save>(dispid::kSave, u"Save"),
    com::DispatchMembers<ITrack>::MethodWithResult<&ITrack::InvokeEditDlg>(dispid::kInvokeEditDlg,
                                                                           u"InvokeEditDlg"),
};

inline constexpr com::DispatchMember<IPictures> kPicturesMembers[] = {
    com::DispatchMembers<IPictures>::PropGet<&IPictures::get_ItemData>(dispid::kItemData, u"ItemData"),
    com::DispatchMembers<IPictures>::PropGet<&IPictures::get_Count>(dispid::kCount, u"Count"),
    com::DispatchMembers<IPictures>::Method<&IPictures::Add>(dispid::kAdd, u"Add"),
};

using TrackFactoryDispatch = com::DispatchImpl<ITrackFactory, kTrackFactoryMembers>;
using TrackDispatch = com::DispatchImpl<ITrack, kTrackMembers>;
using PicturesDispatch = com::DispatchImpl<IPictures, kPicturesMembers>;

}  // namespace info
