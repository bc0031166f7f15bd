// The dispatch helper: an interface's members are declared once, in a constant table, and
// IDispatch (names and late-bound calls) is served from it.
//
//   using M = com::DispatchMembers<IPlayer>;
//   inline constexpr com::DispatchMember<IPlayer> kPlayerMembers[] = {
//       M::Method<&IPlayer::Play>(1, u"Play"),
//       M::MethodWithResult<&IPlayer::Seek>(2, u"Seek"),     // last parameter is the result
//       M::PropGet<&IPlayer::get_Title>(3, u"Title"),
//       M::PropPut<&IPlayer::put_Title>(3, u"Title"),
//       M::PropGet<&IPlayer::get_Enabled>(4, u"Enabled").ResultAs(VT_BOOL),
//   };
//   class Player final : public com::ComObject<Player, com::DispatchImpl<IPlayer, kPlayerMembers>>
//
// Argument and result types come from the C++ signature of each member: scalars, enums
// (VT_I4), BSTR, IDispatch*, IUnknown*, VARIANT, SAFEARRAY*, pointers to scalars, BSTR and
// VARIANT (in/out, VT_BYREF), and pointers to records that have RecordTraits (VT_RECORD).
// Calls go through the interface's virtual functions.
#pragma once

#include <array>
#include <new>
#include <span>
#include <string_view>
#include <tuple>

#include "platform/com/DispatchConversion.h"

namespace com {

enum class MemberKind : WORD {
  Method = DISPATCH_METHOD,
  PropGet = DISPATCH_PROPERTYGET,
  PropPut = DISPATCH_PROPERTYPUT,
  PropPutRef = DISPATCH_PROPERTYPUTREF,
};

inline constexpr UINT kMaxDispatchParams = 8;

// What a member is, independent of the interface it belongs to.
struct DispatchMemberInfo {
  DISPID id = DISPID_UNKNOWN;
  std::u16string_view name;
  MemberKind kind = MemberKind::Method;
  VARTYPE result = VT_EMPTY;  // VT_EMPTY: the member gives nothing back
  std::array<VARTYPE, kMaxDispatchParams> params{};
  UINT paramCount = 0;
};

template <class I>
struct DispatchMember : DispatchMemberInfo {
  // Converts the arguments (count already checked), calls the member, stores its result
  // and reports a failure of the member as the caller expects (see dispatch::Finish).
  using Invoker = HRESULT (*)(I& self, const DispatchMemberInfo& m, DISPPARAMS& params,
                              VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr);
  Invoker invoke = nullptr;

  // Declares the result as another scalar type of the same size (VT_BOOL for a 16-bit
  // result, VT_INT for a 32-bit one, ...).
  constexpr DispatchMember ResultAs(VARTYPE vt) const {
    DispatchMember m = *this;
    m.result = vt;
    return m;
  }
};

namespace dispatch {

// Table-independent steps of GetIDsOfNames and Invoke (DispatchTable.cpp).
bool NameMatches(std::u16string_view member, const OLECHAR* name);
// Which member answers a call with `flags`, among the candidates' kinds; -1 for none.
int ChooseMember(WORD flags, std::span<const MemberKind> kinds);
// Named-argument and count checks.
HRESULT CheckArguments(const DispatchMemberInfo& m, const DISPPARAMS& params);
// The status a caller sees when the member itself returned `hr`: a failure becomes
// DISP_E_EXCEPTION with `excepInfo` filled from the thread's error information when the
// caller gave an EXCEPINFO; otherwise `hr` passes unchanged.
HRESULT Finish(HRESULT hr, EXCEPINFO* excepInfo);

template <class F>
struct Signature;
template <class C, class... A>
struct Signature<HRESULT (C::*)(A...)> {
  using Args = std::tuple<A...>;
  static constexpr std::size_t kCount = sizeof...(A);
};

template <auto Fn>
using ArgsOf = typename Signature<decltype(Fn)>::Args;

template <auto Fn, bool WithResult>
constexpr std::size_t kInputs = Signature<decltype(Fn)>::kCount - (WithResult ? 1 : 0);

template <auto Fn, bool WithResult>
using ResultOf = Result<std::remove_pointer_t<
    std::tuple_element_t<Signature<decltype(Fn)>::kCount - 1, ArgsOf<Fn>>>>;

template <class I, auto Fn, bool WithResult, std::size_t... K>
HRESULT Call(I& self, const DispatchMemberInfo& m, DISPPARAMS& params, VARIANT* result,
             EXCEPINFO* excepInfo, UINT* argErr, std::index_sequence<K...>) {
  std::tuple<Arg<std::tuple_element_t<K, ArgsOf<Fn>>>...> args;
  HRESULT hr = S_OK;
  [[maybe_unused]] const UINT n = params.cArgs;
  [[maybe_unused]] auto load = [&](auto& arg, UINT k) {
    if (FAILED(hr)) return;
    hr = arg.Load(params.rgvarg[n - 1 - k]);  // arguments arrive last first
    if (FAILED(hr) && argErr) *argErr = n - 1 - k;
  };
  (load(std::get<K>(args), static_cast<UINT>(K)), ...);
  if (FAILED(hr)) return hr;
  if constexpr (WithResult) {
    ResultOf<Fn, WithResult> out;
    hr = (self.*Fn)(std::get<K>(args).Get()..., out.Ptr());
    if (SUCCEEDED(hr) && result) out.Store(result, m.result);
  } else {
    hr = (self.*Fn)(std::get<K>(args).Get()...);
  }
  return Finish(hr, excepInfo);
}

template <class I, auto Fn, bool WithResult>
HRESULT Invoke(I& self, const DispatchMemberInfo& m, DISPPARAMS& params, VARIANT* result,
               EXCEPINFO* excepInfo, UINT* argErr) {
  return Call<I, Fn, WithResult>(self, m, params, result, excepInfo, argErr,
                                 std::make_index_sequence<kInputs<Fn, WithResult>>{});
}

template <class I, auto Fn, bool WithResult>
constexpr DispatchMember<I> Make(DISPID id, std::u16string_view name, MemberKind kind) {
  constexpr std::size_t inputs = kInputs<Fn, WithResult>;
  static_assert(inputs <= kMaxDispatchParams, "too many parameters for a dispatch member");
  DispatchMember<I> m;
  m.id = id;
  m.name = name;
  m.kind = kind;
  m.paramCount = static_cast<UINT>(inputs);
  [&]<std::size_t... K>(std::index_sequence<K...>) {
    ((m.params[K] = Arg<std::tuple_element_t<K, ArgsOf<Fn>>>::kType), ...);
  }(std::make_index_sequence<inputs>{});
  if constexpr (WithResult) m.result = ResultOf<Fn, WithResult>::kType;
  m.invoke = &Invoke<I, Fn, WithResult>;
  return m;
}

}  // namespace dispatch

// Entry makers for the members of interface I (members of its bases may be named too).
template <class I>
struct DispatchMembers {
  // All parameters are arguments.
  template <auto Fn>
  static constexpr DispatchMember<I> Method(DISPID id, std::u16string_view name) {
    return dispatch::Make<I, Fn, false>(id, name, MemberKind::Method);
  }
  // The last parameter is the result.
  template <auto Fn>
  static constexpr DispatchMember<I> MethodWithResult(DISPID id, std::u16string_view name) {
    return dispatch::Make<I, Fn, true>(id, name, MemberKind::Method);
  }
  // The last parameter is the result; others (if any) are arguments.
  template <auto Fn>
  static constexpr DispatchMember<I> PropGet(DISPID id, std::u16string_view name) {
    return dispatch::Make<I, Fn, true>(id, name, MemberKind::PropGet);
  }
  // The last parameter is the new value.
  template <auto Fn>
  static constexpr DispatchMember<I> PropPut(DISPID id, std::u16string_view name) {
    return dispatch::Make<I, Fn, false>(id, name, MemberKind::PropPut);
  }
  template <auto Fn>
  static constexpr DispatchMember<I> PropPutRef(DISPID id, std::u16string_view name) {
    return dispatch::Make<I, Fn, false>(id, name, MemberKind::PropPutRef);
  }
};

// Answers IDispatch calls from a member table.
template <class I>
class DispatchTable {
 public:
  constexpr explicit DispatchTable(std::span<const DispatchMember<I>> members)
      : members_(members) {}

