#pragma once

#include <memory>

class MainWindow;
struct AppContext;

// The program's entry routine: reads the owner and colour settings; loads the
// main window (registration, login, settings, program folder made current,
// background, diary file chosen, last page shown) and shows it; then offers
// the tip of the day. Nothing when the program ended during the start-up.
std::unique_ptr<MainWindow> StartProgram(AppContext& context);

// The main window's load, before it is shown. False when the program ended on
// the way (registration refused, login given up, no diary name).
bool LoadMainWindow(AppContext& context, MainWindow& form);
