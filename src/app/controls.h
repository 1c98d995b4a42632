// Control IDs of the main window: one stable number per control, so that the window, the
// portable controller and the tests address the same control. Control arrays map their index
// onto a block of numbers.
#pragma once

namespace velkaro::ids {

constexpr int kForm = 0;  // the main window itself (its bare background)

// Single controls, by their number: Label1 .. Label13, Image1 .. Image19, Check1 .. Check8.
constexpr int Label(int n) {
  return 100 + n;
}
constexpr int Image(int n) {
  return 200 + n;
}
constexpr int Check(int n) {
  return 300 + n;
}
constexpr int kCombo1 = 401;
constexpr int kFrame1 = 501;
constexpr int kFrame2 = 502;
constexpr int kProgressBar1 = 601;
constexpr int kUhrdate = 701;

// Control arrays, by index: Text1(0..58), Text5(0..13), Label11(0..75), P1(0..8), List1(0..8).
constexpr int Text1(int j) {
  return 1000 + j;
}
constexpr int Text5(int j) {
  return 1100 + j;
}
constexpr int Label11(int i) {
  return 1200 + i;
}
constexpr int P1(int i) {
  return 1300 + i;
}
constexpr int List1(int i) {
  return 1400 + i;
}

constexpr int kText1Count = 59;
constexpr int kText5Count = 14;
constexpr int kPanelCount = 9;
constexpr int kListCount = 9;

// Named controls that the program's code refers to.
constexpr int kLabel1 = Label(1);
constexpr int kImage1 = Image(1);    // close button, normal look
constexpr int kImage2 = Image(2);    // close button, highlighted look
constexpr int kImage10 = Image(10);  // drag strip
constexpr int kImage17 = Image(17);  // report button
constexpr int kLabel12 = Label(12);
constexpr int kLabel13 = Label(13);

}  // namespace velkaro::ids
