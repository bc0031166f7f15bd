#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "launcher/CommandLine.h"
#include "launcher/WizardInterface.h"

namespace launcher {
namespace {

using Method = WizardRequest::Method;

TEST(CommandLine, JoinsArgumentsWithSingleSpaces) {
  const char* none[] = {"corvana"};
  EXPECT_EQ(JoinArguments(1, none), "");
  const char* args[] = {"corvana", "-o", "C:\\data\\file"};
  EXPECT_EQ(JoinArguments(3, args), "-o C:\\data\\file");
  const char* spaced[] = {"corvana", "-L  x", "\"a b\" "};
  EXPECT_EQ(JoinArguments(3, spaced), "-L  x \"a b\" ");
}

TEST(CommandLine, OptionsChooseMethodModeAndPath) {
  const struct {
    const char* line;
    Method method;
    com::LONG mode;
    const char* path;
  } cases[] = {
      {"", Method::kStart, 0, ""},
      {"   ", Method::kStart, 0, ""},
      {"-o C:\\data\\file", Method::kOpen, 1, "C:\\data\\file"},
      {"-L  x", Method::kOpen, 0, "x"},
      {"-O", Method::kOpen, 1, ""},
      {"-lC:\\x", Method::kOpen, 0, "C:\\x"},
      {"   -l   \"C:\\My Files\\a.wav\"  ", Method::kOpen, 0, "\"C:\\My Files\\a.wav\"  "},
      {"-o\t x", Method::kOpen, 1, "\t x"},  // only character 32 counts as a space
      {"-x", Method::kStart, 0, ""},
      {"/o file", Method::kStart, 0, ""},
      {"\t-o file", Method::kStart, 0, ""},
      {"-", Method::kStart, 0, ""},
      {"o", Method::kStart, 0, ""},
  };
  for (const auto& c : cases) {
    const WizardRequest r = ParseCommandLine(c.line);
    EXPECT_EQ(r.method, c.method) << c.line;
    EXPECT_EQ(r.mode, c.mode) << c.line;
    EXPECT_EQ(r.path, c.path) << c.line;
  }
}

// In the Itanium C++ ABI, a pointer to a virtual member function holds 1 + the byte offset
// of its slot in the method table.
template <class F>
std::size_t Slot(F member) {
  std::uintptr_t raw[2];
  static_assert(sizeof(member) == sizeof(raw));
  std::memcpy(raw, &member, sizeof raw);
  return (raw[0] - 1) / sizeof(void*) + 1;  // counted from 1, QueryInterface first
}

TEST(WizardInterface, StartAndOpenAreTheEighthAndNinthSlots) {
  EXPECT_EQ(Slot(&wizard::IDiscWizard::QueryInterface), 1u);
  EXPECT_EQ(Slot(&wizard::IDiscWizard::Invoke), 7u);
  EXPECT_EQ(Slot(&wizard::IDiscWizard::Start), 8u);
  EXPECT_EQ(Slot(&wizard::IDiscWizard::Open), 9u);
}

}  // namespace
}  // namespace launcher
