// The private-profile adapter held to the same contract as the fake, in the Windows folder.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/adapters.h"
#include "tests/contracts/profile_store_contract.h"

namespace {

constexpr char kFile[] = "kvcontract.ini";

std::string windows_path() {
  char dir[MAX_PATH] = {};
  GetWindowsDirectoryA(dir, MAX_PATH);
  return std::string(dir) + "\\" + kFile;
}

struct Win32StoreMaker {
  static std::unique_ptr<kv::ProfileStore> make() {
    const std::string path = windows_path();
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
    return std::make_unique<kv::win::Win32ProfileStore>(kFile);
  }
  static void set_read_only(kv::ProfileStore&, bool on) {
    SetFileAttributesA(windows_path().c_str(), on ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
    if (!on) return;
    // Wine run by root writes through read-only files; the contract cannot be checked then.
    HANDLE h = CreateFileA(windows_path().c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_EQ(h, INVALID_HANDLE_VALUE) << "read-only files are writable here (tests must not run Wine as root)";
  }
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, ProfileStoreContract, Win32StoreMaker);

TEST(Win32ProfileStore, BareNameLandsInTheWindowsFolder) {
  Win32StoreMaker::make();
  kv::win::Win32ProfileStore store(kFile);
  ASSERT_TRUE(store.write_string("Main", "Entries", "1"));
  EXPECT_NE(GetFileAttributesA(windows_path().c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(store.file_name(), "kvcontract.ini");
}
