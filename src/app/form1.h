// Behaviour of the main window Form1: panel switching, hover highlighting, the close button,
// window dragging and the dispatch from menu labels and buttons to the actions behind them.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <vector>

#include "app/view.h"

namespace velkaro {

class Form1 {
 public:
  using Action = std::function<void()>;

  explicit Form1(View& view);

  // The fill run after a menu label's panel is shown (menu position 0 = "Windows" .. 8 = "Menu").
  // A click while that label's fill is still running shows the panel and starts no second fill.
  void setFill(int menuIndex, Action fill);
  // The click action of a picture button ImageN.
  void setButtonAction(int imageNumber, Action action);
  // Runs once when the window loads, before the "Windows" menu action.
  void setLoadAction(Action action);
  // Runs on every tick of the window's 250 ms timer.
  void setTimerAction(Action action);
  // Runs when the window unloads because the program must end at once (see Form_Unload); each
  // such action drops what it has half done.
  void addUnloadAction(Action action);

  // Whether a fill is running (waiting for a service, another one may run inside it).
  bool filling() const;
  // Runs the action once no fill is running: at once when none is, else when the last one ends.
  void afterFills(Action action);

  // Public operations.
  void leer();   // clears the hover state
  void leer2();  // hides the nine panels

  // Event handlers.
  void Form_Load();
  // The Windows session ends (log off, shut down): Windows may end the process as soon as this
  // returns, so the unload actions run now, then the program ends.
  void Form_Unload();
  void Form_MouseMove();
  void Image10_MouseMove();
  void Image10_MouseDown(int button, int shift, float x, float y);
  void Image1_MouseMove();
  void Image2_Click();
  // The click on the menu label of position menuIndex (Label2 .. Label10): its panel comes up
  // and its fill runs.
  void MenuLabel_Click(int menuIndex);
  void Label2_Click() { MenuLabel_Click(0); }
  void Label3_Click() { MenuLabel_Click(1); }
  void Label4_Click() { MenuLabel_Click(2); }
  void Label5_Click() { MenuLabel_Click(3); }
  void Label6_Click() { MenuLabel_Click(4); }
  void Label7_Click() { MenuLabel_Click(5); }
  void Label8_Click() { MenuLabel_Click(6); }
  void Label9_Click() { MenuLabel_Click(7); }
  void Label10_Click() { MenuLabel_Click(8); }
  void LabelN_MouseMove(int labelNumber);
  void ImageN_Click(int imageNumber);
  void Timer1_Timer();

  // Window events by control ID, as the real window delivers them.
  void OnClick(int id);
  void OnMouseMove(int id);
  void OnMouseDown(int id, int button, int shift, float x, float y);

  // Whether a control has mouse actions (the others let the mouse pass to what lies beneath).
  static bool HandlesMouse(int id);

  static constexpr int kLeftButton = 1;

 private:
  void RunContained(const Action& action);
  // Whether a click or press taken now must wait for the running tick: then it is queued.
  bool DeferredByTick(Action action);
  void RunAll(std::vector<Action>& actions);

  View& view_;
  std::array<Action, 9> fills_;
  std::array<bool, 9> filling_{};  // the fills under way (one may wait inside another)
  std::map<int, Action> buttons_;
  Action load_;
  Action tick_;
  bool ticking_ = false;
  std::vector<Action> afterTick_;   // clicks the tick let in, to run after it
  std::vector<Action> afterFills_;  // actions that wait for the running fills
  std::vector<Action> unload_;
};

}  // namespace velkaro
