// The rules every ProfileStore keeps, checked against the fake natively and against the
// platform's private-profile service under Wine. A Maker provides:
//   static std::unique_ptr<ProfileStore> make();        a store over an empty file
//   static void set_read_only(ProfileStore&, bool);     make further writes fail
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/error.h"
#include "platform/ports.h"
#include "store/macro_store.h"

template <typename Maker>
class ProfileStoreContract : public ::testing::Test {
 protected:
  void SetUp() override { store_ = Maker::make(); }
  void TearDown() override {
    if (store_) Maker::set_read_only(*store_, false);
  }
  kv::ProfileStore& p() { return *store_; }
  std::unique_ptr<kv::ProfileStore> store_;
};

TYPED_TEST_SUITE_P(ProfileStoreContract);

TYPED_TEST_P(ProfileStoreContract, MissingFileSectionOrKeyGivesTheDefault) {
  EXPECT_EQ(this->p().read_string("Main", "Entries", "dflt"), "dflt");
  ASSERT_TRUE(this->p().write_string("Macro1", "Name", "Alpha"));
  EXPECT_EQ(this->p().read_string("Macro1", "Trigger", "none"), "none");
  EXPECT_EQ(this->p().read_string("Macro2", "Name", "Macro2"), "Macro2");
}

TYPED_TEST_P(ProfileStoreContract, NamesMatchWithoutRegardToCaseAndEmptyValuesStayEmpty) {
  ASSERT_TRUE(this->p().write_string("Macro1", "FileName", "Report.key"));
  EXPECT_EQ(this->p().read_string("MACRO1", "Filename", ""), "Report.key");
  ASSERT_TRUE(this->p().write_string("macro1", "FILENAME", "Other.key"));
  EXPECT_EQ(this->p().read_string("Macro1", "FileName", ""), "Other.key");
  ASSERT_TRUE(this->p().write_string("Macro1", "FoundHandle", ""));
  // A key present with an empty value is not a missing key.
  EXPECT_EQ(this->p().read_string("Macro1", "FoundHandle", "dflt"), "");
}

TYPED_TEST_P(ProfileStoreContract, ReadsAreCutTo1023Characters) {
  const std::string longer(1500, 'x');
  ASSERT_TRUE(this->p().write_string("Macro1", "Trigger", longer));
  EXPECT_EQ(this->p().read_string("Macro1", "Trigger", ""), std::string(1023, 'x'));
  const std::string exact(1023, 'y');
  ASSERT_TRUE(this->p().write_string("Macro1", "Trigger", exact));
  EXPECT_EQ(this->p().read_string("Macro1", "Trigger", ""), exact);
}

TYPED_TEST_P(ProfileStoreContract, ValuesComeBackTrimmedOfBlanksAndOneQuotePair) {
  ASSERT_TRUE(this->p().write_string("Macro1", "Trigger", "  Untitled - Notepad  "));
  EXPECT_EQ(this->p().read_string("Macro1", "Trigger", ""), "Untitled - Notepad");
  ASSERT_TRUE(this->p().write_string("Macro1", "FileName", "\"C:\\Program Files\\x.exe\""));
  EXPECT_EQ(this->p().read_string("Macro1", "FileName", ""), "C:\\Program Files\\x.exe");
  ASSERT_TRUE(this->p().write_string("Macro1", "Name", "say \"hi\" now"));
  EXPECT_EQ(this->p().read_string("Macro1", "Name", ""), "say \"hi\" now");
}

TYPED_TEST_P(ProfileStoreContract, EraseSectionRemovesEveryKeyAndLeavesOthers) {
  ASSERT_TRUE(this->p().write_string("Macro1", "Name", "A"));
  ASSERT_TRUE(this->p().write_string("Macro2", "Name", "B"));
  ASSERT_TRUE(this->p().write_string("Macro2", "Type", "4"));
  ASSERT_TRUE(this->p().erase_section("MACRO2"));
  EXPECT_EQ(this->p().read_string("Macro2", "Name", "gone"), "gone");
  EXPECT_EQ(this->p().read_string("Macro2", "Type", "gone"), "gone");
  EXPECT_EQ(this->p().read_string("Macro1", "Name", ""), "A");
  // Erasing a section that does not exist is no error.
  EXPECT_TRUE(this->p().erase_section("Macro9"));
}

TYPED_TEST_P(ProfileStoreContract, RefusedWriteIsReportedAndKeepsWhatWasWritten) {
  kv::MacroStore store(this->p());
  store.write_integer("Main", "Entries", 2);
  store.write_string("Macro1", "Name", "Kept");
  TypeParam::set_read_only(this->p(), true);
  try {
    store.write_string("Macro1", "Name", "Lost");
    FAIL() << "the refused write was not reported";
  } catch (const kv::Error& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + this->p().file_name());
  }
  EXPECT_THROW(store.erase_section("Macro1"), kv::Error);
  EXPECT_EQ(store.read_string("Macro1", "Name"), "Kept");
  EXPECT_EQ(store.entries(), 2);
}

REGISTER_TYPED_TEST_SUITE_P(ProfileStoreContract, MissingFileSectionOrKeyGivesTheDefault,
                            NamesMatchWithoutRegardToCaseAndEmptyValuesStayEmpty, ReadsAreCutTo1023Characters,
                            ValuesComeBackTrimmedOfBlanksAndOneQuotePair, EraseSectionRemovesEveryKeyAndLeavesOthers,
                            RefusedWriteIsReportedAndKeepsWhatWasWritten);
