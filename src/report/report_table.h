// The report's sections as data: which check box chooses a section, which menu action fills
// it, its header and its lines (caption, TAB count, value field). The writer walks this table;
// it is made from the menu and the table of value fields.
#pragma once

#include <string>
#include <vector>

namespace velkaro::Report {

inline constexpr const char* kReportPath = "c:\\SystemInfo.txt";

// One field line: the caption, that many TABs, the current text of the value field.
struct FieldLine {
  const char* caption;
  int tabs;
  int field;  // control ID of a Text1 or Text5 field
};

struct Section {
  int check;  // CheckN that chooses the section
  int menu;   // the menu entry whose click brings the panel up and fills it
  std::string header;
  bool drives;  // the lines are the drive line table, not field lines
  std::vector<FieldLine> lines;
};

// The eight sections in the order they are written (the menu order).
const std::vector<Section>& Sections();

}  // namespace velkaro::Report
