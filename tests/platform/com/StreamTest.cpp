#include <gtest/gtest.h>

#include <array>

#include "platform/com/Persist.h"
#include "platform/com/Stream.h"

namespace com {
namespace {

ULONGLONG Seek(IStream* s, LONGLONG move, DWORD origin, HRESULT expected = S_OK) {
  ULARGE_INTEGER pos;
  pos.QuadPart = 0xDEAD;
  EXPECT_EQ(s->Seek(LARGE_INTEGER{move}, origin, &pos), expected);
  return pos.QuadPart;
}

std::string ReadAll(IStream* s, ULONG max = 64) {
  std::string out(max, '\0');
  ULONG got = 0;
  EXPECT_EQ(s->Read(out.data(), max, &got), S_OK);
  out.resize(got);
  return out;
}

TEST(MemoryStream, WritesReadsAndSeeks) {
  ComPtr<IStream> s = CreateStreamOnMemory();
  ULONG written = 0;
  ASSERT_EQ(s->Write("hello world", 11, &written), S_OK);
  EXPECT_EQ(written, 11u);
  EXPECT_EQ(Seek(s.Get(), 0, STREAM_SEEK_CUR), 11u);
  EXPECT_EQ(ReadAll(s.Get()), "");  // at the end
  EXPECT_EQ(Seek(s.Get(), -5, STREAM_SEEK_END), 6u);
  EXPECT_EQ(ReadAll(s.Get(), 3), "wor");
  EXPECT_EQ(Seek(s.Get(), 0, STREAM_SEEK_SET), 0u);
  EXPECT_EQ(ReadAll(s.Get()), "hello world");  // fewer bytes than asked for
  STATSTG stat;
  ASSERT_EQ(s->Stat(&stat, STATFLAG_NONAME), S_OK);
  EXPECT_EQ(stat.cbSize.QuadPart, 11u);
  EXPECT_EQ(stat.type, STGTY_STREAM);
}

TEST(MemoryStream, SeekRules) {
  ComPtr<IStream> s = CreateStreamOnMemory({1, 2, 3, 4});
  EXPECT_EQ(Seek(s.Get(), 2, STREAM_SEEK_SET), 2u);
  Seek(s.Get(), -3, STREAM_SEEK_CUR, STG_E_INVALIDFUNCTION);
  EXPECT_EQ(Seek(s.Get(), 0, STREAM_SEEK_CUR), 2u);  // a refused seek does not move
  Seek(s.Get(), 0, 7, STG_E_INVALIDFUNCTION);
  Seek(s.Get(), 0x7FFFFFFFFFFFFFFFLL, STREAM_SEEK_CUR, STG_E_INVALIDFUNCTION);
  EXPECT_EQ(Seek(s.Get(), 10, STREAM_SEEK_END), 14u);  // past the end is allowed
  EXPECT_EQ(ReadAll(s.Get()), "");
  ASSERT_EQ(s->Write("z", 1, nullptr), S_OK);  // the gap is filled with zeros
  Seek(s.Get(), 0, STREAM_SEEK_SET);
  const std::string all = ReadAll(s.Get());
  ASSERT_EQ(all.size(), 15u);
  EXPECT_EQ(all[4], '\0');
  EXPECT_EQ(all[14], 'z');
  EXPECT_EQ(s->Seek(LARGE_INTEGER{1}, STREAM_SEEK_SET, nullptr), S_OK);
}

TEST(MemoryStream, SizeCopyAndClone) {
  ComPtr<IStream> s = CreateStreamOnMemory({'a', 'b', 'c', 'd', 'e'});
  ASSERT_EQ(s->SetSize(ULARGE_INTEGER{3}), S_OK);
  EXPECT_EQ(ReadAll(s.Get()), "abc");
  ComPtr<IStream> clone;
  Seek(s.Get(), 1, STREAM_SEEK_SET);
  ASSERT_EQ(s->Clone(clone.Put()), S_OK);
  EXPECT_EQ(ReadAll(clone.Get()), "bc");  // the clone starts at the same position
  Seek(s.Get(), 0, STREAM_SEEK_SET);
  s->Write("X", 1, nullptr);
  Seek(clone.Get(), 0, STREAM_SEEK_SET);
  EXPECT_EQ(ReadAll(clone.Get()), "Xbc");  // and shares the memory

  ComPtr<IStream> target = CreateStreamOnMemory();
  ULARGE_INTEGER read, written;
  Seek(s.Get(), 1, STREAM_SEEK_SET);
  ASSERT_EQ(s->CopyTo(target.Get(), ULARGE_INTEGER{100}, &read, &written), S_OK);
  EXPECT_EQ(read.QuadPart, 2u);
  EXPECT_EQ(written.QuadPart, 2u);
  Seek(target.Get(), 0, STREAM_SEEK_SET);
  EXPECT_EQ(ReadAll(target.Get()), "bc");
  EXPECT_EQ(s->LockRegion(ULARGE_INTEGER{0}, ULARGE_INTEGER{1}, 0), STG_E_INVALIDFUNCTION);
  ComPtr<ISequentialStream> seq = s.As<ISequentialStream>(IID_ISequentialStream);
  EXPECT_TRUE(seq);
}

TEST(BlockStream, ReadsSomeoneElsesBlockAndNeverWritesPastIt) {
  std::array<char, 6> block = {'p', 'i', 'x', 'e', 'l', 's'};
  ComPtr<IStream> s = CreateStreamOnBlock(block.data(), block.size());
  ASSERT_TRUE(s);
  EXPECT_EQ(ReadAll(s.Get(), 4), "pixe");
  EXPECT_EQ(ReadAll(s.Get(), 4), "ls");
  EXPECT_EQ(ReadAll(s.Get(), 4), "");
  Seek(s.Get(), 4, STREAM_SEEK_SET);
  ULONG written = 99;
  EXPECT_EQ(s->Write("ABC", 3, &written), STG_E_MEDIUMFULL);
  EXPECT_EQ(written, 0u);
  EXPECT_EQ(block[4], 'l');  // nothing written
  EXPECT_EQ(s->Write("AB", 2, &written), S_OK);
  EXPECT_EQ(block[5], 'B');
  EXPECT_EQ(s->SetSize(ULARGE_INTEGER{7}), STG_E_MEDIUMFULL);
  Seek(s.Get(), 100, STREAM_SEEK_SET);
  EXPECT_EQ(s->Write("q", 1, nullptr), STG_E_MEDIUMFULL);
  ComPtr<IStream> clone;
  ASSERT_EQ(s->Clone(clone.Put()), S_OK);
  Seek(clone.Get(), 0, STREAM_SEEK_SET);
  EXPECT_EQ(ReadAll(clone.Get()), "pixeAB");
}

TEST(BlockStream, SharedBlockOutlivesItsOwner) {
  auto block = std::make_shared<std::vector<BYTE>>(std::vector<BYTE>{'j', 'p', 'g'});
  ComPtr<IStream> s = CreateStreamOnSharedBlock(block);
  block.reset();  // the owner lets go; the stream still reads valid memory
  EXPECT_EQ(ReadAll(s.Get()), "jpg");
  EXPECT_FALSE(CreateStreamOnSharedBlock(nullptr));
  EXPECT_FALSE(CreateStreamOnBlock(nullptr, 3));
  EXPECT_TRUE(CreateStreamOnBlock(nullptr, 0));
}

}  // namespace
}  // namespace com