  std::span<const DispatchMember<I>> Members() const { return members_; }

  HRESULT GetIDsOfNames(LPOLESTR* names, UINT count, DISPID* ids) const {
    if (!names || !ids) return E_INVALIDARG;
    if (count == 0) return S_OK;
    HRESULT hr = S_OK;
    ids[0] = DISPID_UNKNOWN;
    for (const auto& m : members_) {
      if (names[0] && dispatch::NameMatches(m.name, names[0])) {
        ids[0] = m.id;
        break;
      }
    }
    if (ids[0] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    for (UINT k = 1; k < count; ++k) {  // parameter names are not known
      ids[k] = DISPID_UNKNOWN;
      hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
  }

  HRESULT Invoke(I& self, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* excepInfo, UINT* argErr) const {
    const DispatchMember<I>* m = Find(id, flags);
    if (!m) return DISP_E_MEMBERNOTFOUND;
    DISPPARAMS none;
    DISPPARAMS& p = params ? *params : none;
    if (HRESULT hr = dispatch::CheckArguments(*m, p); FAILED(hr)) return hr;
    if (result) VariantInit(result);
    try {
      return m->invoke(self, *m, p, result, excepInfo, argErr);
    } catch (const std::bad_alloc&) {  // exceptions never leave through IDispatch
      return dispatch::Finish(E_OUTOFMEMORY, excepInfo);
    } catch (...) {
      return dispatch::Finish(E_UNEXPECTED, excepInfo);
    }
  }

  const DispatchMember<I>* Find(DISPID id, WORD flags) const {
    std::array<MemberKind, 4> kinds{};
    std::array<const DispatchMember<I>*, 4> found{};
    std::size_t n = 0;
    for (const auto& m : members_)
      if (m.id == id && n < kinds.size()) kinds[n] = m.kind, found[n++] = &m;
    const int pick = dispatch::ChooseMember(flags, std::span(kinds.data(), n));
    return pick < 0 ? nullptr : found[pick];
  }

 private:
  std::span<const DispatchMember<I>> members_;
};

// Implements IDispatch for interface I (a dual interface deriving from IDispatch) from the
// member table `Members`.
template <class I, const auto& Members>
class DispatchImpl : public I {
 public:
  HRESULT GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;  // no type information on this platform
    return S_OK;
  }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }
  HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (riid != GUID_NULL) return DISP_E_UNKNOWNINTERFACE;
    return Table().GetIDsOfNames(names, count, ids);
  }
  HRESULT Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* excepInfo, UINT* argErr) override {
    if (riid != GUID_NULL) return DISP_E_UNKNOWNINTERFACE;
    return Table().Invoke(*this, id, flags, params, result, excepInfo, argErr);
  }

  static constexpr DispatchTable<I> Table() { return DispatchTable<I>(std::span(Members)); }

 protected:
  DispatchImpl() = default;
  ~DispatchImpl() = default;
};

}  // namespace com
