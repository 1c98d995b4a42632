#include "collectors/sonstiges.h"

#include <gtest/gtest.h>

#include "fakes/fake_registry.h"
#include "fakes/fake_view.h"

using namespace velkaro;
using namespace std::string_literals;
using ids::Text5;

TEST(Sonstiges, ReadsTheThreeVersionsInOrderEachAsRead) {
  fakes::FakeRegistry registry;
  fakes::FakeView view;
  registry.putString(RootKey::CurrentUser, "SOFTWARE\\Korvandt", "Velkaro", "3.0.06");
  registry.putString(RootKey::CurrentUser, "SOFTWARE\\Korvandt", "Lunavex", " 2.1 beta ");
  // A 32-bit installer records its version in the 32-bit view only.
  registry.putString(RootKey::LocalMachine, "SOFTWARE\\Fennrick2", "VersionNo", "2.0.3",
                     RegView::Wow32);
  Sonstiges::Fill(registry, view);
  EXPECT_EQ(view.log, (std::vector<std::string>{"text Text5(13)=3.0.06", "text Text5(12)=2.0.3",
                                                "text Text5(11)= 2.1 beta "}));
  std::vector<std::string> reads;
  for (const auto& q : registry.queries)
    reads.push_back(q.key + "\\" + q.name + (q.view == RegView::Wow32 ? " (32)" : ""));
  EXPECT_EQ(reads, (std::vector<std::string>{
                       "SOFTWARE\\Korvandt\\Velkaro", "SOFTWARE\\Fennrick2\\VersionNo",
                       "SOFTWARE\\Fennrick2\\VersionNo (32)", "SOFTWARE\\Korvandt\\Lunavex"}));
}

TEST(Sonstiges, MissingValuesAndAKeyOfTheValuesNameGiveEmptyRows) {
  fakes::FakeRegistry registry;
  fakes::FakeView view;
  // A key named like the value is not the value.
  registry.putString(RootKey::CurrentUser, "SOFTWARE\\Korvandt\\Lunavex", "Lunavex", "1.0");
  registry.put(RootKey::CurrentUser, "SOFTWARE\\Korvandt", "Velkaro",
               RegData{regtype::kBinary, "\x01\x02"s});
  Sonstiges::Fill(registry, view);
  for (int field : {11, 12, 13}) EXPECT_EQ(view.text(Text5(field)), "") << field;
}
