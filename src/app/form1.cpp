#include "app/form1.h"

#include "app/scope.h"

namespace velkaro {

using namespace ids;

Form1::Form1(View& view) : view_(view) {}

void Form1::setFill(int menuIndex, Action fill) {
  if (menuIndex >= 0 && menuIndex < static_cast<int>(fills_.size()))
    fills_[menuIndex] = std::move(fill);
}

void Form1::setButtonAction(int imageNumber, Action action) {
  buttons_[imageNumber] = std::move(action);
}

void Form1::setLoadAction(Action action) {
  load_ = std::move(action);
}

void Form1::setTimerAction(Action action) {
  tick_ = std::move(action);
}

bool Form1::filling() const {
  for (const bool f : filling_)
    if (f) return true;
  return false;
}

void Form1::afterFills(Action action) {
  if (filling())
    afterFills_.push_back(std::move(action));
  else
    RunContained(action);
}

void Form1::RunAll(std::vector<Action>& actions) {
  // Taken out first: an action may queue new ones.
  std::vector<Action> due;
  due.swap(actions);
  for (const Action& action : due) RunContained(action);
}

bool Form1::DeferredByTick(Action action) {
  if (!ticking_) return false;
  afterTick_.push_back(std::move(action));
  return true;
}

void Form1::addUnloadAction(Action action) {
  unload_.push_back(std::move(action));
}

void Form1::leer() {
  view_.setVisible(kImage2, false);
  view_.setVisible(kImage1, true);
  for (const auto& m : kMenu) view_.setForeColor(Label(m.label), colors::kMenuIdle);
}

void Form1::leer2() {
  for (int p = 0; p < kPanelCount; ++p) view_.setVisible(P1(p), false);
}

void Form1::Form_Load() {
  RunContained(load_);
  Label2_Click();
  view_.addItem(kCombo1, kTextFileChoice);
}

void Form1::Form_Unload() {
  for (const Action& action : unload_) RunContained(action);
  view_.endProgram();
}

void Form1::Form_MouseMove() {
  leer();
}

void Form1::Image10_MouseMove() {
  leer();
}

void Form1::Image10_MouseDown(int button, int /*shift*/, float /*x*/, float /*y*/) {
  if (button == kLeftButton) view_.beginWindowDrag();
}

void Form1::Image1_MouseMove() {
  view_.setVisible(kImage1, false);
  view_.setVisible(kImage2, true);
}

void Form1::Image2_Click() {
  view_.endProgram();
}

void Form1::LabelN_MouseMove(int labelNumber) {
  leer();
  view_.setForeColor(Label(labelNumber), colors::kMenuHot);
}

void Form1::ImageN_Click(int imageNumber) {
  const auto it = buttons_.find(imageNumber);
  if (it != buttons_.end()) RunContained(it->second);
}

void Form1::Timer1_Timer() {
  // The tick processes window events: the clicks it lets in run after it, so that the status
  // line never stands still for a fill or a report.
  if (ticking_) return RunContained(tick_);
  {
    ScopedFlag ticking(ticking_);
    RunContained(tick_);
  }
  RunAll(afterTick_);
}

void Form1::MenuLabel_Click(int menuIndex) {
  leer2();
  view_.setVisible(P1(kMenu[menuIndex].panel), true);
  // A fill that waits for a service processes window events, so another click can come in
  // meanwhile. A click on the label whose fill is running only shows its panel: the running
  // fill completes the fields, and no panel is filled twice at once.
  if (filling_[menuIndex]) return;
  {
    ScopedFlag filling(filling_[menuIndex]);
    RunContained(fills_[menuIndex]);
  }
  if (!filling()) RunAll(afterFills_);
}

void Form1::RunContained(const Action& action) {
  if (action) Contained(action);
}

void Form1::OnClick(int id) {
  if (DeferredByTick([this, id] { OnClick(id); })) return;
  for (int i = 0; i < kPanelCount; ++i) {
    if (id == Label(kMenu[i].label)) return MenuLabel_Click(i);
  }
  if (id == kImage2) return Image2_Click();
  if (IsButton(id)) ImageN_Click(id - Image(0));
}

void Form1::OnMouseMove(int id) {
  if (id == kForm) return Form_MouseMove();
  if (id == kImage10) return Image10_MouseMove();
  if (id == kImage1) return Image1_MouseMove();
  for (const auto& m : kMenu) {
    if (id == Label(m.label)) return LabelN_MouseMove(m.label);
  }
}

bool Form1::HandlesMouse(int id) {
  if (id == kImage1 || id == kImage2 || id == kImage10) return true;
  for (const auto& m : kMenu)
    if (id == Label(m.label)) return true;
  return IsButton(id);
}

void Form1::OnMouseDown(int id, int button, int shift, float x, float y) {
  if (DeferredByTick([=] { OnMouseDown(id, button, shift, x, y); })) return;
  if (id == kImage10) Image10_MouseDown(button, shift, x, y);
}

}  // namespace velkaro
