#pragma once

#include <memory>

class MainForm;
struct AppContext;

// The program's entry routine: reads the owner and colour settings, loads and
// shows the main window, then offers the tip of the day. Nothing when the
// program ended during the start-up.
std::unique_ptr<MainForm> StartProgram(AppContext& context);
