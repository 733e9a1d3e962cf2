// What the demonstration programs share: Qt on the real display (or
// offscreen), the Qt backend with the application on it, and the loop they
// wait in while the end-to-end scripts photograph them.
//
// Typical use:
//   TDemoDesktop Desktop("my_demo");
//   if (!Desktop.OpenDisplay(argv[0], true))
//       return 1;
//   Desktop.Start();
//   ... build and show the forms ...
//   if (Desktop.WaitUntilShown({Form->Handle()})) {
//       Announce();
//       Desktop.RunUntilFile(Dir + "/quit", 120000);
//   }
//   // The destructor ends the application, the window system and Qt.
#pragma once

#include "platform/qt/QtBackend.h"
#include "platform/win/Windows.h"

#include <QGuiApplication>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TDemoDesktop {
public:
    // Name: the program's name, put before its messages and told to the
    // backend as the one waiting.
    explicit TDemoDesktop(std::string Name);
    ~TDemoDesktop();
    TDemoDesktop(const TDemoDesktop&) = delete;
    TDemoDesktop& operator=(const TDemoDesktop&) = delete;

    // Qt on the display the platform layer finds, with this thread as the
    // user-interface thread. False, with the reason on stderr, when there is
    // no display, or, with NeedsX, when it is not an X display (the scripts
    // read the windows back from the X server).
    bool OpenDisplay(char* Program, bool NeedsX = false);
    // Qt drawing offscreen, for a demo that writes pictures to files.
    void OpenOffscreen(char* Program);

    // The Qt backend as the window system, and the application on it.
    void Start();
    // Ends the application, then (AfterApplication, for what must outlive
    // the forms) the window system. The destructor does it when not done.
    void Close(const std::function<void()>& AfterApplication = {});

    TQtBackend& Backend() { return *FBackend; }

    // One round of the loop: the queued messages, the paints presented, then
    // Qt's events until the tick count Until.
    void Step(std::uint32_t Until);
    // Rounds of Interval milliseconds each.
    void Pump(int Rounds, std::uint32_t Interval = 25);
    // Steps until every one of Windows is exposed on the screen, then
    // SettleRounds rounds of 50 ms so that late paints are presented too.
    // False when they are not shown within 30 seconds.
    bool WaitUntilShown(const std::vector<HWND>& Windows, int SettleRounds = 5);
    // Steps in rounds of Interval milliseconds while Going answers true; it
    // is asked before each round.
    void RunWhile(const std::function<bool()>& Going, std::uint32_t Interval = 100);
    // Steps until File exists (true), or GiveUp milliseconds have passed or
    // the file Abort (when named) exists (false).
    bool RunUntilFile(const std::string& File, std::uint32_t GiveUp, std::uint32_t Interval = 100,
                      const std::string& Abort = "");

private:
    std::string FName;
    int FArgc = 1;
    char* FArgv[2] = {nullptr, nullptr};
    std::unique_ptr<QGuiApplication> FQt;
    std::unique_ptr<TQtBackend> FBackend;
};

// True once the tick count has reached Deadline (wrap-around safe).
bool TickPassed(std::uint32_t Deadline);

// Tells the photographing script where the demo is ("ready" when the screen
// can be photographed): Line on stdout, at once.
void Announce(const std::string& Line = "ready");
