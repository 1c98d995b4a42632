// Every picture of the program, once. The program's code, its resource script, the build (the
// files to draw) and the drawing script walk this table, so a new picture is one new row here
// and its drawing. Only macros: the resource compiler reads this file too.
//
//   ICON(name, resource, file)      an icon drawn at build time
//   BITMAP(name, resource, file)    a bitmap drawn at build time
//   BUTTON(name, resource, file, image, panel, left, top, tooltip)
//                                   a picture button ImageN: its icon, its panel P1(panel), its
//                                   place in twips inside the panel, and its tool tip
#pragma once

// clang-format off
#define VELKARO_PICTURES(ICON, BITMAP, BUTTON)                                                   \
  ICON(Program, 1, "velkaro.ico")                                                              \
  BITMAP(Splash, 100, "splash.bmp")                                                            \
  ICON(CloseNormal, 101, "close_normal.ico")                                                   \
  ICON(CloseHot, 102, "close_hot.ico")                                                         \
  BUTTON(Shutdown, 111, "btn_shutdown.ico", 4, 0, 10200, 120, "Shutdown")                     \
  BUTTON(Restart, 112, "btn_restart.ico", 5, 0, 11160, 120, "Restart")                        \
  BUTTON(Standby, 110, "btn_standby.ico", 3, 0, 10200, 840, "Standbye")                       \
  BUTTON(Logoff, 113, "btn_logoff.ico", 6, 0, 11160, 840, "Logoff")                           \
  BUTTON(Lock, 114, "btn_lock.ico", 7, 0, 10200, 1560, "Windows Lock")                        \
  BUTTON(ControlPanel, 115, "btn_controlpanel.ico", 8, 0, 11160, 1560, "Systempanel")         \
  BUTTON(Update, 116, "btn_update.ico", 9, 0, 10200, 2280, "Windows Update")                  \
  BUTTON(Volume, 117, "btn_volume.ico", 11, 1, 10320, 120, "Lautstärkeregelung")              \
  BUTTON(Recorder, 118, "btn_recorder.ico", 12, 1, 11160, 120, "Sound - Audiorecorder")       \
  BUTTON(Internet, 120, "btn_internet.ico", 14, 2, 10320, 120, "Internetoptionen")            \
  BUTTON(Modem, 119, "btn_modem.ico", 13, 2, 11160, 120, "Modemoptionen")                     \
  BUTTON(Network, 121, "btn_network.ico", 15, 2, 10320, 840, "Netzwerkverbindungen")          \
  BUTTON(Firewall, 122, "btn_firewall.ico", 16, 2, 11160, 840, "Windows Firewall")            \
  BUTTON(System, 123, "btn_system.ico", 19, 3, 10320, 120, "System")                          \
  BUTTON(Memory, 124, "btn_memory.ico", 18, 4, 10800, 240, "Arbeitsspeicher frei geben.")     \
  BUTTON(Report, 125, "btn_report.ico", 17, 8, 10680, 240, "Daten Auswerten")
// clang-format on
