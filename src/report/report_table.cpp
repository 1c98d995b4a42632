#include "report/report_table.h"

#include "app/fields.h"
#include "app/layout.h"

namespace velkaro::Report {

const std::vector<Section>& Sections() {
  // One section for each category of the menu, in its order, with the box of the same number;
  // its lines are its panel's value fields.
  static const std::vector<Section> sections = [] {
    std::vector<Section> all;
    for (int menu = 0; menu < 8; ++menu) {
      Section section{
          menu + 1, menu, std::string("###### ") + kMenu[menu].caption + " ######", true, {}};
      for (const FieldRow& row : FieldsOf(kMenu[menu].panel)) {
        section.lines.push_back({row.reportCaption, row.tabs, row.field});
        section.drives = false;
      }
      all.push_back(std::move(section));
    }
    return all;
  }();
  return sections;
}

}  // namespace velkaro::Report
