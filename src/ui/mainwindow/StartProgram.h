#pragma once

#include <memory>

class MainWindow;
struct AppContext;

// The program's entry routine: reads the owner and colour settings, loads and
// shows the main window, then offers the tip of the day. Nothing when the
// program ended during the start-up.
std::unique_ptr<MainWindow> StartProgram(AppContext& context);
