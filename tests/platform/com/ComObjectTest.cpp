#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/com/ComObject.h"

namespace com {
namespace {

inline constexpr IID IID_IShape = MakeGuid("{6A1D0C11-0001-4C5E-9D7B-3F1E2A000001}");
inline constexpr IID IID_IColored = MakeGuid("{6A1D0C11-0002-4C5E-9D7B-3F1E2A000001}");
inline constexpr IID IID_IAbsent = MakeGuid("{6A1D0C11-0003-4C5E-9D7B-3F1E2A000001}");

class IShape : public IUnknown {
 public:
  virtual int Corners() = 0;

 protected:
  ~IShape() = default;
};

class IColored : public IUnknown {
 public:
  virtual int Color() = 0;

 protected:
  ~IColored() = default;
};

class CountingModule final : public ModuleLock {
 public:
  void Lock() noexcept override { ++count; }
  void Unlock() noexcept override { --count; }
  std::atomic<int> count{0};
};

class Square final : public ComObject<Square, IShape, IColored> {
 public:
  Square(ModuleLock* module, bool* destroyed) : ComObject(module), destroyed_(destroyed) {}
  ~Square() { *destroyed_ = true; }

  auto Interfaces() {
    return std::array{Expose<IShape>(this, IID_IUnknown), Expose<IShape>(this, IID_IShape),
                      Expose<IColored>(this, IID_IColored)};
  }
  int Corners() override { return 4; }
  int Color() override { return 7; }

 private:
  bool* destroyed_;
};

TEST(ComObject, QueryInterfaceFollowsTheListAndKeepsIdentity) {
  bool destroyed = false;
  ComPtr<Square> sq = MakeObject<Square>(nullptr, &destroyed);
  ComPtr<IColored> colored = sq.As<IColored>(IID_IColored);
  ASSERT_TRUE(colored);
  EXPECT_EQ(colored->Color(), 7);
  ComPtr<IShape> shape = colored.As<IShape>(IID_IShape);
  ASSERT_TRUE(shape);
  EXPECT_EQ(shape->Corners(), 4);
  ComPtr<IUnknown> u1 = shape.As<IUnknown>(IID_IUnknown);
  ComPtr<IUnknown> u2 = colored.As<IUnknown>(IID_IUnknown);
  EXPECT_EQ(u1, u2);

  void* p = reinterpret_cast<void*>(1);
  EXPECT_EQ(sq->QueryInterface(IID_IAbsent, &p), E_NOINTERFACE);
  EXPECT_EQ(p, nullptr);
  EXPECT_EQ(sq->QueryInterface(IID_IShape, nullptr), E_POINTER);
  EXPECT_FALSE(destroyed);
  sq.Reset(), colored.Reset(), shape.Reset(), u1.Reset();
  EXPECT_FALSE(destroyed);
  u2.Reset();
  EXPECT_TRUE(destroyed);
}

TEST(ComObject, ModuleLockCoversTheObjectsLife) {
  CountingModule module;
  bool destroyed = false;
  {
    ComPtr<Square> sq = MakeObject<Square>(&module, &destroyed);
    EXPECT_EQ(module.count, 1);
    ComPtr<Square> other = MakeObject<Square>(&module, &destroyed);
    EXPECT_EQ(module.count, 2);
  }
  EXPECT_EQ(module.count, 0);
}

TEST(ComObject, ReferenceCountIsThreadSafe) {
  bool destroyed = false;
  ComPtr<Square> sq = MakeObject<Square>(nullptr, &destroyed);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([raw = sq.Get()] {
      for (int i = 0; i < 10000; ++i) {
        ComPtr<IShape> s(raw);
        ComPtr<IShape> copy = s;
      }
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(sq->AddRef(), 2u);
  EXPECT_EQ(sq->Release(), 1u);
  sq.Reset();
  EXPECT_TRUE(destroyed);
}

TEST(ComPtr, OwnershipOperations) {
  bool destroyed = false;
  Square* raw = nullptr;
  {
    ComPtr<Square> a = MakeObject<Square>(nullptr, &destroyed);
    raw = a.Get();
    ComPtr<IShape> up = a;  // converting copy
    ComPtr<Square> moved = std::move(a);
    EXPECT_FALSE(a);
    EXPECT_EQ(moved.Get(), raw);

    Square* detached = moved.Detach();
    EXPECT_FALSE(moved);
    moved.Attach(detached);  // adopts the detached reference again
    ASSERT_NE(detached, nullptr);
    detached->AddRef();
    moved.Attach(detached);  // attaching the held pointer keeps exactly one reference
    EXPECT_EQ(raw->AddRef(), 3u);  // up, moved and this one
    raw->Release();

    IShape* out = nullptr;
    EXPECT_EQ(up.CopyTo(&out), S_OK);
    ComPtr<IShape> adopted = ComPtr<IShape>::Adopt(out);
    EXPECT_EQ(adopted, up);
    ComPtr<IColored> viaPut;
    EXPECT_EQ(raw->QueryInterface(IID_IColored, viaPut.PutVoid()), S_OK);
    EXPECT_EQ(viaPut->Color(), 7);
    ComPtr<IColored> failed;
    EXPECT_EQ(up.As(IID_IAbsent, failed), E_NOINTERFACE);
    EXPECT_FALSE(failed);
    EXPECT_FALSE(ComPtr<IShape>().As<IColored>(IID_IColored));
  }
  EXPECT_TRUE(destroyed);
}

}  // namespace
}  // namespace com
