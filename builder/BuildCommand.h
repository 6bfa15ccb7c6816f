#pragma once
// The Build button of the main window's Build page: checks the project, shows
// the reminders, runs the build steps in their fixed order (draining the
// message queue and testing the Cancel button before each) and shows the
// result in the status label.
namespace tq {

class TRWInstallForm;

// The Build button's click (the main window's buBuildClick).
void BuildButtonClick(TRWInstallForm& form);
// The status label's dot animation, once a second while a build runs (the main
// window's Timer1Timer).
void BuildingTimerTick(TRWInstallForm& form);
// Makes the two the handlers of buBuild's OnClick and Timer1's OnTimer.
void InstallBuildCommand(TRWInstallForm& form);

// True while a build runs: the Build button is disabled, File > New, Open and
// the recent projects are disabled, and closing the window waits for the end
// of the build.
bool BuildRunning();

// The number of dots the next tick shows: 1 at program start, then 2, 3, 4, 5,
// 0, 1, ...; builds continue the cycle where the last one stopped.
extern int BuildingDotCount;

}  // namespace tq
